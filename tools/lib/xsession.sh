# shellcheck shell=bash
# The private X session every shell test and tool runs the game in, and what a
# player does there, through real X events and screen pixels. Source it, then
# call start_x. With X_WINDOW_MANAGER set (say, openbox), the session runs
# under that window manager; X_SCREEN_DEPTH sets the screen's bits per pixel
# (24 unless given); start_weston or start_compositor adds a Wayland
# compositor.
#
# Cleanup: register what has to happen at exit with `on_exit COMMAND ARGS...`,
# never with `trap ... EXIT`. The commands run from one EXIT trap, the last
# registered first, after the game (GAME_PID) is ended; a trap set before the
# first registration runs last.
# shellcheck disable=SC2034  # the titles, places and process ids are for the scripts that source this

EXIT_CLEANUPS=()

on_exit() {
  local command earlier c
  command=$(printf '%q ' "$@")
  # Registering a cleanup again (a session started twice) runs it once.
  for c in "${EXIT_CLEANUPS[@]}"; do [ "$c" = "$command" ] && return 0; done
  if [ ${#EXIT_CLEANUPS[@]} -eq 0 ]; then
    earlier=$(trap -p EXIT)
    if [ -n "$earlier" ]; then
      eval "set -- $earlier"
      EXIT_CLEANUPS=("$3")
    fi
    trap run_exit_cleanups EXIT
    EXIT_CLEANUPS_OWNER=$BASHPID
  fi
  EXIT_CLEANUPS+=("$command")
}

run_exit_cleanups() {
  local i
  # A child forked for `... &` keeps the trap until it runs its program: if
  # it is ended before that, the session is not its to clean up.
  [ "$BASHPID" = "$EXIT_CLEANUPS_OWNER" ] || return 0
  end_process GAME_PID
  # Any of them may find its work done already; cleaning up must not stop half-way.
  for ((i = ${#EXIT_CLEANUPS[@]} - 1; i >= 0; i--)); do eval "${EXIT_CLEANUPS[i]}" || true; done
}

# Ends the process whose id the variable NAME holds, if any, and clears NAME.
end_process() {
  local pid=${!1:-}
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  printf -v "$1" '%s' ''
}

fail() { echo "FAIL: $*" >&2; exit 1; }

# start_x [WIDTHxHEIGHT [DPI]]: a screen of that size (1280x1024 unless
# given), and with DPI the desktop's font resolution (Xft.dpi), which is how
# desktops on X11 give programs their scale: 120 is 125 %, 192 is 200 %.
start_x() {
  local size=${1:-1280x1024} dpi=${2:-}
  X_SESSION_DIR=$(mktemp -d)
  on_exit stop_x
  : >"$X_SESSION_DIR/display"
  # -noreset: by default the server resets whenever its last client leaves,
  # and refuses connections while it does, so a test's own quick X queries
  # could make the game's connection fail.
  Xvfb -displayfd 6 -screen 0 "${size}x${X_SCREEN_DEPTH:-24}" -nolisten tcp -noreset \
    6>"$X_SESSION_DIR/display" >"$X_SESSION_DIR/xvfb.log" 2>&1 &
  XVFB_PID=$!
  # Xvfb writes its display number, and a line feed, once it takes connections.
  for _ in $(seq 400); do [ "$(wc -l <"$X_SESSION_DIR/display")" -gt 0 ] && break; sleep 0.05; done
  [ "$(wc -l <"$X_SESSION_DIR/display")" -gt 0 ] || { cat "$X_SESSION_DIR/xvfb.log" >&2; fail "Xvfb did not start"; }
  DISPLAY=":$(head -n1 "$X_SESSION_DIR/display")"
  export DISPLAY
  # Under load the first connections can still be refused: wait until a
  # client really gets through.
  for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
  xdpyinfo >/dev/null 2>&1 || { cat "$X_SESSION_DIR/xvfb.log" >&2; fail "cannot connect to $DISPLAY"; }
  # Set before the window manager starts, as a desktop sets it at login.
  [ -z "$dpi" ] || echo "Xft.dpi: $dpi" | xrdb -merge
  [ -z "${X_WINDOW_MANAGER:-}" ] || start_window_manager "$X_WINDOW_MANAGER"
}

# Ends the game, the window manager and the X server, and removes the
# session's files; it can be called before the exit, which then has less to do.
stop_x() {
  end_process GAME_PID
  end_process WM_PID
  end_process XVFB_PID
  [ -z "${X_SESSION_DIR:-}" ] || rm -rf "$X_SESSION_DIR"
  X_SESSION_DIR=
}

start_window_manager() {
  local wm=$1
  command -v "$wm" >/dev/null || fail "$wm is missing (tools/deps installs it)"
  "$wm" >"$X_SESSION_DIR/wm.log" 2>&1 & WM_PID=$!
  # A window manager names its check window on the root once it has taken
  # the screen; windows mapped before it handles requests wait for it.
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.05
  done
  cat "$X_SESSION_DIR/wm.log" >&2
  fail "$wm did not start"
}

# A Wayland compositor in the X server, so real X input reaches its clients
# and the screen can be read: weston on its X11 backend, WIDTH x HEIGHT, with
# a private runtime directory and socket, exported for the clients.
start_weston() {
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR WAYLAND_DISPLAY=bounzo-test
  on_exit rm -rf "$XDG_RUNTIME_DIR"
  weston --backend=x11-backend.so --width="$1" --height="$2" --socket="$WAYLAND_DISPLAY" \
    --idle-time=0 --no-config >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
  WESTON_PID=$!
  on_exit end_process WESTON_PID
  for _ in $(seq 200); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break; sleep 0.05; done
  [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || { cat "$XDG_RUNTIME_DIR/weston.log" >&2; fail "weston did not start"; }
}

# One of the desktops' Wayland compositors in the X server, as weston above:
# start_compositor NAME WIDTH HEIGHT, NAME mutter, kwin or sway. It gets a
# private runtime directory and session bus, and its own process group,
# ended at exit. WAYLAND_DISPLAY is exported for the clients, and
# XWAYLAND_DISPLAY (with XWAYLAND_AUTH, its authority file, if it uses one)
# names the compositor's Xwayland server.
start_compositor() {
  local name=$1 width=$2 height=$3 log
  # The compositor's runtime directory, and the clients' own: Qt wants one
  # that its user owns, and sway runs as another.
  COMPOSITOR_DIR=$(mktemp -d) XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$COMPOSITOR_DIR" "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
  on_exit rm -rf "$COMPOSITOR_DIR" "$XDG_RUNTIME_DIR"
  log=$COMPOSITOR_DIR/$name.log
  case $name in
    mutter)
      command -v mutter >/dev/null || fail "mutter is missing (tools/deps installs it)"
      XDG_RUNTIME_DIR=$COMPOSITOR_DIR MUTTER_DEBUG_DUMMY_MODE_SPECS="${width}x$height" setsid dbus-run-session -- \
        mutter --nested --wayland --wayland-display=bounzo-test >"$log" 2>&1 &
      ;;
    kwin)
      command -v kwin_wayland >/dev/null || fail "kwin_wayland is missing (tools/deps installs it)"
      # A copy has no file capability, which some containers refuse to run.
      cp "$(command -v kwin_wayland)" "$COMPOSITOR_DIR/kwin_wayland"
      XDG_RUNTIME_DIR=$COMPOSITOR_DIR setsid dbus-run-session -- "$COMPOSITOR_DIR/kwin_wayland" --x11-display "$DISPLAY" --socket bounzo-test \
        --width "$width" --height "$height" --xwayland --no-lockscreen --no-global-shortcuts >"$log" 2>&1 &
      ;;
    sway)
      command -v sway >/dev/null || fail "sway is missing (tools/deps installs it)"
      # sway refuses to run as root: it runs as a user of its own.
      id "$COMPOSITOR_USER" >/dev/null 2>&1 ||
        useradd --system --no-create-home --shell /usr/sbin/nologin "$COMPOSITOR_USER" 2>/dev/null ||
        id "$COMPOSITOR_USER" >/dev/null || fail "cannot create the user $COMPOSITOR_USER for sway"
      chown "$COMPOSITOR_USER" "$COMPOSITOR_DIR"
      printf 'xwayland force\noutput * resolution %sx%s\n' "$width" "$height" >"$COMPOSITOR_DIR/sway.config"
      setsid runuser -u "$COMPOSITOR_USER" -- env -i PATH="$PATH" HOME="$COMPOSITOR_DIR" DISPLAY="$DISPLAY" \
        XDG_RUNTIME_DIR="$COMPOSITOR_DIR" WLR_BACKENDS=x11 WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway --config "$COMPOSITOR_DIR/sway.config" >"$log" 2>&1 &
      ;;
    *) fail "no compositor called $name" ;;
  esac
  COMPOSITOR_PID=$!
  on_exit end_process_group COMPOSITOR_PID
  local socket='' xwayland='' xw_args f
  for _ in $(seq 300); do
    # sway names its socket itself (wayland-N).
    for f in "$COMPOSITOR_DIR"/bounzo-test "$COMPOSITOR_DIR"/wayland-[0-9]; do
      [ -S "$f" ] && socket=$f && break
    done
    xwayland=$(pgrep -g "$COMPOSITOR_PID" -x Xwayland | head -n1) || true
    [ -n "$socket" ] && [ -n "$xwayland" ] && break
    sleep 0.05
  done
  [ -n "$socket" ] && [ -n "$xwayland" ] || { cat "$log" >&2; fail "$name did not start with its Xwayland"; }
  # An absolute path: the socket is not in the clients' runtime directory.
  export WAYLAND_DISPLAY=$socket
  xw_args=$(tr '\0' ' ' <"/proc/$xwayland/cmdline")
  XWAYLAND_DISPLAY=$(grep -o ' :[0-9]*' <<<" ${xw_args#* }" | head -n1 | tr -d ' ')
  XWAYLAND_AUTH=$(grep -o -- '-auth [^ ]*' <<<"$xw_args" | cut -d' ' -f2) || true
  [ -n "$XWAYLAND_DISPLAY" ] || fail "no display in $name's Xwayland command line: $xw_args"
  # sway's Xwayland lets in its own user's clients only: the game's user too.
  [ "$name" != sway ] || for _ in $(seq 100); do
    runuser -u "$COMPOSITOR_USER" -- env DISPLAY="$XWAYLAND_DISPLAY" xhost "+si:localuser:$(id -un)" >/dev/null 2>&1 &&
      break
    sleep 0.05
  done
  # Its X window manager names itself on the root once it runs.
  for _ in $(seq 200); do
    DISPLAY=$XWAYLAND_DISPLAY XAUTHORITY=${XWAYLAND_AUTH:-} xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null |
      grep -q 'window id' && return 0
    sleep 0.05
  done
  cat "$log" >&2
  fail "$name's Xwayland did not start its window manager"
}
COMPOSITOR_USER=bounzo-compositor

# Ends the process group led by the process whose id the variable NAME holds.
end_process_group() {
  local pid=${!1:-}
  if [ -n "$pid" ]; then
    kill -- "-$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  printf -v "$1" '%s' ''
}

# Starts the game a script was given, in the background, as GAME_PID: the
# Linux program, or the Windows one (a .exe) under Wine, in the Wine prefix
# that WINEPREFIX names, or else BOUNZO_WINEPREFIX (tools/wine-run makes it on
# first use). Wine's windows are X11 windows with the same titles, their
# client areas where the Linux program's are, so every scenario runs alike
# against both. What cannot apply to Wine is AT-SPI: Wine offers Windows's
# accessibility interfaces, not AT-SPI, so the scripts that go through it
# (atspi.sh, tools/a11y-cost) run against the Linux program only. Wine's
# windows are run under a window manager: without one, Wine waits 2 s for
# every window it closes.
start_game() {
  case $1 in
    *.exe)
      [ -f "$1" ] || fail "no Windows program at $1 (tools/build-windows makes it)"
      [ -n "$(wine_prefix)" ] || fail "a Windows program runs in the Wine prefix that WINEPREFIX or BOUNZO_WINEPREFIX names"
      "$(dirname "${BASH_SOURCE[0]}")/../wine-run" "$(wine_prefix)" "$@" & ;;
    *) "$@" & ;;
  esac
  GAME_PID=$!
}

