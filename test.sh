#!/usr/bin/env bash
# Builds the program and its tests and runs every test (no display needed), on the embedded
# database file and on a PostgreSQL server; then builds the tests once more with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-asan and runs them there too, so that
# a read past an end or undefined behaviour fails the run.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
jobs="$(nproc)"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON "${launcher[@]}" \
    >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j1)

# Every test program that touches the database once more on a PostgreSQL server: a throwaway
# cluster made for the run and dropped after it (postgresql-common's pg_virtualenv sets PGHOST,
# PGPORT, PGUSER and PGPASSWORD; each test gets a database of its own). The cluster lives in a
# temporary folder, so that a cluster of another run on the same machine is never in the way.
(cd build && pg_virtualenv -t -- env LUMKAR_TEST_ENGINE=postgresql \
    ctest --output-on-failure -j1 -E '^(fuzz|package)$')

# The sanitizers stop a test at their first report (the options are set per test in
# tests/CMakeLists.txt); leak reports are off there, Qt keeps its caches until exit.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DLUMKAR_SANITIZE=ON \
    "${launcher[@]}" >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest --output-on-failure -j1)
