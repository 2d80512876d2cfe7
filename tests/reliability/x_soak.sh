#!/usr/bin/env bash
# The real program in its own X server under seeded random X input for a
# while: pointer moves and clicks on the court, the racket and the wall, the
# welcome buttons, good and bad answers typed into the delay prompt, Return
# and Escape, end-of-game messages closed in every way. Throughout, the
# program must stay alive and answer (the prompt goes and comes back as it
# should, a wall click brings the welcome window back), and it may write
# nothing to stderr. At the end it is led back to the welcome window and
# left by "ВЫЙТИ" or by closing a window: it must end with status 0 within
# a second.
#
# Usage: x_soak.sh BOUNZO CLOSE_WINDOW [SECONDS]
#   SECONDS             how long to play (BOUNZO_X_SOAK_SECONDS, or 15)
#   BOUNZO_X_SOAK_SEED  replay the input of this seed (a new one unless set)
set -euo pipefail
game=$1
close_window=$2
seconds=${3:-${BOUNZO_X_SOAK_SECONDS:-15}}
seed=${BOUNZO_X_SOAK_SEED:-$(( $(date +%s%N) % 1000000007 ))}
# shellcheck source=tools/lib/xsession.sh
source "$(dirname "$0")/../../tools/lib/xsession.sh"

# Qt warns on stderr when it finds no runtime directory; a private one keeps
# stderr for what the program itself has to say.
start_x
runtime_dir=$(mktemp -d)
errors=$(mktemp)
on_exit rm -rf "$runtime_dir" "$errors"
export XDG_RUNTIME_DIR=$runtime_dir

BAD_ANSWERS=("5" "9.99" "100.01" "101" "-50" "0" "abc" "nan" "1e999" "пятьдесят" "５０" "   " "&H32")

RANDOM=$seed
echo "x soak: seed $seed, $seconds s"
plays=0 games=0 bad=0 cancels=0 messages=0 racket=0 wall=0 other=0 keys=0 moves=0 nested=0
soak_fail() { echo "FAIL (replay: BOUNZO_X_SOAK_SEED=$seed): $*" >&2; cat "$errors" >&2; exit 1; }

"$game" 2>"$errors" & GAME_PID=$!
# Without a window manager nothing moves the windows: the welcome window is
# shown over the court's middle each time.
game_windows

# Random numbers are drawn in this shell only (a subshell draws from a
# generator of its own, which the seed does not set), and the clock is read
# without a subshell: $now, in milliseconds.
read_clock() { now=${EPOCHREALTIME/./}; now=$((now / 1000)); }

# The titles of the game's windows that are shown now, one a line: one look
# at the screen.
ANY_TITLE="$(title_pattern "$COURT_TITLE")|$(title_pattern "$HELLO_TITLE")|$(title_pattern "$PROMPT_TITLE")|$(title_pattern "$MESSAGE_TITLE")"
shown=
look() { shown=$(xdotool search --onlyvisible --name "$ANY_TITLE" getwindowname %@ 2>/dev/null || true); }
is_shown() { [[ $'\n'$shown$'\n' == *$'\n'"$1"$'\n'* ]]; }
window_of() { xdotool search --onlyvisible --name "$(title_pattern "$1")" 2>/dev/null | head -n1 || true; }

click_at() { xdotool mousemove "$1" "$2" click 1; }
move_to() { xdotool mousemove "$1" "$2"; moves=$((moves + 1)); }

# A click anywhere on a welcome button whose middle is at X Y.
click_on_button() {
  click_at $((hx + $1 - BUTTON_REACH_X + RANDOM % (2 * BUTTON_REACH_X + 1))) \
    $((hy + $2 - BUTTON_REACH_Y + RANDOM % (2 * BUTTON_REACH_Y + 1)))
}

