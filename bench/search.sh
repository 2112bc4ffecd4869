#!/usr/bin/env bash
# The search window over trees of 10,000 and 50,000 pages (folders of 100
# pages, one page in 100 holding the word) against `grep -rlF` of the same word
# over the same tree, in the same run. Prints "figure ours grep ratio target":
#   window, first search     the program's file menu "検索" to the first hit of
#                            a "全文検索" shown: the listing, then the search
#   window, repeated search  "１つ前", then "全文検索" again, to its hits shown
#   core, ...                the same work without the window (medians, ms):
#                            listing, first search, repeated, uncached
#   bench/search.sh            10,000 and 50,000 pages
#   bench/search.sh --quick    10,000 pages, fewer runs
#   bench/search.sh --sizes 10000   the sizes given (SEARCH_SIZES="10000" as well)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here/.."
build="${BUILD_DIR:-$here/../build}"
sizes=(${SEARCH_SIZES:-10000 50000})
runs=${RUNS:-5}
if [ "${1:-}" = "--quick" ]; then
  sizes=(10000)
  runs=${RUNS:-3}
elif [ "${1:-}" = "--sizes" ] && [ -n "${2:-}" ]; then
  IFS=, read -r -a sizes <<<"$2"
fi
cmake --build "$build" --target bench_search bench_makeroot kavunorun >/dev/null
bin="$build/bench"

work="$(mktemp -d /tmp/kavuno-search.XXXXXX)"
cleanup() {
  rm -f "$bin/kavunorun_data"
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# name ours grep [ratio] [target]: the ratio is ours / grep unless given.
line() { awk -v name="$1" -v a="$2" -v b="$3" -v r="${4:-}" -v t="${5:-}" 'BEGIN { if (r == "") r = (b > 0 ? a / b : 0); printf "%-52s %10.1f %10.1f %7.2fx %7s\n", name, a, b, r, t }'; }

"$bin/bench_makeroot" "$work/home" 10 own
# -T: a folder of that name (the program made one when the link was missing) is an error, not a place for the link.
ln -sfnT "$work/home" "$bin/kavunorun_data"
word=photosynthesis
printf "%-52s %10s %10s %8s %7s\n" "figure (ms)" "ours" "grep" "ratio" "target"
for n in "${sizes[@]}"; do
  # In the data root: the program enters no folder out of it.
  tree="$work/home/tree$n"
  "$bin/bench_search" make "$tree" "$n"
  grep -rlF warm "$tree" >/dev/null || true
  : >"$work/window"
  for _ in $(seq "$runs"); do
    BENCH_MODE=search BENCH_FOLDER="$tree" BENCH_WORD="$word" BENCH_T0=0 "$bin/kavunorun" 2>/dev/null >>"$work/window"
  done
  # Ratios are taken run by run (each against its own grep), then the median.
  first=$(awk '{ print $1 * 1000 }' "$work/window" | median)
  grep1=$(awk '{ print $2 * 1000 }' "$work/window" | median)
  rep=$(awk '{ print $3 * 1000 }' "$work/window" | median)
  grep2=$(awk '{ print $4 * 1000 }' "$work/window" | median)
  r1=$(awk '{ print $1 / $2 }' "$work/window" | median)
  r2=$(awk '{ print $3 / $4 }' "$work/window" | median)
  hits=$(awk '{ print $5 }' "$work/window" | median)
  echo "# $n pages: $hits hits; window figures are medians of $runs runs; ratios the median of each run's own"
  line "window, first search, $n pages" "$first" "$grep1" "$r1" 1.5x
  line "window, repeated search, $n pages" "$rep" "$grep2" "$r2" 0.5x
  "$bin/bench_search" run "$tree" "$word" "$runs" | grep -v '^#' | while read -r name a b _; do
    line "core, ${name#search_}, $n pages" "$a" "$b"
  done
  rm -rf "$tree"
done
