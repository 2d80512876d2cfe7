#!/usr/bin/env bash
# The game on a Wayland compositor as a player meets it, on Wayland itself
# or through the compositor's Xwayland: the compositor runs on its X11
# backend in a private X server, so real X input reaches it and the screen
# can be read. The welcome window stands over the court, at the same place
# each time it is shown, with room for both title bars, and stays above the
# court when the court is clicked; the delay prompt stands over the court; a
# game is played; a wall click brings the welcome window back; ВЫЙТИ ends
# the program with status 0 within a second. Where Qt draws the title bars,
# a maximise request on the court changes nothing. Then again, closing a
# window while the delay prompt is open. Nothing may appear on the game's
# stderr.
#
# Usage: wayland.sh COMPOSITOR PLATFORM BOUNZO [SCREENSHOT_DIR]
#   COMPOSITOR      weston, mutter, kwin or sway
#   PLATFORM        wayland, or xwayland (Qt's xcb platform on the
#                   compositor's Xwayland)
#   SCREENSHOT_DIR  keeps a picture of the screen at each step
set -euo pipefail
compositor=$1
platform=$2
game=$3
shots=${4:-}
here=$(dirname "$0")
# shellcheck source=tools/lib/xsession.sh
source "$here/../../tools/lib/xsession.sh"
start_x
# Its output is smaller than the X screen, so the pointer can leave it.
if [ "$compositor" = weston ]; then
  [ "$platform" = wayland ] || fail "weston runs here without Xwayland"
  start_weston 1200 960
else
  start_compositor "$compositor" 1200 960
fi
GAME_ERR=$(mktemp)
on_exit rm -f "$GAME_ERR"

# Colours the game paints exactly: the red wall bar (and racket), the dark
# blue goal bar, the button face of the welcome window's title and buttons;
# and the focus colour of Qt's style, which only the open box shows.
RED=255,0,0 GOAL=0,0,192 FACE=236,233,216 FOCUS=38,112,158
# Client areas in pixels; the designed sizes of the court and welcome forms.
COURT_W=573 COURT_H=554 HELLO_W=419 HELLO_H=367
# A title bar is at most this high: the welcome window's client area starts
# at least this far below the court's, so neither title bar is covered.
TITLE_ROOM=24
# Qt's Wayland decoration (weston, mutter): a 30 px title bar, the close
# button's middle 14 px in from the right edge, the maximise button's 37 px.
TITLE_MID=15 CLOSE_IN=14 MAXIMISE_IN=37
# The close button of the caption the game draws over a window it shows
# inside the court: its middle 12 px in from the right edge, 12 px above the
# client area.
DRAWN_CLOSE_IN=12 DRAWN_CLOSE_UP=12

screen() { import -window root -depth 8 rgb:-; }
# Bounding boxes of colours on one picture of the screen, one line each:
# "LEFT TOP RIGHT BOTTOM COUNT", or an empty line.
where() { screen | /usr/bin/python3 "$here/find_colour.py" 1280 "$@"; }
step=0
shot() {
  step=$((step + 1))
  [ -z "$shots" ] || import -window root "$shots/$compositor-$platform-$step-$1.png"
}

# Both windows' client areas, read off one picture of the screen: cx cy for
# the court (its goal bar's left edge and its wall bar's top are both 4 px
# inside it), hx hy for the welcome window (its title label starts 64 px
# inside it; empty when it does not show).
look() {
  local goal red face
  { read -r goal; read -r red; read -r face; } < <(where "$GOAL" "$RED" "$FACE")
  [ -n "$goal" ] && [ -n "$red" ] || return 1
  read -r gl _ <<<"$goal"
  read -r _ rt _ <<<"$red"
  cx=$((gl - 4)) cy=$((rt - 4)) hx='' hy=''
  [ -z "$face" ] || { read -r fl ft _ <<<"$face"; hx=$((fl - 64)) hy=$((ft - 64)); }
}
court_origin() { look; }
hello_origin() { look && [ -n "$hx" ]; }
wait_for() {
  for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done
  return 1
}
alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended: $(cat "$GAME_ERR")"; }
# A compositor's X11 backend follows the pointer only once it has entered
# its window: come in from outside it each time.
click_at() {
  xdotool mousemove 1279 1023; sleep 0.1
  xdotool mousemove "$1" "$2"; sleep 0.2
  xdotool click 1
}
welcome_gone() { [ -z "$(where "$FACE")" ]; }

start_game() {
  : >"$GAME_ERR"
  if [ "$platform" = wayland ]; then
    QT_QPA_PLATFORM=wayland "$game" 2>"$GAME_ERR" & GAME_PID=$!
  else
    DISPLAY=$XWAYLAND_DISPLAY XAUTHORITY=${XWAYLAND_AUTH:-} QT_QPA_PLATFORM=xcb "$game" 2>"$GAME_ERR" & GAME_PID=$!
  fi
  wait_for court_origin || fail "no court window on $compositor"
  wait_for hello_origin || fail "no welcome window on $compositor"
  # Once both are up, the pictures settle: the welcome window is looked at
  # where it ends up, not where it is first drawn.
  sleep 0.5
  hello_origin || fail "a window went away on $compositor"
}

