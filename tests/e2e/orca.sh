#!/usr/bin/env bash
# The game with Orca, Debian's screen reader, as a blind player meets it:
# Orca on a private session and accessibility bus under openbox, its speech
# written to a file. Orca must speak ИГРАТЬ when the welcome window opens
# with the focus on it, and during rallies at delay 10 each side's new score
# as it changes, the player's (whose racket may have the focus) and the
# opponent's (whose racket never has it). Games are played until both have
# been heard, each lost game's message closed; then a wall click and ВЫЙТИ.
set -euo pipefail
game=$1
here=$(dirname "$0")
# shellcheck source=tools/lib/xsession.sh
source "$here/../../tools/lib/xsession.sh"
# shellcheck source=tools/lib/a11y_session.sh
source "$here/../../tools/lib/a11y_session.sh"
X_WINDOW_MANAGER=openbox start_x
start_a11y_session
start_screen_reader

PLAYER="Твоя ракетка, на ней твой счёт"
OPPONENT="Ракетка соперника, на ней его счёт"

# What Orca has said so far, one utterance a line.
said() { sed -n "s/.* - SPEECH OUTPUT: '\(.*\)' \{0,1\}{'established.*/\1/p" "$ORCA_LOG"; }
fail_with_speech() { fail "$1; Orca's last words:$(said | tail -n 40 | sed 's/^/\n  /')"; }
# Waits up to SECONDS for an utterance matching the regular expression.
wait_to_hear() {
  local pattern=$1 seconds=$2
  for _ in $(seq $((seconds * 10))); do
    said | grep -Eq "$pattern" && return 0
    sleep 0.1
  done
  return 1
}
# A score Orca spoke for the racket with this description: the caption as the
# game writes it (" 1", " 2", ...) as a notification's name, then the racket's
# description.
heard_score_of() {
  said | awk -v description="$1." '
    previous ~ /^notification  [1-9][0-9]*\.$/ && $0 == description { found = 1 }
    { previous = $0 }
    END { exit !found }'
}

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$game" & GAME_PID=$!
game_windows
# Qt 6.4's bridge learns which events a listener wants from the registry's
# answer, which can come after the welcome window has opened: what happened
# before it is never sent. Then the focus is moved off ИГРАТЬ and back by Tab,
# until Orca has spoken it.
for _ in 1 2 3 4 5 6; do
  wait_to_hear "^ИГРАТЬ push button\.$" 5 && break
  xdotool key Tab sleep 0.3 key Tab
done
said | grep -q "^ИГРАТЬ push button\.$" || fail_with_speech "Orca did not speak ИГРАТЬ on focus"
echo "PASS: Orca spoke ИГРАТЬ on focus"

start_rally 10
message=$(title_pattern "$MESSAGE_TITLE")
# A game at delay 10 takes some seconds; a loaded machine gets two minutes.
deadline=$((SECONDS + 120))
while [ "$SECONDS" -lt "$deadline" ]; do
  heard_score_of "$PLAYER" && heard_score_of "$OPPONENT" && break
  # A game over: its message is closed and the next game started.
  if xdotool search --onlyvisible --name "$message" >/dev/null 2>&1; then
    xdotool key Return
    hello=$(wait_window "$HELLO_TITLE") || fail "no welcome window after a game's message"
    start_rally 10
  fi
  sleep 0.2
done
heard_score_of "$OPPONENT" || fail_with_speech "Orca never spoke the opponent's score"
heard_score_of "$PLAYER" || fail_with_speech "Orca never spoke the player's score"
echo "PASS: Orca spoke both scores as they changed:"
said | grep -A1 '^notification  ' | grep -v '^--$' | paste - - | head -n 6 | sed 's/^/  /'

stop_rally
click_exit
expect_exit_0_within "ВЫЙТИ with Orca listening" 5
