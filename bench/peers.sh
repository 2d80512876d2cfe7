# shellcheck shell=bash
# The game beside its peers, in the X server bench.sh runs: a rally at delay
# 50 and at delay 10, KBounce (a KDE game of bouncing balls on a 16 ms tick)
# during play, and the bare Qt mover at the game's two turn lengths. Each
# program is started, brought into play, left 2 s to settle and measured for a
# window of WINDOW_S seconds: its CPU time (all threads) and the X server's
# over the window. The programs take turns, ROUNDS rounds of all five, so that
# other work on the machine falls on all of them alike; the ratios are taken
# round by round, and their medians printed. During the game's windows the
# system calls (perf's raw_syscalls tracepoint, when perf counts) and each
# thread's voluntary context switches, its wake-ups, are counted per turn.
#
# Sourced by bench.sh after start_x, with tools/lib/xsession.sh; prints FIGURE
# and NOTE lines as the benchmark programs do. Needs GAME (the game) and
# MOVER (bounzo_bench_mover).

PEER_ROUNDS=${PEER_ROUNDS:-3}
PEER_WINDOW_S=${PEER_WINDOW_S:-10}
PEER_SETTLE_S=2
KBOUNCE=/usr/games/kbounce

# CPU nanoseconds of all the threads of a process.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%.0f", t }'; }

# "thread-id thread-name voluntary-switches" for every thread of a process.
wake_ups() {
  local task
  for task in /proc/"$1"/task/*; do
    printf '%s %s %s\n' "${task##*/}" "$(tr -d ' ' <"$task/comm")" \
      "$(awk '/^voluntary_ctxt_switches/ { print $2 }' "$task/status")"
  done 2>/dev/null | sort
}

# KBounce runs as a child of the dbus-run-session we started (GAME_PID), never
# any other KBounce on the machine.
kbounce_pid() { [ -n "${GAME_PID:-}" ] && pgrep -x kbounce -P "$GAME_PID" || true; }

# Starts PEER and brings it into play; sets PEER_PID to the process to measure.
start_peer() {
  case $1 in
    game50 | game10)
      "$GAME" & GAME_PID=$!
      PEER_PID=$GAME_PID
      game_windows "in the peer comparison"
      start_rally "${1#game}"
      # The pointer away from the court: a rally with no input.
      xdotool mousemove 1279 1023
      ;;
    kbounce)
      # KBounce needs a session bus of its own, and a home to keep its settings in.
      HOME=$PEER_HOME env -u DBUS_SESSION_BUS_ADDRESS dbus-run-session -- "$KBOUNCE" >/dev/null 2>&1 & GAME_PID=$!
      local window kx ky idle
      PEER_PID= window=
      # Its window is found by its class: KBounce leaves WM_NAME empty and
      # names itself only in _NET_WM_NAME.
      for _ in $(seq 200); do
        PEER_PID=$(kbounce_pid)
        [ -n "$PEER_PID" ] && window=$(xdotool search --onlyvisible --classname '^kbounce$' 2>/dev/null | head -n1) &&
          [ -n "$window" ] && break
        sleep 0.05
      done
      # Without its process or its window there is nothing to measure: a
      # window of an absent KBounce would count as a peer that costs nothing.
      [ -n "$PEER_PID" ] && [ -n "$window" ] || fail "KBounce did not show its window"
      sleep 1
      # A click on the field starts a game, wherever the window manager put
      # the window; a game in play repaints at every tick, an idle one never.
      read -r kx ky < <(window_origin "$window")
      xdotool mousemove $((kx + 290)) $((ky + 250)) click 1
      idle=$(cpu_ns "$PEER_PID")
      sleep 0.5
      [ "$(cpu_ns "$PEER_PID")" -gt $((idle + 1000000)) ] || fail "KBounce did not start a game"
      xdotool mousemove 1279 1023
      ;;
    mover16 | mover3)
      "$MOVER" "$([ "$1" = mover16 ] && echo 16650 || echo 3330)" & GAME_PID=$!
      PEER_PID=$GAME_PID
      wait_window "bounzo bare mover" >/dev/null || fail "no bare mover window"
      ;;
  esac
}

stop_peer() {
  local pid
  pid=$(kbounce_pid)
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  end_process GAME_PID
}

