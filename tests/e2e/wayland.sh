#!/usr/bin/env bash
# The game on Wayland as a player meets it: weston (its X11 backend in a
# private X server, so real X input reaches it and the screen can be read),
# the game on Qt's wayland platform, both windows shown, a maximise request
# on either window through the maximise button Qt draws, a game played, and
# the program ending with status 0 on ВЫЙТИ and on a window's close button
# while the delay prompt is open. Nothing may appear on the game's stderr.
#
# Usage: wayland.sh BOUNZO [SCREENSHOT_DIR]
#   SCREENSHOT_DIR  keeps a picture of the screen at each step
set -euo pipefail
game=$1
shots=${2:-}
here=$(dirname "$0")
# shellcheck source=tools/lib/xsession.sh
source "$here/../../tools/lib/xsession.sh"
start_x
# Its output is smaller than the X screen, so the pointer can leave it.
start_weston 1200 960
GAME_ERR=$(mktemp)
on_exit rm -f "$GAME_ERR"

# Colours the game paints exactly: the red wall bar (and racket), the dark
# blue goal bar, the button face of the welcome window's title and buttons;
# and the focus colour of Qt's style, which only the open box shows.
RED=255,0,0 GOAL=0,0,192 FACE=236,233,216 FOCUS=38,112,158
# Client areas in pixels; the designed sizes of the court and welcome forms.
COURT_W=573 HELLO_W=419
# Qt's Wayland decoration: a 30 px title bar, the close button's middle 14 px
# in from the right edge, the maximise button's 37 px.
TITLE_MID=15 CLOSE_IN=14 MAXIMISE_IN=37

screen() { import -window root -depth 8 rgb:-; }
# Bounding box of a colour on the screen: "LEFT TOP RIGHT BOTTOM COUNT", or nothing.
where() { screen | /usr/bin/python3 "$here/find_colour.py" 1280 "$1"; }
shot() { [ -z "$shots" ] || import -window root "$shots/wayland-$1.png"; }

# The court's client area: the goal bar's left edge and the wall bar's top
# are both 4 px inside it.
court_origin() {
  local goal red
  goal=$(where "$GOAL") red=$(where "$RED")
  [ -n "$goal" ] && [ -n "$red" ] || return 1
  read -r gl _ <<<"$goal"
  read -r _ rt _ <<<"$red"
  cx=$((gl - 4)) cy=$((rt - 4))
}
# The welcome window's client area: its title label starts 64 px inside it.
hello_origin() {
  local face
  face=$(where "$FACE")
  [ -n "$face" ] || return 1
  read -r fl ft _ <<<"$face"
  hx=$((fl - 64)) hy=$((ft - 64))
}
wait_for() {
  for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done
  return 1
}
alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended: $(cat "$GAME_ERR")"; }
# weston's X11 backend follows the pointer only once it has entered its
# window: come in from outside it each time.
click_at() {
  xdotool mousemove 1279 1023; sleep 0.1
  xdotool mousemove "$1" "$2"; sleep 0.2
  xdotool click 1
}
# Drags by a title bar from one point to another.
drag() {
  xdotool mousemove 1279 1023; sleep 0.1
  xdotool mousemove "$1" "$2"; sleep 0.2
  xdotool mousedown 1; sleep 0.1
  xdotool mousemove $((($1 + $3) / 2)) $((($2 + $4) / 2)); sleep 0.1
  xdotool mousemove "$3" "$4"; sleep 0.1
  xdotool mouseup 1; sleep 0.3
}
# weston puts windows where it likes, one over the other: the test drags them
# apart by their title bars, the welcome window (on top) to the right, then
# the court to the left, so no window covers the other's buttons.
start_game() {
  : >"$GAME_ERR"
  QT_QPA_PLATFORM=wayland "$game" 2>"$GAME_ERR" & GAME_PID=$!
  wait_for court_origin || fail "no court window on weston"
  wait_for hello_origin || fail "no welcome window on weston"
  sleep 0.5
  hello_origin
  drag $((hx + 40)) $((hy - TITLE_MID)) $((760 + 40)) $((70 - TITLE_MID))
  court_origin
  drag $((cx + 40)) $((cy - TITLE_MID)) $((10 + 40)) $((70 - TITLE_MID))
  court_origin && [ "$cx $cy" = "10 70" ] || fail "the court is at $cx,$cy, not where it was dragged"
  hello_origin && [ "$hx $hy" = "760 70" ] || fail "the welcome window is at $hx,$hy, not where it was dragged"
}
press_play() { hello_origin || fail "no welcome window"; click_at $((hx + PLAY_X)) $((hy + PLAY_Y)); }
welcome_gone() { [ -z "$(where "$FACE")" ]; }

