#!/usr/bin/env bash
# Reading a page's tags as a browser does (posts, keyword links, renames and the
# editor read pages so): the time and peak memory of one read against the page's
# size, for pages that make an HTML5 tree builder copy or nest without end, and
# an ordinary 1 MB page as the baseline of the same run ("x ordinary": time per
# byte against it). Each page is read in a process of its own, stopped after
# BENCH_SECONDS (60) or BENCH_MEMORY_MB (8192). Not part of the tests.
#   bench/markup.sh                  every page
#   bench/markup.sh font-20000       the ordinary page and those named
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target bench_markup >/dev/null
build/bench/bench_markup "$@"
