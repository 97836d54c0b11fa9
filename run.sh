#!/usr/bin/env bash
# Builds the program, installs it into ./program (outside build/, kept between builds) and
# starts it. The data folder program/AnaData is created on the first start and never touched
# by a rebuild.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh --display
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build --target lumkar -j"$(nproc)"
cmake --install build --prefix "$PWD/program" >/dev/null
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Ekran bulunamadı; program sanal ekranda başlatılıyor: xvfb-run -a program/lumkar"
    exec xvfb-run -a -s "-screen 0 1600x1000x24" program/lumkar
fi
exec program/lumkar
