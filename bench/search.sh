#!/usr/bin/env bash
# Full-text search over a tree of 10,000 pages against grep -rlF of the same
# word over the same files. Prints "name ours baseline ratio" (medians, ms).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${BUILD_DIR:-$here/../build}"
bin="$build/bench/bench_search"
[ -x "$bin" ] || cmake --build "$build" --target bench_search >/dev/null
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
"$bin" make "$tree" 10000
# Warm the file cache once for both sides.
grep -rlF warm "$tree" >/dev/null || true
for word in 光合成 photosynthesis; do
  "$bin" run "$tree" "$word" "${RUNS:-7}"
done
