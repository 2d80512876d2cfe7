#!/usr/bin/env bash
# A whole session as a player meets it, in a real window driven by real X
# events: the welcome form over the court, a rejected and an accepted delay,
# a rally in which the ball moves, the opponent follows it and the racket
# follows the pointer, a wall click that stops it, and the exit button.
set -euo pipefail
game=$1
source "$(dirname "$0")/xsession.sh"
start_x

"$game" & GAME_PID=$!
court=$(wait_window "Quindle1 - frm_court \(Form\)") || fail "no court window"
hello=$(wait_window "Bounzo команда Bounzo") || fail "no welcome window over the court"
read -r cx cy < <(window_origin "$court")
read -r hx hy < <(window_origin "$hello")
# The welcome window lies over the court's middle.
[ $((hx - cx)) -gt 0 ] && [ $((hy - cy)) -gt 0 ] || fail "welcome window not over the court"

# "ИГРАТЬ" (101.99, 119.99 pt, 102 x 30 pt), then a rejected answer.
xdotool mousemove $((hx + 204)) $((hy + 180)) click 1
prompt=$(wait_window "Задержка анимации...") || fail "no delay prompt"
xdotool key --clearmodifiers ctrl+a
xdotool type "5"
xdotool key Return
sleep 0.3
prompt=$(wait_window "Задержка анимации...") || fail "a rejected answer did not bring the prompt back"
xdotool key --clearmodifiers ctrl+a
xdotool type "50"
xdotool key Return
window_gone "Задержка анимации..." || fail "an accepted answer did not close the prompt"
window_gone "Bounzo команда Bounzo" || fail "the welcome window stays during a rally"

# The racket follows the pointer over the court's free surface (row 300 pt).
racket_row=$((cy + 500))          # 375 pt, inside the racket (366.75..384.75 pt)
opponent_row=$((cy + 52))         # 39 pt, inside the opponent's racket
for x_pt in 60 300; do
  xdotool mousemove $((cx + x_pt * 4 / 3)) $((cy + 400))
  sleep 0.2
  left=$(first_x_of_colour "$cx" $((cx + 573)) "$racket_row" "255,0,0")
  want=$((cx + (x_pt * 4 / 3) - 2))
  [ -n "$left" ] && [ $((left - want)) -ge -3 ] && [ $((left - want)) -le 3 ] ||
    fail "racket not under the pointer at ${x_pt} pt (left edge ${left:-none}, expected about $want)"
done

# The ball moves and the opponent follows it: both pictures change.
shot1=$(import -window root -crop "573x554+$cx+$cy" -depth 8 rgb:- | md5sum)
opp1=$(first_x_of_colour "$cx" $((cx + 700)) "$opponent_row" "0,0,255")
sleep 1.5
shot2=$(import -window root -crop "573x554+$cx+$cy" -depth 8 rgb:- | md5sum)
opp2=$(first_x_of_colour "$cx" $((cx + 700)) "$opponent_row" "0,0,255")
[ "$shot1" != "$shot2" ] || fail "the court did not change during a rally"
[ "${opp1:-x}" != "${opp2:-y}" ] || fail "the opponent did not move (${opp1:-none} then ${opp2:-none})"

# A click on the red wall bar stops the rally; the welcome form comes back.
xdotool mousemove $((cx + 286)) $((cy + 16)) click 1
hello=$(wait_window "Bounzo команда Bounzo") || fail "the welcome window did not come back after a wall click"
read -r hx hy < <(window_origin "$hello")

# "ВЫЙТИ" (101.99, 170.99 pt) ends the program with status 0 within a second.
xdotool mousemove $((hx + 204)) $((hy + 248)) click 1
expect_exit_0_within "the exit button"
