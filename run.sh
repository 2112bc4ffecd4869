#!/usr/bin/env bash
# Installs what building and running the program need and is missing, builds, and
# starts the program on the data root beside it. When that data root does not exist
# yet, it is made from the sample web text of examples/.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target kavuno
data_root=build/kavuno_data
if [ ! -e "$data_root" ]; then
  cp -r examples "$data_root"
fi
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
exec build/kavuno "$@"
