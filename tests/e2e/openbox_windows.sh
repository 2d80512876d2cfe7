#!/usr/bin/env bash
# The game's windows under a window manager (openbox): the fixed-size windows
# offer no maximise, a title-bar double click and a fullscreen request leave
# both windows where and as large as they were, and the delay prompt's frame,
# not its client area, starts at the position the game asks for.
#
# Usage: openbox_windows.sh BOUNZO CLOSE_WINDOW
set -euo pipefail
game=$1
close_window=$2
here=$(dirname "$0")
# shellcheck source=tools/lib/xsession.sh
source "$here/../../tools/lib/xsession.sh"
X_WINDOW_MANAGER=openbox start_x

"$game" & GAME_PID=$!
game_windows
sleep 0.5

# Where a window's client area is on the screen, and its size: "X Y W H".
client() { echo "$(window_origin "$1") $(xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }')"; }
# Frame extents the window manager reports: "LEFT RIGHT TOP BOTTOM".
extents() { xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g'; }

for w in "$court" "$hello"; do
  xprop -id "$w" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE && fail "window $w offers maximise"
done

court_before=$(client "$court") hello_before=$(client "$hello")
read -r cx cy _ <<<"$court_before"
read -r _ _ top _ < <(extents "$court")
# A double click on the court's title bar (left of its middle, clear of the
# welcome window and the buttons), then fullscreen requests on both windows.
xdotool mousemove $((cx + 40)) $((cy - top / 2)) click --repeat 2 --delay 80 1
sleep 0.5
for w in "$court" "$hello"; do /usr/bin/python3 "$here/net_wm_state.py" "$w" _NET_WM_STATE_FULLSCREEN; done
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended after maximise requests"
[ "$(client "$court")" = "$court_before" ] || fail "the court is at $(client "$court") after maximise requests (was $court_before)"
[ "$(client "$hello")" = "$hello_before" ] || fail "the welcome window is at $(client "$hello") after maximise requests (was $hello_before)"
echo "PASS: maximise and fullscreen requests change neither window"

# ИГРАТЬ: the prompt's frame starts at 3610.8 twips, 240.72 px, from the
# screen's top-left corner, and it stays over the court.
click_play
prompt=$(wait_window "$PROMPT_TITLE") || fail "no delay prompt"
sleep 0.5
read -r px py _ < <(client "$prompt")
read -r left _ top _ < <(extents "$prompt")
[ "$((px - left)) $((py - top))" = "241 241" ] ||
  fail "the prompt's frame starts at $((px - left)),$((py - top)), not at 241,241 (client area at $px,$py)"
xprop -id "$prompt" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$court")" || fail "the prompt is not a transient of the court"
echo "PASS: the prompt's frame starts at the asked position, over the court"

"$close_window" "$court" || fail "could not ask the court to close"
expect_exit_0_within "closing the court behind the prompt under openbox"
