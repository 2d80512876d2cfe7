#!/usr/bin/env bash
# Builds the benchmark programs (Release, into build-bench/), runs them in an X
# server of their own and prints one table of the figures we keep, each with
# its target, whether it meets it, and how it was measured; beside the game,
# its peers in the same X server, taking turns with it: KBounce during play
# and a bare Qt mover of one ball widget (bench/peers.sh). Missing a target
# is not a failure. Then a second table: the Windows program (tools/build-windows)
# under Wine beside the Linux one, both measured alike through the X server
# (bench/x_figures.sh). Progress goes to stderr, the tables to stdout.
#
#   ./bench.sh [--against DIR]
#
# --against DIR also runs the benchmark programs found in DIR (the same bench/
# sources built against another version of the game, e.g. the main branch),
# taking turns with ours, and prints their figures in a column beside ours.
set -euo pipefail
cd "$(dirname "$0")"
started=$SECONDS
against=""
if [ "${1:-}" = "--against" ] && [ -n "${2:-}" ]; then
  against=$(cd "$2" && pwd)
elif [ $# -gt 0 ]; then
  echo "usage: $0 [--against DIR]" >&2
  exit 2
fi

tools/deps
# The benchmark's own needs, not the tests': KBounce, the peer the game is
# measured beside, and perf, which counts the game's system calls.
bench_needs=()
[ -x /usr/games/kbounce ] || bench_needs+=(kbounce)
command -v perf >/dev/null || bench_needs+=(linux-perf)
if [ ${#bench_needs[@]} -gt 0 ]; then
  echo "Installing for the benchmark: ${bench_needs[*]}" >&2
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  # Another apt may hold the lock for a while: wait for it.
  { ${sudo:-} apt-get -o DPkg::Lock::Timeout=600 update -qq &&
    DEBIAN_FRONTEND=noninteractive ${sudo:-} apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
      --no-install-recommends "${bench_needs[@]}"; } >&2 || echo "Could not install ${bench_needs[*]}" >&2
fi

dir=build-bench
logs=$dir/bench-logs
mkdir -p "$logs"
echo "Building the benchmarks (Release) into $dir/ ..." >&2
if ! { cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DBOUNZO_BENCH=ON -DBUILD_TESTING=OFF &&
       cmake --build "$dir" -j"$(nproc)" --target bench_programs bounzo; } >"$logs/build.log" 2>&1; then
  cat "$logs/build.log" >&2
  exit 1
fi
# The Windows program, measured under Wine beside the Linux one; without it
# its column says n/a.
windows_exe=build-windows/app/bounzo.exe
echo "Building the Windows program into build-windows/ ..." >&2
{ tools/build-windows && [ -f "$windows_exe" ]; } >"$logs/build-windows.log" 2>&1 || windows_exe=""
export BOUNZO_WINEPREFIX=$PWD/build-windows/wineprefix
built=$SECONDS
bin=$dir/bench

# An X server of our own, without a window manager.
# shellcheck source=tools/lib/xsession.sh
source tools/lib/xsession.sh
tmp=$(mktemp -d)
on_exit rm -rf "$tmp"
X_WINDOW_MANAGER='' start_x
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$tmp/runtime
# No session bus, for the game and the minimal program alike: neither starts
# one of its own (a dbus-daemon that would outlive the run) or talks to one.
export DBUS_SESSION_BUS_ADDRESS=disabled:
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Each program prints FIGURE and NOTE lines (bench/stats.h). A program that
# fails or hangs leaves its figures empty; the table says so.
results=$tmp/results
: >"$results"
: >"$results.against"
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
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
snapshot
busy_before=$busy_now own_before=$own_now wall_before=$wall_now
# measure NAME PROGRAM ARGS...: ours, then the other version's if there is one.
measure() {
  local name=$1 program=$2
  shift 2
  echo "Measuring: $name ..." >&2
  if ! timeout 240 "$bin/$program" "$@" >>"$results" 2>>"$logs/$name.log"; then
    echo "NOTE $name program failed, see $logs/$name.log" >>"$results"
  fi
  [ -n "$against" ] || return 0
  echo "Measuring: $name, other version ..." >&2
  if ! timeout 240 "$against/$program" "$@" >>"$results.against" 2>>"$logs/$name.against.log"; then
    echo "NOTE $name program failed, see $logs/$name.against.log" >>"$results.against"
  fi
}
measure engine  bounzo_bench_engine
measure startup bounzo_bench_startup 31
measure memory  bounzo_bench_game 3
measure paced   bounzo_bench_rally paced --latency 40
measure wake    bounzo_bench_timer_wake 600
measure plain   bounzo_bench_rally plain
# Both builds measured alike from outside, through the X server, under
# openbox: without a window manager Wine waits 2 s for every window it hides.
start_window_manager openbox
echo "Measuring: the Linux program through the X server ..." >&2
bench/x_figures.sh linux "$dir/app/bounzo" >>"$results" 2>>"$logs/x_linux.log" ||
  echo "NOTE linux.turn measuring failed, see $logs/x_linux.log" >>"$results"
if [ -n "$windows_exe" ]; then
  echo "Measuring: the Windows program under Wine ..." >&2
  bench/x_figures.sh wine "$windows_exe" >>"$results" 2>>"$logs/x_wine.log" ||
    echo "NOTE wine.turn measuring failed, see $logs/x_wine.log" >>"$results"
  shipped=build-windows/packaging/windows/stage/bounzo.exe
  [ -f "$shipped" ] && echo "FIGURE wine.size $(stat -c %s "$shipped") the shipped bounzo.exe, stripped, static" >>"$results"
else
  echo "NOTE wine.turn the Windows program did not build, see $logs/build-windows.log" >>"$results"
fi
strip -o "$tmp/bounzo" "$dir/app/bounzo"
echo "FIGURE linux.size $(stat -c %s "$tmp/bounzo") the Release program, stripped, Qt in shared libraries" >>"$results"

# The game beside its peers, in the same X server, the programs taking turns.
# shellcheck source=bench/peers.sh
source bench/peers.sh
GAME=$dir/app/bounzo MOVER=$bin/bounzo_bench_mover
measure_peers >>"$results" 2>>"$logs/peers.log" || echo "NOTE peers the comparison failed, see $logs/peers.log" >>"$results"

# Xvfb's own CPU time counts as ours once it has ended.
stop_x
snapshot
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
others=$(awk -v b0="$busy_before" -v b1="$busy_now" -v o0="$own_before" -v o1="$own_now" \
             -v w0="$wall_before" -v w1="$wall_now" -v n="$(nproc)" \
             'BEGIN { x = 100 * ((b1 - b0) - (o1 - o0)) / ((w1 - w0) * n); printf "%.0f", x < 0 ? 0 : x }')

declare -A value how note other
while read -r tag key first rest; do
  case $tag in
    FIGURE) value[$key]=$first how[$key]=$rest ;;
    NOTE) note[$key]="${note[$key]:+${note[$key]}; }$first $rest" ;;
  esac
done <"$results"
while read -r tag key first _; do
  [ "$tag" = FIGURE ] && other[$key]=$first
done <"$results.against"

# row KEY LABEL FORMAT UNIT TARGET-TEXT RULE GOAL: one line of the table.
# RULE: abs (|value| <= GOAL), max (value <= GOAL) or none (no target).
row() {
  local key=$1 label=$2 fmt=$3 unit=$4 target=$5 rule=$6 goal=${7:-0}
  local shown verdict="" theirs="" detail
  detail="${how[$key]:-}${note[$key]:+${how[$key]:+; }${note[$key]}}"
  if [ -z "${value[$key]:-}" ]; then
    shown="n/a" detail="${note[$key]:-no result}"
  else
    shown="$(printf "$fmt" "${value[$key]}")$unit"
    case $rule in
      abs) verdict=$(awk -v v="${value[$key]}" -v g="$goal" 'BEGIN { print (v <= g && -v <= g) ? "met" : "MISSED" }') ;;
      max) verdict=$(awk -v v="${value[$key]}" -v g="$goal" 'BEGIN { print (v <= g) ? "met" : "MISSED" }') ;;
    esac
  fi
  if [ -n "$against" ]; then
    theirs="n/a"
    [ -n "${other[$key]:-}" ] && theirs="$(printf "$fmt" "${other[$key]}")$unit"
    printf '%-46s %10s %10s  %-10s %-7s %s\n' "$label" "$shown" "$theirs" "$target" "$verdict" "$detail"
  else
    printf '%-46s %10s  %-10s %-7s %s\n' "$label" "$shown" "$target" "$verdict" "$detail"
  fi
}

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//' || true)
qt=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo "?")
echo
echo "Bounzo benchmarks, $(date '+%Y-%m-%d %H:%M %Z'); Release build; Qt $qt on xcb, Xvfb $DISPLAY 1280x1024x24, no window manager"
echo "Machine: ${cpu:-unknown CPU}, $(nproc) cores; load average $load_before before, $load_after after;"
echo "other processes took $others % of the machine while we measured."
if [ "$others" -gt 10 ]; then
  echo "WARNING: the machine was busy with other work; timings and shares of a core are not trustworthy."
