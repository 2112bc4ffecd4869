#!/usr/bin/env bash
# Large pictures against the browser's memory: the renderer's peak memory (KB)
# on pages of 20000 x 20000 pictures (small files) and on an SVG of nested
# <use> elements, shown as the program shows them (its bounds) against a bare
# browser view, and in a bare view given only the browser's decoding bound. A bare run of three PNGs takes many GB for a while: run this on
# a machine with room. Not part of the tests, nor of bench/run.sh.
#   bench/pictures.sh              every file once each way
#   SVG_DEPTH=5 bench/pictures.sh  a lighter SVG (10^depth rectangles; 6 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target picturememory bench_makepictures >/dev/null
bin=build/bench

work=$(mktemp -d /tmp/kavuno-pictures.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$bin/bench_makepictures" "$work" "${SVG_DEPTH:-6}"

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"

# The renderer's peak (KB), whether it died, and the pictures as the page saw them.
run() { "$bin/picturememory" "$work/$1" "$2" 2>/dev/null || echo "0 1 -"; }
# "decoding bound only": a bare view given only the browser's flag, as a web page's pictures are.
printf "%-12s %12s %12s %7s %12s %7s  %s\n" "peak (KB)" "bounded" "bare" "ratio" "flag only" "ratio" \
  "pictures: bounded / bare / flag only (died:sizes)"
for file in three.html one.html jpeg.html gif.html nested.svg; do
  read -r ours ours_died ours_pictures < <(run "$file" bounded)
  read -r bare bare_died bare_pictures < <(run "$file" bare)
  read -r flag flag_died flag_pictures < <(run "$file" flag)
  awk -v name="$file" -v a="$ours" -v b="$bare" -v f="$flag" \
    -v p="${ours_died}:${ours_pictures:-} / ${bare_died}:${bare_pictures:-} / ${flag_died}:${flag_pictures:-}" \
    'BEGIN { printf "%-12s %12d %12d %6.2fx %12d %6.2fx  %s\n", name, a, b, (b > 0 ? a / b : 0), f, (b > 0 ? f / b : 0), p }'
done
