#!/usr/bin/env bash
# Builds the benchmark programs (Release, into build-bench/), runs them in an X
# server of their own and prints one table of the figures we keep, each with
# its median, its spread and its target. Missing a target is not a failure.
# Progress goes to stderr, the table to stdout.
set -euo pipefail
cd "$(dirname "$0")"
started=$SECONDS

tools/deps

dir=build-bench
logs=$dir/bench-logs
mkdir -p "$logs"
echo "Building the benchmarks (Release) into $dir/ ..." >&2
if ! { cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DBOUNZO_BENCH=ON -DBUILD_TESTING=OFF &&
       cmake --build "$dir" -j"$(nproc)" --target bench_programs; } >"$logs/build.log" 2>&1; then
  cat "$logs/build.log" >&2
  exit 1
fi
built=$SECONDS
bin=$dir/bench

# An X server of our own, on the first free display.
tmp=$(mktemp -d)
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$tmp/display" 2>"$logs/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$tmp/display" ] && break
  sleep 0.1
done
if [ ! -s "$tmp/display" ]; then
  echo "Xvfb did not start; see $logs/xvfb.log" >&2
  exit 1
fi
display=":$(tr -d '[:space:]' <"$tmp/display")"
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$tmp/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Each program prints FIGURE and NOTE lines (bench/stats.h). A program that
# fails or hangs leaves its figures empty; the table says so.
results=$tmp/results
: >"$results"
# Other work on the machine slows the game and steals its core: the CPU time
# all processes took while measuring, less our own (children, Xvfb included).
busy_seconds() { awk '/^cpu / { printf "%.2f", ($2 + $3 + $4 + $7 + $8 + $9) / 100 }' /proc/stat; }
# `times` must run in this shell, not in a subshell, to see our children.
snapshot() {
  times >"$tmp/times"
  own_now=$(awk 'NR == 2 { t = 0; for (i = 1; i <= 2; i++) { split($i, p, "m"); t += p[1] * 60 + p[2] } printf "%.2f", t }' "$tmp/times")
  busy_now=$(busy_seconds)
  wall_now=$(date +%s.%N)
}
snapshot
busy_before=$busy_now own_before=$own_now wall_before=$wall_now
measure() {
  local name=$1
  shift
  echo "Measuring: $name ..." >&2
  if ! timeout 180 "$@" >>"$results" 2>>"$logs/$name.log"; then
    echo "NOTE $name program failed, see $logs/$name.log" >>"$results"
  fi
}
measure engine  "$bin/bounzo_bench_engine"
measure startup "$bin/bounzo_bench_startup" 7
measure memory  "$bin/bounzo_bench_game" 3
measure paced   "$bin/bounzo_bench_rally" paced --latency 40
measure plain   "$bin/bounzo_bench_rally" plain

kill "$xvfb_pid" 2>/dev/null || true
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""
snapshot
others=$(awk -v b0="$busy_before" -v b1="$busy_now" -v o0="$own_before" -v o1="$own_now" \
             -v w0="$wall_before" -v w1="$wall_now" -v n="$(nproc)" \
             'BEGIN { x = 100 * ((b1 - b0) - (o1 - o0)) / ((w1 - w0) * n); printf "%.0f", x < 0 ? 0 : x }')

declare -A med lo hi kind count note
while read -r tag key rest; do
  case $tag in
    FIGURE)
      read -r m l h k n <<<"$rest"
      med[$key]=$m lo[$key]=$l hi[$key]=$h kind[$key]=$k count[$key]=$n
      ;;
    NOTE)
      note[$key]="${note[$key]:+${note[$key]}; }$rest"
      ;;
  esac
done <"$results"

# One row: key, label, unit, samples noun, printf format, target text,
# target value, how the target is read (exact: deviation; below: a limit;
# about: a rough figure; none).
row() {
  local key=$1 label=$2 unit=$3 noun=$4 fmt=$5 target=$6 goal=$7 rule=$8
  local value spread verdict=""
  if [ -z "${med[$key]:-}" ]; then
    printf '%-44s %12s  %-40s %-12s %-10s %s\n' "$label" "n/a" "" "$target" "" "${note[$key]:-no result}"
    return
  fi
  value="$(printf "$fmt" "${med[$key]}") $unit"
  spread="$(printf "$fmt" "${lo[$key]}")-$(printf "$fmt" "${hi[$key]}") (${kind[$key]}, ${count[$key]} $noun)"
  case $rule in
    exact) verdict=$(awk -v m="${med[$key]}" -v g="$goal" 'BEGIN { printf "%+.1f %%", 100 * (m - g) / g }') ;;
    below) verdict=$(awk -v m="${med[$key]}" -v g="$goal" 'BEGIN { print (m < g) ? "met" : "MISSED" }') ;;
  esac
  printf '%-44s %12s  %-40s %-12s %-10s %s\n' "$label" "$value" "$spread" "$target" "$verdict" "${note[$key]:-}"
}

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//' || true)
qt=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo "?")
echo
echo "Bounzo benchmarks, $(date '+%Y-%m-%d %H:%M %Z'); Release build; Qt $qt on xcb, Xvfb $display 1280x1024x24, no window manager"
echo "Machine: ${cpu:-unknown CPU}, $(nproc) cores; other processes took $others % of it while we measured."
if [ "$others" -gt 10 ]; then
  echo "WARNING: the machine was busy with other work; timings and shares of a core are not trustworthy."
fi
echo "Turn periods and latencies: median and p10-p90 over turns or moves; others: median and min-max over runs."
printf '%-44s %12s  %-40s %-12s %-10s %s\n' "figure" "median" "spread" "target" "vs target" "notes"
printf '%s\n' "$(printf '%.0s-' $(seq 150))"
for mode in paced plain; do
  row "turn.$mode.10"  "Turn period, delay 10 (3330 pumps), $mode"   ms turns "%.2f" "3.33 ms"  3.33  exact
  row "turn.$mode.50"  "Turn period, delay 50 (16650 pumps), $mode"  ms turns "%.2f" "16.65 ms" 16.65 exact
  row "turn.$mode.100" "Turn period, delay 100 (33300 pumps), $mode" ms turns "%.2f" "33.3 ms"  33.3  exact
done
row cpu.paced "Share of one core, rally at delay 50, paced" "%" "windows of 0.5 s" "%.1f" "about 4 %" 4 about
row cpu.plain "Share of one core, rally at delay 50, plain" "%" "windows of 0.5 s" "%.1f" "(about 100)" 100 about
row latency.paced.left  "Pointer move to racket Left (paced, 50)"     ms moves "%.2f" "< 2 ms"     2     below
row latency.paced.paint "Pointer move to court repaint (paced, 50)"   ms moves "%.2f" "< 16.65 ms" 16.65 below
row startup.picture "Start-up to court + welcome form painted"  ms runs "%.0f" "< 300 ms" 300 below
row startup.court   "  of which: to the court's first paint"    ms runs "%.0f" "" 0 none
row memory.peak "Peak resident memory, one whole game"          MB runs "%.1f" "< 80 MB" 80 below
row engine.turn "Engine turn, headless, no pumping"             ns repetitions "%.1f" "< 200 ns" 200 below
echo
echo "Build $((built - started)) s, measurements $((SECONDS - built)) s, total $((SECONDS - started)) s. Logs: $logs/"