fi
echo "Turn periods are timed from the ball's move at the start of each turn (turn n's period: from turn n-1's move);"
echo "their target is Delay_game = delay x 333 us. Errors are (period - target) / target; p99 is of |period - target|."
echo "CPU is the game process's CPU time (all threads) over the rally's wall time. Latency is from an XTest pointer"
echo "move to the racket's Left and to the end of the court window's repaint (painted and handed to the X server)."
echo "Peers, under openbox: the game at delay 50 and 10, KBounce in play and the bare mover at 16.65 and 3.33 ms take turns, $PEER_ROUNDS"
echo "rounds of $PEER_WINDOW_S s windows each (half that at delay 10 and 3.33 ms); shares are CPU time of all threads over the window, ratios taken round by round."
if [ -n "$against" ]; then
  echo "Second column: the same programs built against $against."
  printf '%-46s %10s %10s  %-10s %-7s %s\n' "figure" "this" "other" "target" "verdict" "how measured"
else
  printf '%-46s %10s  %-10s %-7s %s\n' "figure" "value" "target" "verdict" "how measured"
fi
printf '%s\n' "$(printf '%.0s-' $(seq 150))"
for d in 10 50 100; do
  row "turn.$d.median" "Turn period error, median, delay $d"  "%+.3f" " %" "<= 0.1 %" abs 0.1
