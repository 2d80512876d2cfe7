# Shared by the end-to-end tests: a private X server and small helpers that
# look at it the way a player would, through real X events and screen pixels.
# Source it, then call start_x. With X_WINDOW_MANAGER set (say, openbox), the
# session runs under that window manager, started and stopped with the server.

start_x() {
  XVFB_LOG=$(mktemp)
  # -noreset: by default the server resets whenever its last client leaves,
  # and refuses connections while it does, so a test's own quick X queries
  # could make the game's connection fail.
  Xvfb -displayfd 6 -screen 0 1280x1024x24 -nolisten tcp -noreset 6>"$XVFB_LOG.fd" >"$XVFB_LOG" 2>&1 &
  XVFB_PID=$!
  # Xvfb writes its display number, and a line feed, once it takes connections.
  for _ in $(seq 400); do grep -q . "$XVFB_LOG.fd" 2>/dev/null && [ "$(tail -c1 "$XVFB_LOG.fd" | od -An -c | tr -d ' ')" = '\n' ] && break; sleep 0.05; done
  grep -q . "$XVFB_LOG.fd" || { cat "$XVFB_LOG" >&2; echo "FAIL: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$XVFB_LOG.fd")"
  # Under load the first connections can still be refused: wait until a
  # client really gets through.
  for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
  xdpyinfo >/dev/null 2>&1 || { cat "$XVFB_LOG" >&2; echo "FAIL: cannot connect to $DISPLAY" >&2; exit 1; }
  trap stop_x EXIT
  [ -z "${X_WINDOW_MANAGER:-}" ] || start_window_manager "$X_WINDOW_MANAGER"
}

start_window_manager() {
  local wm=$1
  command -v "$wm" >/dev/null || fail "$wm is missing (tools/deps installs it)"
  WM_LOG=$(mktemp)
  "$wm" >"$WM_LOG" 2>&1 & WM_PID=$!
  # A window manager names its check window on the root once it has taken
  # the screen; windows mapped before it handles requests wait for it.
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.05
  done
  cat "$WM_LOG" >&2
  fail "$wm did not start"
}

# Stops the game and the X server and removes the session's files, with
# those a test adds to X_TEMP_FILES.
stop_x() {
  # Either may be gone already; cleaning up must not stop half-way.
  [ -z "${GAME_PID:-}" ] || kill "$GAME_PID" 2>/dev/null || true
  [ -z "${WM_PID:-}" ] || kill "$WM_PID" 2>/dev/null || true
  kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$XVFB_LOG" "$XVFB_LOG.fd" ${WM_LOG:-} ${X_TEMP_FILES:-}
}

fail() { echo "FAIL: $*" >&2; exit 1; }

# Fails unless the game started as `... & GAME_PID=$!` ends within SECONDS
# (one unless given) with status 0; WHAT names the cause in the messages.
expect_exit_0_within() {
  local what=$1 seconds=${2:-1} status=0
  for _ in $(seq $((seconds * 20))); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$GAME_PID" 2>/dev/null && fail "the program still runs $seconds s after $what"
  wait "$GAME_PID" || status=$?
  GAME_PID=
  [ "$status" -eq 0 ] || fail "exit status $status after $what"
  echo "PASS: $what"
}

# Waits until a visible window with this exact title exists; prints its id.
# A loaded machine can take seconds to start the game, and under a window
# manager mapping waits for that process too: it gets ten.
wait_window() {
  local title=$1 id
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}

window_gone() {
  local title=$1
  for _ in $(seq 40); do
    xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  return 1
}

# Top-left corner of a window's client area on the screen: "X Y". (xdotool's
# own geometry adds the window manager's frame offset a second time.)
window_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF } END { print x, y }'
}

# Succeeds when window UPPER stands above window LOWER in the window
# manager's stacking order (_NET_CLIENT_LIST_STACKING, bottom to top).
stands_above() {
  local upper lower
  upper=$(printf '0x%x' "$1") lower=$(printf '0x%x' "$2")
  xprop -root _NET_CLIENT_LIST_STACKING | tr -s ', ' '\n\n' | grep '^0x' |
    awk -v u="$upper" -v l="$lower" '$1 == u { pu = NR } $1 == l { pl = NR } END { exit !(pu && pl && pu > pl) }'
}

# Colour of one screen pixel as "R,G,B".
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- | awk 'NR==2 { gsub(/[()]/, "", $2); split($2, c, ","); print c[1] "," c[2] "," c[3] }'
}

# The leftmost x from x0 to x1 on screen row y whose pixel is exactly R,G,B.
first_x_of_colour() {
  local x0=$1 x1=$2 y=$3 colour=$4 row
  row=$(import -window root -crop "$((x1 - x0))x1+$x0+$y" -depth 8 txt:-)
  printf '%s\n' "$row" |
    awk -v want="$colour" -v x0="$x0" 'NR>1 { split($1, p, /[,:]/); gsub(/[()]/, "", $2); split($2, c, ",");
      if (c[1] "," c[2] "," c[3] == want && !found) { print x0 + p[1]; found = 1 } }'
}
