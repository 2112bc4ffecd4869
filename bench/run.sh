#!/usr/bin/env bash
# Speed at scale, against baselines measured in the same run: start-up and peak
# memory against a bare browser view that loads the same first page, DIR and
# NEXT in a large folder against a folder of 10, the poll's CPU, and reading a
# level's titles against `head -c 4096` of the same files, and a reorder of a
# small folder in a large data root against `grep -rlF` of a moved name. Each pair runs
# interleaved, RUNS times (5); every line gives the medians, and the start's
# ratio is the median of each run's own. Then, on a network share (sshfs over
# loopback, as the crash tests mount it), what a user waits while pages of a
# folder of 1,000 pages are reordered inside data roots of 10,000 and 50,000
# pages, against `grep -rlF` of a moved name over the share: a reorder through
# the order dialog (from the menu row to the moved page on screen, and until
# the whole root is rewritten), a second reorder asked for while the first
# rewrites the root, the window closed during that rewrite, and the
# half-renamed folder opened at the next start. "Longest input wait" is the
# longest any pointer step sent through the X server (XTest) waited for the
# window to take it and paint its answer (bench/inputprobe.h), until the work
# was done. Not part of the tests.
#   bench/run.sh           10, 1,000, 10,000 and 50,000 pages
#   bench/run.sh --quick   1,000 pages only (under 2 minutes), no share
#   bench/run.sh --sizes 10,10000   the sizes given (the share: those of 2,000 and more)
#   bench/run.sh --share 10000      the share only, at the sizes given
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=(10 1000 10000 50000)
share_only=""
if [ "${1:-}" = "--quick" ]; then
  sizes=(1000)
elif [ "${1:-}" = "--sizes" ] && [ -n "${2:-}" ]; then
  IFS=, read -r -a sizes <<<"$2"
elif [ "${1:-}" = "--share" ]; then
  share_only=1
  sizes=(10000 50000)
  if [ -n "${2:-}" ]; then IFS=, read -r -a sizes <<<"$2"; fi
fi
runs=${RUNS:-5}

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target kavunorun bareview bench_makeroot bench_titles bench_rename >/dev/null
bin=build/bench

