#!/usr/bin/env bash
# A whole session as a player meets it, in a real window driven by real X
# events: the court at design, the welcome form over it, staying above it
# when the court is clicked; Enter on the focused "ИГРАТЬ"; a rejected and an
# accepted delay; a rally in which the ball moves, the opponent follows it
# and the racket follows the pointer; a wall click that stops it; Space on the
# welcome form that comes back, which plays again; and Tab, keypad Enter on
# "ВЫЙТИ".
# Enter and Space are held down for seconds where a player presses them:
# each presses its button once, and a key held on a box presses nothing
# after it.
# Runs bare or under the window manager named by X_WINDOW_MANAGER.
set -euo pipefail
game=$1
# shellcheck source=tools/lib/xsession.sh
source "$(dirname "$0")/../../tools/lib/xsession.sh"
start_x

# The pointer rests off the court: Windows, and Wine, give a window that
# appears under a resting pointer a mouse move, and the racket would follow it
# before the first picture is read.
xdotool mousemove 0 0
start_game "$game"
game_windows
# The welcome window lies over the court's middle.
[ $((hx - cx)) -gt 0 ] && [ $((hy - cy)) -gt 0 ] || fail "welcome window not over the court"

# The court at design, before any game, around the welcome window: the red
# wall bar from 3 to 21 pt, the blue goal bar from 396 to 414 pt, the court's
# pale picture just outside both (not the pink back colour), and the rackets
# where the layout puts them: the player's at 171.01 pt, the opponent's at
# 180 pt (the first pixel of their colour may be a border's width inside).
pale() { awk -F, '{ exit !($1 >= 240 && $2 >= 230 && $3 >= 220) }' <<<"$1"; }
# A mapped window may not be painted yet.
for _ in $(seq 40); do [ "$(pixel $((cx + WALL_X)) $((cy + WALL_Y)))" = "255,0,0" ] && break; sleep 0.05; done
for spot in "$WALL_Y 255,0,0" "540 0,0,192"; do
  read -r y want <<<"$spot"
  seen=$(pixel $((cx + WALL_X)) $((cy + y)))
  [ "$seen" = "$want" ] || fail "the court at design shows $seen, not $want, at $WALL_X,$y px"
done
for y in 2 30 524; do
  seen=$(pixel $((cx + WALL_X)) $((cy + y)))
  pale "$seen" || fail "the court at design shows $seen, not its picture, at $WALL_X,$y px"
done
for spot in "500 255,0,0 228 racket" "52 0,0,255 240 opponent"; do
  read -r y colour want who <<<"$spot"
  left=$(first_x_of_colour "$cx" $((cx + 573)) $((cy + y)) "$colour")
  [ -n "$left" ] && [ $((left - cx - want)) -ge 0 ] && [ $((left - cx - want)) -le 2 ] ||
    fail "the $who at design begins at ${left:+$((left - cx))} px, not at $want"
done
echo "PASS: the court at design"

if [ -n "${X_WINDOW_MANAGER:-}" ]; then
  # A click on the court's free surface (left of the welcome window, above
  # the racket) makes the court the active window, and the welcome window
  # stays above it.
  xdotool mousemove $((cx + 30)) $((cy + 470)) click 1
  for _ in $(seq 40); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$court" ] && break
    sleep 0.05
  done
  [ "$(xdotool getactivewindow)" = "$court" ] || fail "a click on the court did not make it the active window"
  stands_above "$hello" "$court" || fail "a click on the court raised it over the welcome window"
  echo "PASS: the welcome window stays above the court clicked under $X_WINDOW_MANAGER"
  # Back to the welcome window, as a player would click its title.
  xdotool windowactivate --sync "$hello"
fi

