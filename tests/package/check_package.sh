#!/usr/bin/env bash
# Makes the Debian package from a build folder into a temporary folder and checks it: the
# executable, the menu entry, the icon and every help topic in their places, the menu entry
# valid and pointing at the installed executable and icon, the SQLite driver among the
# dependencies, the changelog naming the package's version, the Turkish manual page telling
# where the data lives, and Debian's own checks (lintian) without an error or a warning other
# than the accepted ones below. Usage: check_package.sh BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail
build="$1"
source="$2"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) \
    || { cat "$out/cpack.log" >&2; fail "cpack could not make the package"; }
debs=("$out"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, found: ${debs[*]}"
deb="${debs[0]}"

listing="$(dpkg-deb -c "$deb")"
files="$(awk '{print $6}' <<<"$listing")"
has() { grep -qxF "$1" <<<"$files" || fail "the package lacks $1"; }
has ./usr/bin/lumkar
has ./usr/share/applications/lumkar-dorvalen.desktop
has ./usr/share/icons/hicolor/scalable/apps/lumkar-dorvalen.svg
topics=0
for topic in "$source"/help/*; do
    has "./usr/share/lumkar-dorvalen/help/$(basename "$topic")"
    topics=$((topics + 1))
done
[ "$topics" -eq 8 ] || fail "expected the eight help topics in help/, found $topics"
# Nothing of the portable copy (executable or topics at the top) leaks into the package.
if grep -qE '^\./(lumkar|y[a-z]+)$' <<<"$files"; then fail "portable files in the package"; fi
grep -qE '^-rwxr-xr-x .* \./usr/bin/lumkar$' <<<"$listing" || fail "usr/bin/lumkar not executable"

dpkg-deb -x "$deb" "$out/root"
entry="$out/root/usr/share/applications/lumkar-dorvalen.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate refused the menu entry"
grep -qx 'Exec=lumkar' "$entry" || fail "the menu entry does not start /usr/bin/lumkar"
grep -qx 'Icon=lumkar-dorvalen' "$entry" || fail "the menu entry names another icon"
grep -qx 'Categories=Office;' "$entry" || fail "the menu entry is not in Office"
grep -q '^Comment\[tr\]=.' "$entry" || fail "the menu entry has no Turkish comment"
head -c 200 "$out/root/usr/share/icons/hicolor/scalable/apps/lumkar-dorvalen.svg" \
    | grep -q '<svg' || fail "the icon is not an SVG"
cmp -s "$source/help/ygiris" "$out/root/usr/share/lumkar-dorvalen/help/ygiris" \
    || fail "the packaged help topic differs from help/ygiris"

depends="$(dpkg-deb -f "$deb" Depends)"
grep -q 'libqt6sql6-sqlite' <<<"$depends" || fail "Depends lacks the SQLite driver: $depends"
grep -q 'libquazip1-qt6' <<<"$depends" || fail "Depends lacks QuaZip: $depends"
[ "$(dpkg-deb -f "$deb" Package)" = lumkar-dorvalen ] || fail "wrong package name"

# The packaging's changelog speaks of the version being packaged.
version="$(dpkg-deb -f "$deb" Version)"
doc="$out/root/usr/share/doc/lumkar-dorvalen"
logged="$(gzip -dc "$doc/changelog.Debian.gz" | head -n 1)"
[[ "$logged" == "lumkar-dorvalen ($version) "* ]] \
    || fail "the changelog's first entry is not version $version: $logged"

# The manual page, as man shows it, tells where the program keeps its data and settings.
page="$out/root/usr/share/man/tr/man1/lumkar.1.gz"
[ -f "$page" ] || fail "the package lacks the Turkish manual page"
shown="$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>&1 | col -bx | tr -s "[:blank:]" " ")"
for fact in "~/.local/share/Lumkar Dorvalen/" AnaData/Tovaskel.mdb Ayar.ini ayarrand.ayr \
            Yedekler.dan /usr/share/lumkar-dorvalen/help; do
    grep -qF -- "$fact" <<<"$shown" || fail "the manual page does not mention $fact"
done

# Debian's checks. Warnings that stay, and why:
#   initial-upload-closes-no-bugs  the package is not uploaded to Debian, no bug to close;
#   no-english-manual-page         the program and its users speak Turkish only.
accepted=(initial-upload-closes-no-bugs no-english-manual-page)
command -v lintian >/dev/null || fail "lintian is not installed (scripts/deps.sh installs it)"
report="$(lintian --fail-on none "$deb" 2>"$out/lintian.err")" \
    || { cat "$out/lintian.err" >&2; fail "lintian could not check the package"; }
refused=()
while read -r severity _ tag _; do
    case "$severity" in
    E:) refused+=("$tag") ;;
    W:) [[ " ${accepted[*]} " == *" $tag "* ]] || refused+=("$tag") ;;
    esac
done <<<"$report"
[ ${#refused[@]} -eq 0 ] || { echo "$report" >&2; fail "lintian: ${refused[*]}"; }

echo "package ok: $(basename "$deb"), $(wc -l <<<"$files") entries"