# The welcome window lies inside the court, centred across it, with a title
# bar's room above it, and at the place it had when first looked at.
welcome_place=
expect_welcome_over_court() {
  local when=$1 centre_off
  look || fail "no court $when"
  [ -n "$hx" ] || fail "no welcome window $when"
  centre_off=$(((hx + HELLO_W / 2) - (cx + COURT_W / 2)))
  [ "${centre_off#-}" -le 2 ] || fail "the welcome window is off the court's middle by $centre_off px $when"
  [ "$hy" -ge $((cy + TITLE_ROOM)) ] && [ $((hy + HELLO_H)) -le $((cy + COURT_H)) ] ||
    fail "the welcome window (client at $hx,$hy) is not inside the court (client at $cx,$cy) $when"
  [ -n "$welcome_place" ] || welcome_place="$((hx - cx)) $((hy - cy))"
  [ "$((hx - cx)) $((hy - cy))" = "$welcome_place" ] ||
    fail "the welcome window moved on the court $when: $((hx - cx)),$((hy - cy)) (was $welcome_place)"
  echo "PASS: the welcome window over the court $when on $compositor ($platform)"
}

# A click on the court's free surface, left of the welcome window and above
# the racket, leaves the welcome window over the court.
click_court() {
  click_at $((cx + 30)) $((cy + 470))
  sleep 0.5
  expect_welcome_over_court "$1"
}

# The delay prompt, found by its focus colour: its box on the screen.
prompt_box() {
  local found
  found=$(where "$FOCUS")
  [ -n "$found" ] || return 1
  read -r pl pt pr pb _ <<<"$found"
}
press_play() {
  click_at $((hx + PLAY_X)) $((hy + PLAY_Y))
  wait_for prompt_box || fail "no delay prompt with the keyboard focus"
}

qt_draws_title_bars=false
[ "$platform" = wayland ] && case $compositor in weston | mutter) qt_draws_title_bars=true ;; esac

start_game
shot started
expect_welcome_over_court "at start"
click_court "after a click on the court"
shot court-clicked

# A maximise request on the court leaves the program running and the court
# where and as large as it was.
if $qt_draws_title_bars; then
  read -r court_before < <(where "$GOAL")
  click_at $((cx + COURT_W - MAXIMISE_IN)) $((cy - TITLE_MID))
  sleep 1.5
  alive
  shot court-maximise-requested
  [ "$(where "$GOAL")" = "$court_before" ] || fail "the court changed after a maximise request: $(where "$GOAL") (was $court_before)"
fi

# A game: ИГРАТЬ, the prompt over the court takes the keyboard, 100 is
# accepted, the welcome window goes and the ball moves.
press_play
shot prompt
[ "$pl" -ge "$cx" ] && [ "$pr" -lt $((cx + COURT_W)) ] && [ "$pt" -ge "$cy" ] && [ "$pb" -lt $((cy + COURT_H)) ] ||
  fail "the delay prompt ($pl,$pt to $pr,$pb) is not over the court (client at $cx,$cy)"
echo "PASS: the delay prompt over the court on $compositor ($platform)"
# The slowest delay: a busy machine may take seconds to reach the wall click,
# and at a quick one the game could end with its message before it.
xdotool key --clearmodifiers ctrl+a
xdotool type "100"
xdotool key Return
wait_for welcome_gone || fail "the welcome window stays after an accepted delay"
frame1=$(screen | md5sum)
sleep 1
frame2=$(screen | md5sum)
shot rally
[ "$frame1" != "$frame2" ] || fail "nothing moves during a rally"
alive

# A click on the wall bar stops the rally and brings the welcome window back
# to its place; a click on the court leaves it there; ВЫЙТИ ends the program.
# (The ball may be passing under the pointer: then the click is tried again.)
for _ in 1 2 3 4 5; do
  click_at $((cx + WALL_X)) $((cy + WALL_Y))
  for _ in $(seq 10); do hello_origin && break 2; sleep 0.1; done
done
sleep 0.5
shot welcome-back
expect_welcome_over_court "after a wall click"
click_court "after a wall click and a click on the court"
shot welcome-back-court-clicked
click_at $((hx + EXIT_X)) $((hy + EXIT_Y))
expect_exit_0_within "ВЫЙТИ on $compositor ($platform)"
[ ! -s "$GAME_ERR" ] || fail "the game wrote to stderr: $(cat "$GAME_ERR")"

# Again, and a close button while the delay prompt is open, where the test
# can reach one: the court's where Qt draws it, unless the prompt lies over
# it; else the one on the welcome window's caption that the game draws
# (on Wayland, and under sway).
[ "$platform" = wayland ] || [ "$compositor" = sway ] || $qt_draws_title_bars || exit 0
start_game
press_play
alive
under_prompt() { [ "$1" -ge $((pl - 20)) ] && [ "$1" -le $((pr + 20)) ] && [ "$2" -ge $((pt - 80)) ] && [ "$2" -le $((pb + 20)) ]; }
shot prompt-before-close
if $qt_draws_title_bars && ! under_prompt $((cx + COURT_W - CLOSE_IN)) $((cy - TITLE_MID)); then
  click_at $((cx + COURT_W - CLOSE_IN)) $((cy - TITLE_MID))
  closed="the court"
elif ! under_prompt $((hx + HELLO_W - DRAWN_CLOSE_IN)) $((hy - DRAWN_CLOSE_UP)); then
  click_at $((hx + HELLO_W - DRAWN_CLOSE_IN)) $((hy - DRAWN_CLOSE_UP))
  closed="the welcome window"
else
  fail "the delay prompt covers both close buttons"
fi
sleep 0.3
shot after-close
expect_exit_0_within "closing $closed while the delay prompt is open on $compositor ($platform)"
[ ! -s "$GAME_ERR" ] || fail "the game wrote to stderr: $(cat "$GAME_ERR")"