start_game
shot 1-started
read -r court_before < <(where "$GOAL")
hello_before="$hx $hy"

# Maximise requests on both windows leave the program running and both
# client areas where and as large as they were.
click_at $((cx + COURT_W - MAXIMISE_IN)) $((cy - TITLE_MID))
sleep 1.5
alive
shot 2-court-maximise-requested
[ "$(where "$GOAL")" = "$court_before" ] || fail "the court changed after a maximise request: $(where "$GOAL") (was $court_before)"
click_at $((hx + HELLO_W - MAXIMISE_IN)) $((hy - TITLE_MID))
sleep 1.5
alive
shot 3-welcome-maximise-requested
hello_origin || fail "the welcome window is gone after a maximise request"
[ "$hx $hy" = "$hello_before" ] || fail "the welcome window moved after a maximise request: $hx $hy (was $hello_before)"

# A game: ИГРАТЬ, the prompt takes the keyboard, 10 is accepted, the welcome
# window goes and the ball moves.
press_play
sleep 1
shot 4-prompt
alive
xdotool key --clearmodifiers ctrl+a
xdotool type "10"
xdotool key Return
wait_for welcome_gone || fail "the welcome window stays after an accepted delay"
frame1=$(screen | md5sum)
sleep 1
frame2=$(screen | md5sum)
shot 5-rally
[ "$frame1" != "$frame2" ] || fail "nothing moves during a rally"
alive

# A click on the wall bar stops the rally and brings the welcome window back;
# ВЫЙТИ ends the program.
# (The ball may be passing under the pointer: then the click is tried again.)
for _ in 1 2 3 4 5; do
  click_at $((cx + WALL_X)) $((cy + WALL_Y))
  for _ in $(seq 10); do hello_origin && break 2; sleep 0.1; done
done
hello_origin || fail "the welcome window did not come back after a wall click"
shot 6-welcome-back
click_at $((hx + EXIT_X)) $((hy + EXIT_Y))
expect_exit_0_within "ВЫЙТИ on Wayland"
[ ! -s "$GAME_ERR" ] || fail "the game wrote to stderr: $(cat "$GAME_ERR")"

# Again, and a window's close button while the delay prompt is open: the
# court's, unless the prompt lies over it, else the welcome window's. The
# prompt is found by its focus colour around the edit field and OK.
start_game
press_play
sleep 1
alive
read -r pl pt pr pb _ < <(where "$FOCUS") || fail "no delay prompt with the keyboard focus"
under_prompt() { [ "$1" -ge $((pl - 20)) ] && [ "$1" -le $((pr + 20)) ] && [ "$2" -ge $((pt - 80)) ] && [ "$2" -le $((pb + 20)) ]; }
shot 7-prompt-before-close
if ! under_prompt $((cx + COURT_W - CLOSE_IN)) $((cy - TITLE_MID)); then
  click_at $((cx + COURT_W - CLOSE_IN)) $((cy - TITLE_MID))
  closed="the court"
elif ! under_prompt $((hx + HELLO_W - CLOSE_IN)) $((hy - TITLE_MID)); then
  click_at $((hx + HELLO_W - CLOSE_IN)) $((hy - TITLE_MID))
  closed="the welcome window"
else
  fail "the delay prompt covers both close buttons"
fi
sleep 0.3
shot 8-after-close
expect_exit_0_within "closing $closed while the delay prompt is open on Wayland"
[ ! -s "$GAME_ERR" ] || fail "the game wrote to stderr: $(cat "$GAME_ERR")"
