#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/ and runs each one: first over its
# seeds (tests/data/fuzz/<name>/ and the test pages that suit it), then for SECONDS
# seconds (default 10) of new inputs. New inputs that widen coverage stay in
# build-fuzz/corpus/<name>/.
#   scripts/fuzz.sh            # replay and 10 s each (CI)
#   scripts/fuzz.sh 600        # a long run by hand
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
# The fuzz targets build the core library: the program's own packages, and clang.
./scripts/install-deps.sh run fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DKAVUNO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)"
# The seeds of a target: its own folder, and the pages the other tests already keep.
seeds_of() {
  local own=tests/data/fuzz/$1
  [ -d "$own" ] && echo "$own"
  case $1 in
    pagereader) echo tests/data/pages/built tests/data/editor examples/editor ;;
    quiz|title|postplace|looklinks) echo tests/data/pages/built examples/editor ;;
    interpreter) echo tests/data/fuzz/commandline ;;
  esac
}
status=0
for target in build-fuzz/tests/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target"); name=${name#fuzz_}
  corpus=build-fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=$(seeds_of "$name")
  echo "== $name: $seconds s"
  if ! ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen \
      "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
      -artifact_prefix=build-fuzz/ "$corpus" $seeds 2>build-fuzz/$name.log; then
    tail -40 build-fuzz/$name.log
    status=1
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" build-fuzz/$name.log | tr '\n' ' '; echo
  fi
done
exit $status