done
for d in 10 50 100; do
  row "turn.$d.mean" "Turn period error, mean, delay $d" "%+.3f" " %" "<= 0.1 %" abs 0.1
done
for d in 10 50 100; do
  row "turn.$d.p99" "Turn period |error|, p99, delay $d" "%.3f" " ms" "<= 0.3 ms" max 0.3
done
row machine.wake.p99 "  the machine's own timer wake, lateness p99" "%.3f" " ms" "" none
row turn.10.cpu  "Share of one core, rally at delay 10"  "%.2f" " %" "<= 5 %"   max 5
row turn.50.cpu  "Share of one core, rally at delay 50"  "%.2f" " %" "<= 3 %"   max 3
row turn.100.cpu "Share of one core, rally at delay 100" "%.2f" " %" "<= 2.5 %" max 2.5
row turn.50.phases "Costliest 2 s window of a rally, x its median" "%.2f" " x" "<= 1.5 x" max 1.5
row latency.left    "Pointer move -> racket Left, median"      "%.3f" " ms" "" none
row latency.repaint "Pointer move -> racket repainted, median" "%.3f" " ms" "<= 0.6 ms" max 0.6
row peers.ratio.kbounce "CPU at delay 50, x KBounce in play"          "%.2f" " x" "<= 0.5 x" max 0.5
row peers.ratio.mover16 "CPU at delay 50, x bare mover at 16.65 ms"   "%.2f" " x" "<= 1.3 x" max 1.3
row peers.ratio.mover3  "CPU at delay 10, x bare mover at 3.33 ms"    "%.2f" " x" "<= 1.3 x" max 1.3
row peers.ratio.x16     "X server CPU, delay 50 x bare mover 16.65"   "%.2f" " x" "<= 1 x" max 1
row peers.ratio.x3      "X server CPU, delay 10 x bare mover 3.33"    "%.2f" " x" "<= 1 x" max 1
row peers.game50.cpu    "  the game at delay 50: share of a core"     "%.2f" " %" "" none
row peers.kbounce.cpu   "  KBounce in play: share of a core"          "%.2f" " %" "" none
row peers.mover16.cpu   "  bare mover, 16.65 ms: share of a core"     "%.2f" " %" "" none
row peers.game10.cpu    "  the game at delay 10: share of a core"     "%.2f" " %" "" none
row peers.mover3.cpu    "  bare mover, 3.33 ms: share of a core"      "%.2f" " %" "" none
row peers.game50.x      "  X server with the game at delay 50"        "%.2f" " %" "" none
row peers.kbounce.x     "  X server with KBounce"                     "%.2f" " %" "" none
row peers.mover16.x     "  X server with the mover at 16.65 ms"       "%.2f" " %" "" none
row peers.game10.x      "  X server with the game at delay 10"        "%.2f" " %" "" none
row peers.mover3.x      "  X server with the mover at 3.33 ms"        "%.2f" " %" "" none
row peers.syscalls.50   "System calls per turn, delay 50, no input"   "%.1f" "" "<= 8" max 8
row peers.wakeups.50    "Wake-ups per turn and thread, delay 50"      "%s" "" "" none
row peers.wakeups.10    "Wake-ups per turn and thread, delay 10"      "%s" "" "" none
row startup.ratio   "Start-up to both windows painted, x minimal" "%.2f" " x" "<= 1.2 x" max 1.2
row startup.game    "  the game: spawn to both windows painted"   "%.0f" " ms" "" none
row startup.minimal "  minimal Qt program (1 window, 2 buttons)"  "%.0f" " ms" "" none
row startup.cpu     "  CPU time of the game up to its picture"    "%.1f" " ms" "" none
row startup.two.ratio "Start-up to both windows painted, x two-window minimal" "%.2f" " x" "<= 1.1 x" max 1.1
row startup.two     "  minimal Qt program (the game's 2 windows)" "%.0f" " ms" "" none
row startup.two.cpu "  CPU time of the two-window program"        "%.1f" " ms" "" none
row memory.peak     "Peak resident memory, one whole game"        "%.1f" " MB" "< 80 MB" max 80
row memory.minimal  "  the minimal Qt program, started"           "%.1f" " MB" "" none
row engine.turn     "Engine turn, headless, no pumping"           "%.1f" " ns" "< 200 ns" max 200
row plain.50.median "Plain event-queue loop, delay 50: error"     "%+.1f" " %" "" none
row plain.50.cpu    "Plain event-queue loop, delay 50: core share" "%.1f" " %" "" none