wine_prefix() { echo "${WINEPREFIX:-${BOUNZO_WINEPREFIX:-}}"; }

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

# The game's windows by their titles.
COURT_TITLE="Quindle1 - frm_court (Form)"
HELLO_TITLE="Bounzo команда Bounzo"
PROMPT_TITLE="Задержка анимации..."
MESSAGE_TITLE="Yes"
ERROR_TITLE="Bounzo"
# Where a player clicks, in pixels from the top-left corner of a window's
# client area: the middles of the welcome window's buttons ИГРАТЬ and ВЫЙТИ
# (136 x 40 px; a click up to BUTTON_REACH_X and _Y from a middle lands on the
# button with a margin to spare), and a point on the court's red wall bar.
PLAY_X=204 PLAY_Y=180 EXIT_X=204 EXIT_Y=248 BUTTON_REACH_X=64 BUTTON_REACH_Y=17
WALL_X=286 WALL_Y=16

# A title as an extended regular expression that matches it alone.
# shellcheck disable=SC2001,SC2016  # a bracket expression, not a parameter, in sed's pattern
title_pattern() { printf '^%s$' "$(sed 's/[][\\.*^$()+?{}|]/\\&/g' <<<"$1")"; }

# Waits until a visible window with this exact title exists; prints its id.
# A loaded machine can take seconds to start the game, and under a window
# manager mapping waits for that process too: it gets ten.
wait_window() {
  local pattern id
  pattern=$(title_pattern "$1")
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}

