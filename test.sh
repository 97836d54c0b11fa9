#!/usr/bin/env bash
# Builds the program and its tests and runs every test (no display needed).
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build build -j"$(nproc)"
cd build
ctest --output-on-failure -j1
