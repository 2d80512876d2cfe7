#!/usr/bin/env bash
# Every way of leaving the game, in a real X server with real X events: the
# program must end with status 0 within a second, whatever runs at the time.
#
# Usage: leaving.sh WAY BOUNZO CLOSE_WINDOW
#   WAY           one of the cases below
#   BOUNZO        the game
#   CLOSE_WINDOW  the helper that asks a window to close as a close button does
set -euo pipefail
way=$1
game=$2
close_window=$3
# shellcheck source=tools/lib/xsession.sh
source "$(dirname "$0")/../../tools/lib/xsession.sh"
start_x

# One way runs the game with a small stack, its soft and hard limits alike.
[ "$way" != exit_button_after_nesting_beyond_the_stack ] || ulimit -s 1536
start_game "$game"
game_windows

# From the welcome window to a running rally at the quickest delay.
quick_rally() {
  start_rally 10
  sleep 0.3
}

close() { "$close_window" "$1" || fail "could not ask window $1 to close"; }

case $way in
  exit_button)
    click_exit
    expect_exit_0_within "the exit button";;
  exit_button_after_a_game)
    quick_rally; stop_rally; click_exit
    expect_exit_0_within "the exit button after a game";;
  exit_button_during_a_racket_rally)
    # A racket click from the welcome state starts a rally with the welcome
    # window still shown over the court; its exit button leaves at once.
    quick_rally; stop_rally; point_at_racket
    xdotool click 1
    sleep 0.5
    kill -0 "$GAME_PID" || fail "the program ended by itself"
    click_exit
    expect_exit_0_within "the exit button during a rally";;
  exit_button_after_nesting_beyond_the_stack)
    # Racket clicks nest rallies until one finds no room left on the stack:
    # that click is refused with the run-time error box, the program lives
    # on, the rallies go on once the box is closed, and the exit button leaves.
    # At the slowest delay the innermost game cannot end meanwhile with its
    # message, which would hold the exit button's click.
    start_rally 100; stop_rally; point_at_racket
    for _ in $(seq 100); do
      xdotool click --repeat 10 --delay 10 1
      [ "$(count_windows "$ERROR_TITLE")" -eq 0 ] || break
    done
    wait_window "$ERROR_TITLE" >/dev/null || fail "no run-time error box after nesting beyond the stack"
    kill -0 "$GAME_PID" || fail "the program ended nesting beyond the stack"
    xdotool key Return
    window_gone "$ERROR_TITLE" || fail "the run-time error box did not close"
    # The ball may stay behind the welcome window a while at this delay.
    shot1=$(import -window root -crop "573x554+$cx+$cy" -depth 8 rgb:- | md5sum)
    for _ in $(seq 40); do
      sleep 0.25
      shot2=$(import -window root -crop "573x554+$cx+$cy" -depth 8 rgb:- | md5sum)
      [ "$shot1" = "$shot2" ] || break
    done
    [ "$shot1" != "$shot2" ] || fail "the rallies stopped after the run-time error"
    click_exit
    expect_exit_0_within "the exit button after nesting beyond the stack";;
  close_court)
    close "$court"
    expect_exit_0_within "closing the court window";;
  close_welcome)
    close "$hello"
    expect_exit_0_within "closing the welcome window";;
  close_court_during_a_rally)
    quick_rally
    close "$court"
    expect_exit_0_within "closing the court window during a rally";;
  close_court_in_nested_rallies)
    quick_rally; point_at_racket
    for _ in 1 2 3 4 5; do xdotool click 1; sleep 0.15; done
    kill -0 "$GAME_PID" || fail "the program ended by itself"
    close "$court"
    expect_exit_0_within "closing the court window inside nested rallies";;
  close_welcome_during_a_racket_rally)
    quick_rally; stop_rally; point_at_racket
    xdotool click 1
    sleep 0.5
    close "$hello"
    expect_exit_0_within "closing the welcome window during a rally";;
  close_court_while_the_prompt_is_open)
    click_play
    wait_window "$PROMPT_TITLE" >/dev/null || fail "no delay prompt"
    close "$court"
    expect_exit_0_within "closing the court window while the delay prompt is open";;
  close_welcome_while_the_prompt_is_open)
    click_play
    wait_window "$PROMPT_TITLE" >/dev/null || fail "no delay prompt"
    close "$hello"
    expect_exit_0_within "closing the welcome window while the delay prompt is open";;
  close_court_while_a_message_is_open)
    # The first racket click before any game runs a game without pumping,
    # which ends at once with its win or loss message.
    point_at_racket
    xdotool click 1
    wait_window "$MESSAGE_TITLE" >/dev/null || fail "no end-of-game message"
    close "$court"
    expect_exit_0_within "closing the court window while an end-of-game message is open";;
  display_lost_during_a_rally)
    # Not a way a player leaves, but the process must not outlive its display.
    quick_rally
    kill "$XVFB_PID"
    for _ in $(seq 20); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.05; done
    kill -0 "$GAME_PID" 2>/dev/null && fail "the program still runs a second after its display went away"
    wait "$GAME_PID" || true
    GAME_PID=
    echo "PASS: the program ended with its display";;
  *) fail "unknown way of leaving: $way";;
esac