window_gone() {
  local pattern
  pattern=$(title_pattern "$1")
  for _ in $(seq 40); do
    xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  return 1
}

# Top-left corner of a window's client area on the screen: "X Y". (xdotool's
# own geometry adds the window manager's frame offset a second time.)
window_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF } END { print x, y }'
}

# Waits for the court and the welcome window over it: sets court and hello to
# their ids, and cx cy, hx hy to their client areas' corners. WHOSE, if given,
# ends the failure messages ("from the installed program").
game_windows() {
  court=$(wait_window "$COURT_TITLE") || fail "no court window${1:+ $1}"
  hello=$(wait_window "$HELLO_TITLE") || fail "no welcome window${1:+ $1}"
  read -r cx cy < <(window_origin "$court")
  read -r hx hy < <(window_origin "$hello")
}

click_play() { read -r hx hy < <(window_origin "$hello"); xdotool mousemove $((hx + PLAY_X)) $((hy + PLAY_Y)) click 1; }
click_exit() { read -r hx hy < <(window_origin "$hello"); xdotool mousemove $((hx + EXIT_X)) $((hy + EXIT_Y)) click 1; }

# Whether the keyboard focus is in window ID, on it or on one of its children.
has_keyboard() {
  local focus parent
  focus=$(xdotool getwindowfocus 2>/dev/null) || return 1
  while [ -n "$focus" ] && [ "$focus" -gt 1 ]; do
    [ "$focus" = "$1" ] && return 0
    parent=$(xwininfo -id "$focus" -tree 2>/dev/null | awk '/Parent window id:/ { print $4 }')
    focus=$((${parent:-0}))
  done
  return 1
}

