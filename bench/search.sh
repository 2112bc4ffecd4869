#!/usr/bin/env bash
# Full-text search over a tree of 10,000 pages against grep -rlF of the same
# word over the same files. Prints "name ours baseline ratio" (medians, ms):
#   search_listing   the window's listing (walk, titles, sort) of the tree
#   search_first     the listing and then the first full-text search
#   search_repeat    the same search again (page texts kept, each stamp checked)
#   search_uncached  a search that reads every page itself
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