# Exactly one delay prompt, still asking, over the welcome window that
# stays: the repeats of a held key neither opened a second one nor answered it.
one_prompt_after() {
  wait_window "$PROMPT_TITLE" >/dev/null ||
    fail "no delay prompt after $1; the windows shown: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | paste -sd '|')"
  sleep 0.3
  [ "$(count_windows "$PROMPT_TITLE")" -eq 1 ] || fail "$(count_windows "$PROMPT_TITLE") delay prompts after $1"
  [ "$(count_windows "$HELLO_TITLE")" -eq 1 ] || fail "the held key answered the delay prompt ($1)"
  echo "PASS: one delay prompt, still asking, after $1"
}

# The player's racket is not drawn down (its top edge black, not white): a
# key held on the focused racket would hold it down, and click it when let
# go. Where the ball covers the racket's left end, there is nothing to see.
racket_raised() {
  local left
  left=$(first_x_of_colour "$cx" $((cx + 573)) "$racket_row" "255,0,0")
  [ -z "$left" ] || [ "$(pixel $((left + 6)) $((cy + 489)))" != "0,0,0" ]
}

# "ИГРАТЬ" has the focus: Enter, held down, presses it once. Then a rejected answer.
hold_key Return 3
one_prompt_after "Enter held for 3 s on the welcome window"
type_answer 5
hold_key Return 3
one_prompt_after "Enter held for 3 s on a rejected answer"

# The racket follows the pointer over the court's free surface (row 300 pt).
racket_row=$((cy + 500))          # 375 pt, inside the racket (366.75..384.75 pt)
opponent_row=$((cy + 52))         # 39 pt, inside the opponent's racket

# Enter held on the prompt accepts it with its first press; its repeats and
# its release reach the court's focused racket, and press nothing there.
type_answer 50
xdotool keydown Return
window_gone "$PROMPT_TITLE" || fail "an accepted answer did not close the prompt"
window_gone "$HELLO_TITLE" || fail "the welcome window stays during a rally"
for _ in 1 2 3 4 5; do
  sleep 0.5
  racket_raised || { xdotool keyup Return; fail "Enter held after the prompt holds the racket down"; }
done
xdotool keyup Return
sleep 0.2
racket_raised || fail "the racket is down after Enter held on the prompt was let go"
echo "PASS: Enter held on the delay prompt starts one game and presses nothing on the court"
# A busy machine may take a while to paint the racket, and a move that
# meets the ball under the pointer is not the surface's: each try moves the
# pointer again, by a pixel to and fro.
for x_pt in 60 300; do
  want=$((cx + (x_pt * 4 / 3) - 2))
  for try in $(seq 20); do
    xdotool mousemove $((cx + x_pt * 4 / 3 + try % 2)) $((cy + 400))
    sleep 0.1
    left=$(first_x_of_colour "$cx" $((cx + 573)) "$racket_row" "255,0,0")
    [ -n "$left" ] && [ $((left - want)) -ge -3 ] && [ $((left - want)) -le 3 ] && break
  done
  [ -n "$left" ] && [ $((left - want)) -ge -3 ] && [ $((left - want)) -le 3 ] ||
    fail "racket not under the pointer at ${x_pt} pt (left edge ${left:-none}, expected about $want)"
done

# The ball moves and the opponent follows it: both pictures change.
watch_rally "$cx" "$cy" 573 554 "$opponent_row" || true
[ -n "$COURT_CHANGED" ] || fail "the court did not change during a rally"
[ -n "$OPPONENT_MOVED" ] || fail "the opponent did not move in 8 s of a rally"

# A click on the red wall bar stops the rally; the welcome form comes back
# with the focus on "ИГРАТЬ" again: Space plays, it does not leave.
stop_rally
hold_key space 3
one_prompt_after "Space held for 3 s on the welcome window after a rally"
kill -0 "$GAME_PID" 2>/dev/null || fail "Space on the welcome window after a rally ended the program"
type_answer 100
xdotool key KP_Enter
window_gone "$HELLO_TITLE" || fail "keypad Enter did not accept the answer"
stop_rally

# Tab moves the focus to "ВЫЙТИ"; keypad Enter presses it: the program ends
# with status 0 within a second.
xdotool key Tab KP_Enter
expect_exit_0_within "Tab and keypad Enter on the exit button"