# Replaces the text of the delay prompt. A window manager hands the keyboard
# to a new window a moment after it is shown: keys typed before go to the
# window under it, and a key that answers there could start a rally.
type_answer() {
  local prompt
  if prompt=$(wait_window "$PROMPT_TITLE"); then
    for _ in $(seq 100); do has_keyboard "$prompt" && break; sleep 0.05; done
  fi
  xdotool key --clearmodifiers ctrl+a
  xdotool type -- "$1"
}

# Holds KEY down for SECONDS, as a player leaning on it: the X server
# repeats it meanwhile (Xvfb's default: after 660 ms, 25 times a second).
hold_key() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}

# How many visible windows have this exact title.
count_windows() {
  xdotool search --onlyvisible --name "$(title_pattern "$1")" 2>/dev/null | wc -l
}

# From the welcome window to a rally: ИГРАТЬ, DELAY (the offered 50 unless
# given) and Return; returns once the welcome window has gone.
start_rally() {
  click_play
  wait_window "$PROMPT_TITLE" >/dev/null || fail "no delay prompt"
  [ -z "${1:-}" ] || type_answer "$1"
  xdotool key Return
  window_gone "$HELLO_TITLE" || fail "the welcome window stays during a rally"
}

# Puts the racket under x = 225 pt by a move over the court's free surface
# (below the welcome window, above the racket), then rests the pointer on the
# racket (a move over it does not move it) and makes sure it is there: the
# racket is red. The first move can miss: the ball may be passing under the
# pointer, or a busy program may take both moves in one, so the pair is tried
# again a few times.
point_at_racket() {
  local seen
  for _ in 1 2 3 4 5; do
    xdotool mousemove $((cx + 300)) $((cy + 475))
    sleep 0.2
    xdotool mousemove $((cx + 320)) $((cy + 500))
    # A busy machine may take a while to move and paint the racket.
    for _ in $(seq 10); do
      seen=$(pixel $((cx + 320)) $((cy + 500)))
      [ "$seen" = "255,0,0" ] && return 0
      sleep 0.1
    done
  done
  fail "the pointer is not on the racket (the pixel under it is $seen, the court's corner at $cx,$cy)"
}

