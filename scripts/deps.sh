#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and test, when missing.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
          libgl-dev libquazip1-qt6-dev libsqlite3-dev libcurl4-openssl-dev fonts-dejavu-core fonts-liberation2
          poppler-utils ccache dpkg-dev fakeroot desktop-file-utils qt6-translations-l10n
          lintian libqt6sql6-psql libpq-dev postgresql postgresql-common)
if [ "${1:-}" = "--display" ]; then
    packages+=(xvfb xauth)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Eksik paketler kuruluyor: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! $sudo apt-get install -y --no-install-recommends "${missing[@]}"; then
    $sudo apt-get update
    $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