# side KEY LABEL FORMAT UNIT [ratio]: a line of the Linux build and of the
# Windows build under Wine, both measured through the X server, and with
# "ratio" (for times, shares and sizes, not signed errors) Wine's over Linux's.
side() {
  local key=$1 label=$2 fmt=$3 unit=$4 l=${value[linux.$1]:-} w=${value[wine.$1]:-} ratio=""
  [ "${5:-}" = ratio ] && [ -n "$l" ] && [ -n "$w" ] &&
    ratio=$(awk -v l="$l" -v w="$w" 'BEGIN { if (l != 0) printf "%.2f x", w / l }')
  printf '%-46s %12s %12s %10s  %s\n' "$label" "${l:+$(printf "$fmt" "$l")$unit}" "${w:+$(printf "$fmt" "$w")$unit}" \
    "$ratio" "${how[wine.$key]:-${note[wine.$key]:-${note[wine.turn]:-}}}"
}
echo
echo "The Windows build under Wine $(dpkg-query -W -f='${Version}' wine 2>/dev/null || echo "?") beside the Linux build, both in the same Xvfb under openbox"
echo "and measured alike from outside: a turn is a burst of the court's repaint as the X server reports it (DAMAGE),"
echo "which adds when each repaint falls within its turn; CPU shares are of one core. Wine's figures are not Windows's."
printf '%-46s %12s %12s %10s  %s\n' "figure" "Linux" "Wine" "Wine/Linux" "how measured (Wine)"
printf '%s\n' "$(printf '%.0s-' $(seq 150))"
for d in 10 50 100; do
  side "turn.$d.median" "Turn period error, median, delay $d" "%+.3f" " %"
  side "turn.$d.mean"   "Turn period error, mean, delay $d"   "%+.3f" " %"
  side "turn.$d.p99"    "Turn period |error|, p99, delay $d"  "%.3f" " ms" ratio
done
for d in 10 50 100; do
  side "turn.$d.cpu"    "Share of one core, the game, delay $d" "%.2f" " %" ratio
  side "turn.$d.server" "Share of one core, wineserver, delay $d" "%.2f" " %"
done
side startup "Start-up to both windows painted (Wine up)" "%.0f" " ms" ratio
side size    "Size of the program"                        "%.0f" " B" ratio
echo
echo "Build $((built - started)) s, measurements $((SECONDS - built)) s, total $((SECONDS - started)) s. Logs: $logs/"