# A click on the wall bar stops the rally and brings the welcome window back.
# A rally can also end by itself, won or lost, just before the click: then the
# game's message comes first, and it is answered.
stop_rally() {
  local message
  message=$(title_pattern "$MESSAGE_TITLE")
  xdotool mousemove $((cx + WALL_X)) $((cy + WALL_Y)) click 1
  for _ in $(seq 200); do
    hello=$(xdotool search --onlyvisible --name "$(title_pattern "$HELLO_TITLE")" 2>/dev/null | head -n1 || true)
    [ -n "$hello" ] && return 0
    xdotool search --onlyvisible --name "$message" >/dev/null 2>&1 && xdotool key Return
    sleep 0.05
  done
  fail "the welcome window did not come back after a wall click"
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

# Watches a rally for up to 8 s: sets COURT_CHANGED once the court's picture
# (W x H at X Y on screen) changes, and OPPONENT_MOVED once the opponent's
# racket (blue) on screen row ROW stands elsewhere; succeeds when both have.
# The opponent follows the ball only while it is in the upper half, which a
# slow ball can stay out of for a second or two.
watch_rally() {
  local x=$1 y=$2 w=$3 h=$4 row=$5 shot0 opp0
  court_shot() { import -window root -crop "${w}x${h}+$x+$y" -depth 8 rgb:- | md5sum; }
  COURT_CHANGED='' OPPONENT_MOVED=''
  shot0=$(court_shot) opp0=$(first_x_of_colour "$x" $((x + w)) "$row" "0,0,255")
  for _ in $(seq 16); do
    sleep 0.5
    [ -n "$COURT_CHANGED" ] || [ "$(court_shot)" = "$shot0" ] || COURT_CHANGED=1
    [ -n "$OPPONENT_MOVED" ] || [ "$(first_x_of_colour "$x" $((x + w)) "$row" "0,0,255")" = "$opp0" ] || OPPONENT_MOVED=1
    [ -n "$COURT_CHANGED" ] && [ -n "$OPPONENT_MOVED" ] && return 0
  done
  return 1
}

# The leftmost x from x0 to x1 on screen row y whose pixel is exactly R,G,B.
first_x_of_colour() {
  local x0=$1 x1=$2 y=$3 colour=$4 row
  row=$(import -window root -crop "$((x1 - x0))x1+$x0+$y" -depth 8 txt:-)
  printf '%s\n' "$row" |
    awk -v want="$colour" -v x0="$x0" 'NR>1 { split($1, p, /[,:]/); gsub(/[()]/, "", $2); split($2, c, ",");
      if (c[1] "," c[2] "," c[3] == want && !found) { print x0 + p[1]; found = 1 } }'
}
