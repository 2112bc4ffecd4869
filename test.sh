#!/usr/bin/env bash
# Installs what building the program and running its tests need and is missing, builds,
# and runs every test with CTest.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh run test
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
cd build
ctest --output-on-failure -j"$jobs" "$@"