work=$(mktemp -d /tmp/kavuno-bench.XXXXXX)
xvfb_pid=""
share_pid=""
cleanup() {
  rm -f "$bin/kavunorun_data"
  if mountpoint -q "$work/share" 2>/dev/null; then fusermount3 -u "$work/share" || true; fi
  if [ -n "$share_pid" ]; then wait "$share_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# One X server of our own for every run.
if [ -z "${DISPLAY:-}" ]; then
  display=90
  while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
  Xvfb ":${display}" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":${display}"
  sleep 1
fi
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi

# Serves a folder through an sftp-server of our own on a loopback port and
# mounts it with sshfs, as the crash tests do (no ssh server, no key):
# mount_share EXPORTED MOUNTPOINT; share_problem says why it does not stand.
share_problem=""
mount_share() {
  if ! command -v sshfs >/dev/null || [ ! -x /usr/lib/openssh/sftp-server ] || ! command -v python3 >/dev/null; then
    share_problem="sshfs, sftp-server (openssh-sftp-server) or python3 is not installed"; return
  fi
  if [ ! -w /dev/fuse ]; then share_problem="FUSE is not available here (/dev/fuse)"; return; fi
  mkdir -p "$2"
  python3 - "$1" "$2" >/dev/null 2>&1 <<'PY' &
import socket, subprocess, sys
exported, mount = sys.argv[1], sys.argv[2]
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(1)
sshfs = subprocess.Popen(["sshfs", "-f", "-o", "directport=%d" % listener.getsockname()[1],
                          "127.0.0.1:" + exported, mount])
connection, _ = listener.accept()
listener.close()
# As an ssh connection would be: no wait for delayed acknowledgements.
connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
server = subprocess.Popen(["/usr/lib/openssh/sftp-server"], stdin=connection.fileno(), stdout=connection.fileno())
connection.close()
sshfs.wait()
server.terminate()
PY
  share_pid=$!
  for _ in $(seq 100); do
    mountpoint -q "$2" && return
    sleep 0.1
  done
  share_problem="the sshfs mount failed"
}

# A folder of 1,000 pages in a data root of n pages on the share.
share_reorder() {
  local exported="$work/exported"
  mkdir -p "$exported"
  mount_share "$exported" "$work/share"
  if [ -n "$share_problem" ]; then echo "network share: skipped: $share_problem"; return; fi
  for n in "${sizes[@]}"; do
    [ "$n" -ge 2000 ] || continue
    rm -rf "${exported:?}"/*
    "$bin/bench_makeroot" "$exported/folder" 1000 own
    "$bin/bench_makeroot" "$exported/rest" $((n - 1000)) own
    : >"$work/share.grep"
    for _ in $(seq "$runs"); do
      t0=$(now); grep -rlF 100010_page1.html "$work/share" >/dev/null 2>&1 || true; t1=$(now)
      awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f\n", (b - a) / 1e9 }' >>"$work/share.grep"
    done
    out=$(RUNS=$runs run_ours "$work/share" reorder "$work/share/folder")
    base=$(median <"$work/share.grep")
    line "reorder on a share, $n pages, to the page shown (s)" "$(echo "$out" | cut -d' ' -f1)" "$base"
    line "reorder on a share, $n pages, longest input wait (s)" "$(echo "$out" | cut -d' ' -f2)" "$base"
    line "reorder on a share, $n pages, whole root rewritten (s)" "$(echo "$out" | cut -d' ' -f3)" "$base"
    out=$(RUNS=$runs run_ours "$work/share" second "$work/share/folder")
    line "second reorder during the rewrite, $n, its page shown (s)" "$(echo "$out" | cut -d' ' -f1)" "$base"
    line "second reorder during the rewrite, $n, longest wait (s)" "$(echo "$out" | cut -d' ' -f2)" "$base"
    echo "  (the second reorder came during the first one's rewrite in $(echo "$out" | cut -d' ' -f3) of $runs runs)"
    # Each close leaves the rewrite to the next start, which opens the folder at once.
    : >"$work/close"; : >"$work/reopen"
    for _ in $(seq "$runs"); do
      run_ours "$work/share" close "$work/share/folder" >>"$work/close"
      run_ours "$work/share" reopen "$work/share/folder" >>"$work/reopen"
    done
    line "close during the rewrite, $n pages, window gone (s)" "$(cut -d' ' -f1 "$work/close" | median)" "$base"
    line "close during the rewrite, $n pages, longest wait (s)" "$(cut -d' ' -f2 "$work/close" | median)" "$base"
    echo "  (the close came during the rewrite in $(awk '{ s += $3 } END { print s + 0 }' "$work/close") of $runs runs)"
    line "half-renamed folder opened at start, $n, page shown (s)" "$(cut -d' ' -f1 "$work/reopen" | median)" "$base"
    line "half-renamed folder opened at start, $n, longest wait (s)" "$(cut -d' ' -f2 "$work/reopen" | median)" "$base"
    line "half-renamed folder opened at start, $n, finished (s)" "$(cut -d' ' -f3 "$work/reopen" | median)" "$base"
    echo "  (a record was left there in $(awk '{ s += $4 } END { print s + 0 }' "$work/reopen") of $runs runs)"
  done
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# name, ours, baseline[, ratio]: the ratio given, else ours over baseline.
line() { awk -v name="$1" -v a="$2" -v b="$3" -v r="${4:-}" 'BEGIN { if (r == "") r = (b > 0 ? a / b : 0); printf "%-54s %12.4f %12.4f %7.2fx\n", name, a, b, r }'; }
now() { date +%s%N; }

# The median of each run's own ratio: column 1 of two files whose lines are
# the runs in turn, so that a machine that grows slower or faster during the
# runs moves both sides of a ratio alike.
pair_ratio() { paste -d' ' <(cut -d' ' -f1 "$1") <(cut -d' ' -f1 "$2") | awk '$2 > 0 { print $1 / $2 }' | median; }

# Runs a program with the data root given; prints its output and its peak memory in KB.
run_ours() { # root mode [folder]
  ln -sfnT "$1" "$bin/kavunorun_data"
  local out
  out=$(BENCH_T0=$(now) BENCH_MODE=$2 BENCH_FOLDER=${3:-} /usr/bin/time -f "%M" -o "$work/mem" "$bin/kavunorun" 2>/dev/null)
  echo "$out $(cat "$work/mem")"
}
run_bare() { # page
  local out
  out=$(BENCH_T0=$(now) /usr/bin/time -f "%M" -o "$work/mem" "$bin/bareview" "$1" 2>/dev/null)
  echo "$out $(cat "$work/mem")"
}
first_page() { find "$1" -maxdepth 1 -name '*.html' | sort | sed -n 1p; }

if [ -n "$share_only" ]; then
  printf "%-54s %12s %12s %8s\n" "figure" "ours" "baseline" "ratio"
  share_reorder
  exit 0
fi

# The folders DIR enters lie in the data root of the runs that enter them (the
# program enters no folder out of its data root): a root of 10 pages holding them.
roots="$work/roots"
"$bin/bench_makeroot" "$roots" 10 own
"$bin/bench_makeroot" "$roots/other10" 10 own
for n in 10 "${sizes[@]}"; do
  [ -d "$roots/own$n" ] || "$bin/bench_makeroot" "$roots/own$n" "$n" own
  [ -d "$roots/foreign$n" ] || "$bin/bench_makeroot" "$roots/foreign$n" "$n" foreign
done


printf "%-54s %12s %12s %8s\n" "figure" "ours" "baseline" "ratio"
for n in "${sizes[@]}"; do
  root="$roots/own$n"
  page=$(first_page "$root")
  : >"$work/start.ours"; : >"$work/start.bare"
  run_ours "$root" start >/dev/null; run_bare "$page" >/dev/null # warm the caches
  # The warm-up made the program's own folders in the root: as in a classroom,
  # the root last changed a while ago.
  touch -d '-1 hour' "$root"
  for _ in $(seq "$runs"); do
    run_ours "$root" start >>"$work/start.ours"
    run_bare "$page" >>"$work/start.bare"
  done
  line "start to first page loaded, $n pages (s)" "$(cut -d' ' -f1 "$work/start.ours" | median)" "$(cut -d' ' -f1 "$work/start.bare" | median)" \
    "$(pair_ratio "$work/start.ours" "$work/start.bare")"
  line "peak memory of the main process, $n pages (KB)" "$(cut -d' ' -f2 "$work/start.ours" | median)" "$(cut -d' ' -f2 "$work/start.bare" | median)"

  : >"$work/dir.big"; : >"$work/dir.small"
  for _ in $(seq "$runs"); do
    run_ours "$roots" dir "$root" >>"$work/dir.big"
    run_ours "$roots" dir "$roots/other10" >>"$work/dir.small"
  done
  line "DIR into $n pages (against 10), to first page loaded (s)" "$(cut -d' ' -f1 "$work/dir.big" | median)" "$(cut -d' ' -f1 "$work/dir.small" | median)"
  line "NEXT within $n pages against within 10 (s)" "$(cut -d' ' -f2 "$work/dir.big" | median)" "$(cut -d' ' -f2 "$work/dir.small" | median)"

  : >"$work/poll.big"; : >"$work/poll.small"
  for _ in $(seq "$runs"); do
    # A folder changed seconds ago is listed at every tick (coarse stamps): as
    # in a classroom, the folder last changed a while ago.
    touch -d '-1 hour' "$root" "$roots/other10"
    run_ours "$roots" poll "$root" >>"$work/poll.big"
    run_ours "$roots" poll "$roots/other10" >>"$work/poll.small"
  done
  line "poll tick, nothing changed, $n pages (against 10) (CPU s)" "$(cut -d' ' -f1 "$work/poll.big" | median)" "$(cut -d' ' -f1 "$work/poll.small" | median)"
  line "poll tick after a file was added, $n (against 10) (CPU s)" "$(cut -d' ' -f2 "$work/poll.big" | median)" "$(cut -d' ' -f2 "$work/poll.small" | median)"

  for kind in own foreign; do
    folder="$roots/$kind$n"
    : >"$work/titles.ours"; : >"$work/titles.head"
    # The names through xargs: 50,000 of them pass the limit of one command line.
    find "$folder" -maxdepth 1 -name '*.html' -print0 | sort -z >"$work/names"
    heads() { xargs -0 -a "$work/names" head -c 4096 >/dev/null; }
    "$bin/bench_titles" "$folder" >/dev/null; heads
    for _ in $(seq "$runs"); do
      "$bin/bench_titles" "$folder" >>"$work/titles.ours"
      t0=$(now); heads; t1=$(now)
      awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f\n", (b - a) / 1e9 }' >>"$work/titles.head"
    done
    line "titles of $n $kind pages, against head -c 4096 (s)" "$(median <"$work/titles.ours")" "$(median <"$work/titles.head")"
  done

  : >"$work/rename.ours"; : >"$work/rename.grep"
  "$bin/bench_rename" "$root" >/dev/null
  for _ in $(seq "$runs"); do
    "$bin/bench_rename" "$root" >>"$work/rename.ours"
    t0=$(now); grep -rlF 1020_b.html "$root" >/dev/null || true; t1=$(now)
    awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f\n", (b - a) / 1e9 }' >>"$work/rename.grep"
  done
  line "reorder of 3 pages in a root of $n pages, against grep (s)" "$(median <"$work/rename.ours")" "$(median <"$work/rename.grep")"
done

share_reorder

# Further benchmarks of their own, when present.
if [ -x bench/search.sh ]; then
  bench/search.sh "$@"
fi