# A move over the court's lower free surface puts the racket under the
# pointer; then a click on it starts a rally, nested in any that runs.
click_racket() {
  local x=$((60 + RANDOM % 441))
  move_to $((cx + x)) $((cy + 470 + RANDOM % 13))
  click_at $((cx + x + 4 + RANDOM % 53)) $((cy + 492 + RANDOM % 19))
  racket=$((racket + 1))
}
# The wall bar keeps its top at 3 pt (4 px) as the player's points wear it
# down from its bottom: a row 5 px down hits it at every height it can have.
click_wall() { click_at $((cx + 10 + RANDOM % 551)) $((cy + 5)); wall=$((wall + 1)); }

# Waits up to `ms` milliseconds until `test` holds for a look at the screen,
# closing any end-of-game message that comes first (and saying so in
# closed_a_message).
within() {
  local ms=$1 test=$2 until
  closed_a_message=
  read_clock; until=$((now + ms))
  while :; do
    look
    $test && return 0
    if is_shown "$MESSAGE_TITLE"; then at_message; closed_a_message=1; continue; fi
    read_clock; [ "$now" -lt "$until" ] || return 1
    sleep 0.02
  done
}
prompt_shown() { is_shown "$PROMPT_TITLE"; }
rally_running() { ! is_shown "$PROMPT_TITLE" && ! is_shown "$HELLO_TITLE"; }
welcome_shown() { is_shown "$HELLO_TITLE" && ! is_shown "$PROMPT_TITLE"; }

# Replaces the prompt's text, or clears it, and confirms it.
answer() {
  if [ -n "$1" ]; then type_answer "$1"; else xdotool key --clearmodifiers ctrl+a BackSpace; fi
  xdotool key Return
}

at_prompt() {
  local r=$((RANDOM % 100)) text
  if [ "$r" -lt 12 ] && ! leaving; then
    if [ $((RANDOM % 3)) -eq 0 ]; then "$close_window" "$(window_of "$PROMPT_TITLE")"; else xdotool key Escape; fi
    cancels=$((cancels + 1))
    within 5000 prompt_shown || soak_fail "a cancelled prompt did not come back"
  elif [ "$r" -lt 35 ] && ! leaving; then
    text=${BAD_ANSWERS[$((RANDOM % ${#BAD_ANSWERS[@]}))]}
    [ $((RANDOM % 8)) -ne 0 ] || text=""
    answer "$text"
    bad=$((bad + 1))
    within 5000 prompt_shown || soak_fail "the prompt did not come back after \"$text\""
  else
    case $((RANDOM % 5)) in
      0) text="+$((10 + RANDOM % 91))";;
      1) text="$((10 + RANDOM % 90)).5";;
      2) text="$((10 + RANDOM % 91)) ходов";;
      *) text=$((10 + RANDOM % 21));;
    esac
    answer "$text"
    games=$((games + 1))
    within 5000 rally_running || soak_fail "the accepted delay \"$text\" did not start a rally with the welcome window hidden"
    read_clock; stop_rally_at=$((now + 300 + RANDOM % 4701))
    nested=0
  fi
}

at_message() {
  case $((RANDOM % 5)) in
    0|1) xdotool key Return;;
    2) xdotool key Escape;;
    3) type_answer "${BAD_ANSWERS[$((RANDOM % ${#BAD_ANSWERS[@]}))]}"; xdotool key Return;;
    4) "$close_window" "$(window_of "$MESSAGE_TITLE")";;
  esac
  messages=$((messages + 1))
}

