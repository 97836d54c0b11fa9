#!/usr/bin/env bash
# Makes the Debian package from a build folder into a temporary folder and checks it: the
# executable, the menu entry, the icon and every help topic in their places, the menu entry
# valid and pointing at the installed executable and icon, the SQLite driver among the
# dependencies. Usage: check_package.sh BUILD_FOLDER SOURCE_FOLDER
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
echo "package ok: $(basename "$deb"), $(wc -l <<<"$files") entries"