# One window of PEER: "PEER cpu% x-cpu% [syscalls-per-turn switches...]".
# A rally that ends during its window (its message shows) is not measured:
# status 3, nothing printed.
measure_peer() {
  local peer=$1 seconds=$2 p0 p1 x0 x1 t0 t1 perf_out="$PEER_HOME/perf" turns syscalls="" before after
  start_peer "$peer"
  sleep "$PEER_SETTLE_S"
  before=$(wake_ups "$PEER_PID")
  p0=$(cpu_ns "$PEER_PID") x0=$(cpu_ns "$XVFB_PID") t0=$(date +%s%N)
  if [ "${peer#game}" != "$peer" ] && [ -n "$PEER_PERF" ]; then
    perf stat -x, -e raw_syscalls:sys_enter -p "$PEER_PID" -- sleep "$seconds" >/dev/null 2>"$perf_out" || true
    syscalls=$(awk -F, '/sys_enter/ { print $1 }' "$perf_out")
  else
    sleep "$seconds"
  fi
  p1=$(cpu_ns "$PEER_PID") x1=$(cpu_ns "$XVFB_PID") t1=$(date +%s%N)
  after=$(wake_ups "$PEER_PID")
  # A game that ended shows its message; such a window is not a rally.
  if [ "${peer#game}" != "$peer" ] && xdotool search --onlyvisible --name "$(title_pattern "$MESSAGE_TITLE")" >/dev/null 2>&1; then
    stop_peer
    return 3
  fi
  stop_peer
  turns=$(awk -v d="${peer#game}" -v w=$((t1 - t0)) 'BEGIN { if (d + 0 > 0) printf "%.1f", w / (d * 333 * 1000) }')
  printf '%s %s %s %s %s\n' "$peer" \
    "$(awk -v c=$((p1 - p0)) -v w=$((t1 - t0)) 'BEGIN { printf "%.3f", 100 * c / w }')" \
    "$(awk -v c=$((x1 - x0)) -v w=$((t1 - t0)) 'BEGIN { printf "%.3f", 100 * c / w }')" \
    "$(awk -v s="$syscalls" -v t="$turns" 'BEGIN { if (s != "" && t > 0) printf "%.2f", s / t; else print "-" }')" \
    "$(join <(echo "$before") <(echo "$after") 2>/dev/null |
       awk -v t="$turns" 'BEGIN { sep = "" } t > 0 { printf "%s%s=%.2f", sep, $2, ($5 - $3) / t; sep = "," }')"
}

# The median of the numbers on standard input, and their range.
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR) print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
spread() { sort -g | awk 'NR == 1 { lo = $1 } { hi = $1 } END { if (NR) printf "%.2f-%.2f", lo, hi }'; }

# The windows measured, one a line: ROUND PEER CPU X SYSCALLS WAKE-UPS.
# peer_column PEER N: column N of PEER's windows.
peer_column() { awk -v p="$1" -v c="$2" '$2 == p { print $c }' "$PEER_WINDOWS"; }
# peer_ratios A B N: A's column N over B's, round by round, where both were measured.
peer_ratios() {
  join <(awk -v p="$1" -v c="$3" '$2 == p { print $1, $c }' "$PEER_WINDOWS" | sort) \
       <(awk -v p="$2" -v c="$3" '$2 == p { print $1, $c }' "$PEER_WINDOWS" | sort) |
    awk '$3 > 0 { printf "%.3f\n", $2 / $3 }'
}
# peer_figure KEY COMMAND...: the median of the values COMMAND prints, with their range.
peer_figure() {
  local key=$1 values
  shift
  values=$("$@")
  [ -n "$values" ] || { echo "NOTE $key no windows measured"; return 0; }
  echo "FIGURE $key $(median <<<"$values") median of $(wc -l <<<"$values") rounds, range $(spread <<<"$values")"
}

measure_peers() {
  local round peer seconds attempt status
  PEER_HOME=$(mktemp -d)
  PEER_WINDOWS=$PEER_HOME/windows
  : >"$PEER_WINDOWS"
  PEER_PERF=
  perf stat -e raw_syscalls:sys_enter true >/dev/null 2>&1 && PEER_PERF=yes
  for round in $(seq "$PEER_ROUNDS"); do
    for peer in game50 kbounce mover16 game10 mover3; do
      if [ "$peer" = kbounce ] && [ ! -x "$KBOUNCE" ]; then continue; fi
      # A game at delay 10 runs five times as fast and is over in seconds:
      # its windows, and the mover's beside it, are half as long.
      seconds=$PEER_WINDOW_S
      case $peer in game10 | mover3) seconds=$((PEER_WINDOW_S / 2)) ;; esac
      for attempt in 1 2 3; do
        echo "Measuring: peers, round $round, $peer, attempt $attempt ..." >&2
        # A peer that fails is tried again, up to three times, and never left running.
        status=0
        ( trap stop_peer EXIT; measure_peer "$peer" "$seconds" ) >"$PEER_HOME/one" || status=$?
        if [ "$status" -eq 0 ]; then
          sed "s/^/$round /" "$PEER_HOME/one" >>"$PEER_WINDOWS"
          break
        fi
        [ "$status" -eq 3 ] || echo "round $round: $peer failed (attempt $attempt)" >&2
      done
    done
  done
  for peer in game50 kbounce mover16 game10 mover3; do
    peer_figure "peers.$peer.cpu" peer_column "$peer" 3
    peer_figure "peers.$peer.x" peer_column "$peer" 4
  done
  peer_figure peers.ratio.kbounce peer_ratios game50 kbounce 3
  peer_figure peers.ratio.mover16 peer_ratios game50 mover16 3
  peer_figure peers.ratio.mover3 peer_ratios game10 mover3 3
  peer_figure peers.ratio.x16 peer_ratios game50 mover16 4
  peer_figure peers.ratio.x3 peer_ratios game10 mover3 4
  if [ -n "$PEER_PERF" ]; then
    peer_figure peers.syscalls.50 peer_column game50 5
  else
    echo "NOTE peers.syscalls.50 perf cannot count system calls here"
  fi
  for peer in game50 game10; do
    echo "NOTE peers.wakeups.${peer#game} voluntary context switches per turn and thread, window by window: $(peer_column "$peer" 6 | tr '\n' ' ')"
  done
  [ -x "$KBOUNCE" ] || echo "NOTE peers.kbounce.cpu kbounce is not installed"
  rm -rf "$PEER_HOME"
}