# Random input while the welcome window covers the court's middle: clicks
# stay off the welcome window but for its title, credit and "ИГРАТЬ".
at_welcome() {
  local r=$((RANDOM % 100))
  if [ "$r" -lt 35 ]; then
    click_on_button "$PLAY_X" "$PLAY_Y"
    plays=$((plays + 1))
    # A rally started by a racket click runs with the welcome window shown;
    # a message of its end that opens just before the click takes it, as a
    # box keeps the player's input from the windows.
    within 5000 prompt_shown || [ -n "$closed_a_message" ] || soak_fail "ИГРАТЬ did not open the delay prompt"
  elif [ "$r" -lt 40 ] && [ "$nested" -lt 15 ]; then click_racket; nested=$((nested + 1))
  elif [ "$r" -lt 45 ]; then click_wall; nested=0
  elif [ "$r" -lt 50 ]; then click_at $((hx + 70 + RANDOM % 281)) $((hy + 66 + RANDOM % 75)); other=$((other + 1))
  elif [ "$r" -lt 55 ]; then click_at $((cx + 2 + RANDOM % 569)) $((cy + 470 + RANDOM % 83)); other=$((other + 1))
  elif [ "$r" -lt 70 ]; then move_to $((hx + 1 + RANDOM % 417)) $((hy + 1 + RANDOM % 365))
  else move_to $((cx + 1 + RANDOM % 571)) $((cy + 1 + RANDOM % 552))
  fi
}

in_rally() {
  local r=$((RANDOM % 100))
  read_clock
  if leaving || [ "$now" -ge "$stop_rally_at" ]; then
    # A wall click stops every rally, and the welcome window comes back.
    click_wall
    nested=0
    within 5000 welcome_shown || soak_fail "the welcome window did not come back within 5 s of a wall click"
  elif [ "$r" -lt 8 ] && [ "$nested" -lt 15 ]; then click_racket; nested=$((nested + 1))
  elif [ "$r" -lt 15 ]; then click_at $((cx + 2 + RANDOM % 569)) $((cy + 30 + RANDOM % 523)); other=$((other + 1))
  elif [ "$r" -lt 18 ]; then
    # Tab walks the court's buttons; Space presses the one in focus.
    if [ $((RANDOM % 2)) -eq 0 ]; then xdotool key Tab; else xdotool key space; fi
    keys=$((keys + 1))
  else move_to $((cx + 1 + RANDOM % 571)) $((cy + 1 + RANDOM % 552))
  fi
}

read_clock
start=$now
deadline=$((start + seconds * 1000))
leaving() { read_clock; [ "$now" -ge "$deadline" ]; }
stop_rally_at=0

# Plays until the time is up, then until the welcome window is reached and left.
left_by=
while [ -z "$left_by" ]; do
  kill -0 "$GAME_PID" 2>/dev/null || soak_fail "the program died"
  look
  is_shown "$COURT_TITLE" || soak_fail "the court window is no longer shown"
  read_clock
  [ $((now - deadline)) -lt 20000 ] || soak_fail "could not get back to the welcome window to leave"
  if { is_shown "$PROMPT_TITLE" || is_shown "$MESSAGE_TITLE"; } && leaving && [ $((RANDOM % 3)) -eq 0 ]; then
    # Closing a game window over an open box leaves at once too.
    if [ $((RANDOM % 2)) -eq 0 ]; then "$close_window" "$court"; left_by="closing the court window over a box"
    else "$close_window" "$hello"; left_by="closing the welcome window over a box"; fi
  elif is_shown "$PROMPT_TITLE"; then at_prompt
  elif is_shown "$MESSAGE_TITLE"; then at_message
  elif is_shown "$HELLO_TITLE" && leaving; then
    case $((RANDOM % 4)) in
      0) "$close_window" "$hello"; left_by="closing the welcome window";;
      1) "$close_window" "$court"; left_by="closing the court window";;
      *) click_on_button "$EXIT_X" "$EXIT_Y"; left_by="ВЫЙТИ";;
    esac
  elif is_shown "$HELLO_TITLE"; then at_welcome
  else in_rally
  fi
done

# The seed printed first replays a failure here too.
expect_exit_0_within "leaving by $left_by"
[ ! -s "$errors" ] || soak_fail "the program wrote to stderr:"
read_clock
echo "x soak: $(((now - start) / 1000)) s: $plays clicks on ИГРАТЬ, $games games from the prompt," \
  "$bad turned-down answers, $cancels cancels, $messages end-of-game messages closed, $racket racket clicks," \
  "$wall wall clicks, $other other clicks, $keys keys, $moves moves; left by $left_by"
