#!/usr/bin/env bash
# The whole game on one screen, given as WIDTHxHEIGHT and the desktop's font
# resolution (Xft.dpi: 96 is 100 %, 120 is 125 %, 192 is 200 %), and with
# PANEL a desktop panel that many pixels high along the screen's bottom,
# under openbox so the windows have frames: the court, frame included, on the
# screen's free part (above the panel) at the
# largest scale that fits and never above the display's own; the racket and
# both welcome buttons on screen; the delay prompt on screen; a rally in
# which the ball and the opponent move and the racket follows the pointer at
# that scale; a wall click; ВЫЙТИ ends the program with status 0.
set -euo pipefail
game=$1 size=$2 dpi=$3 panel=${4:-0}
# What follows calls the free part of the screen, above the panel, the screen.
screen_w=${size%x*} screen_h=$((${size#*x} - panel))
# shellcheck source=tools/lib/xsession.sh
source "$(dirname "$0")/../../tools/lib/xsession.sh"
X_WINDOW_MANAGER=openbox start_x "$size" "$dpi"
if [ "$panel" -gt 0 ]; then
  coproc PANEL { exec "$(dirname "$0")/panel.py" "$panel"; }
  # shellcheck disable=SC2034,SC2153  # the coproc's process id, for end_process to end at exit
  PANEL_ID=$PANEL_PID
  on_exit end_process PANEL_ID
  read -r ready <&"${PANEL[0]}" && [ "$ready" = ready ] || fail "the panel did not take its place"
fi

start_game "$game"
game_windows "on $size at $dpi dpi"

# A window's client size "W H" and its frame "LEFT RIGHT TOP BOTTOM".
client_size() { xwininfo -id "$1" | awk '/^  Width:/ { w = $NF } /^  Height:/ { h = $NF } END { print w, h }'; }
frame_of() { xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g'; }

# Fails unless the window's frame lies wholly on the screen.
expect_on_screen() {
  local id=$1 what=$2 x y w h fl fr ft fb
  read -r x y < <(window_origin "$id")
  read -r w h < <(client_size "$id")
  read -r fl fr ft fb < <(frame_of "$id")
  [ $((x - fl)) -ge 0 ] && [ $((y - ft)) -ge 0 ] &&
    [ $((x + w + fr)) -le "$screen_w" ] && [ $((y + h + fb)) -le "$screen_h" ] ||
    fail "$what is not wholly on the $size screen: client ${w}x${h}+$x+$y, frame $fl $fr $ft $fb"
}

# The frame may be drawn only once the window manager has framed the court.
for _ in $(seq 100); do [ -n "$(frame_of "$court" | tr -dc 0-9)" ] && break; sleep 0.05; done
sleep 0.3
read -r cx cy < <(window_origin "$court")
read -r hx hy < <(window_origin "$hello")
read -r cw ch < <(client_size "$court")
read -r _ _ ft fb < <(frame_of "$court")
expect_on_screen "$court" "the court"
expect_on_screen "$hello" "the welcome window"

# The scale, in screen pixels per point, from the court's width (429.59 pt).
# At most the display's own (dpi / 72); below it only where the court, frame
# included, would not fit otherwise, and then it fills the screen's height to
# a pixel or two (rounding of the client area), and on a scaled screen to a
# device-independent pixel more at each edge of the frame (which Qt reports
# rounded, so the game allows a pixel for it).
ppp=$(awk -v w="$cw" 'BEGIN { printf "%.6f", w / 429.59 }')
own=$(awk -v d="$dpi" 'BEGIN { printf "%.6f", d / 72 }')
awk -v p="$ppp" -v o="$own" 'BEGIN { exit !(p <= o * 1.003) }' || fail "court drawn at $ppp px/pt, above the display's $own"
# The Windows program reckons with the frame Windows gives its windows, which
# under Wine is Wine's (at 96 dpi a caption of 19 px and borders of 3, 25 px
# down), not the one openbox draws round it.
frame_h=$((ft + fb))
case $game in *.exe) [ "$frame_h" -ge 25 ] || frame_h=25 ;; esac
if awk -v p="$ppp" -v o="$own" 'BEGIN { exit !(p < o * 0.997) }'; then
  slack=$(awk -v d="$dpi" 'BEGIN { r = d / 96; printf "%d", (r == 1 ? 0 : 2 * r + 0.999) + 2 }')
  [ $((ch + frame_h)) -ge $((screen_h - slack)) ] ||
    fail "court shrunk to $ppp px/pt (display $own) yet only $((ch + frame_h)) of $screen_h px high, frame included"
fi
echo "PASS: the court fits the $size screen at $dpi dpi: ${cw}x${ch} at $ppp px/pt (the display's own: $own)"

# Screen pixel of a point (x, y in points) on a window whose client area is at (ox, oy).
at() { awk -v o="$1" -v v="$2" -v p="$ppp" 'BEGIN { printf "%d", o + v * p + 0.5 }'; }

# The racket (366.75 to 384.75 pt down) stands on the screen, red, at its place.
racket_row=$(at "$cy" 375)
[ "$racket_row" -lt "$screen_h" ] || fail "the racket's row $racket_row is below the screen"
racket_left=$(first_x_of_colour "$cx" $((cx + cw)) "$racket_row" "255,0,0")
[ -n "$racket_left" ] || fail "no red racket on screen row $racket_row"
echo "PASS: the racket is on screen (row $racket_row)"

# Both welcome buttons (their middles at 152.99 pt across, 134.99 and 185.99
# pt down) are on screen; ИГРАТЬ clicked there opens the delay prompt.
play_x=$(at "$hx" 152.99) play_y=$(at "$hy" 134.99) exit_y=$(at "$hy" 185.99)
[ "$play_x" -lt "$screen_w" ] && [ "$exit_y" -lt "$screen_h" ] || fail "the welcome buttons are off the screen"
xdotool mousemove "$play_x" "$play_y" click 1
prompt=$(wait_window "$PROMPT_TITLE") || fail "ИГРАТЬ clicked at its scaled place opened no delay prompt"
sleep 0.3
expect_on_screen "$prompt" "the delay prompt"
echo "PASS: ИГРАТЬ and ВЫЙТИ on screen, and the delay prompt too"
type_answer 50
xdotool key Return
window_gone "$HELLO_TITLE" || fail "the welcome window stays during a rally"

# The racket follows the pointer over the court's free surface at this scale:
# its left end stands about 1.2 pt left of the pointer. The ball passing
# under the pointer keeps the move from the court, so the pointer moves again
# (by a pixel, well within the margin) until the racket is seen there.
opponent_row=$(at "$cy" 39)
for x_pt in 60 300; do
  want=$(at "$cx" "$(awk -v x="$x_pt" 'BEGIN { print x - 1.2 }')")
  for i in $(seq 40); do
    xdotool mousemove "$(($(at "$cx" "$x_pt") + i % 2))" "$(at "$cy" 300)"
    sleep 0.1
    left=$(first_x_of_colour "$cx" $((cx + cw)) "$racket_row" "255,0,0")
    [ -n "$left" ] && [ $((left - want)) -ge -3 ] && [ $((left - want)) -le 3 ] && break
  done
  [ -n "$left" ] && [ $((left - want)) -ge -3 ] && [ $((left - want)) -le 3 ] ||
    fail "racket not under the pointer at ${x_pt} pt (left edge ${left:-none}, expected about $want)"
done
echo "PASS: the racket follows the pointer"

# The ball moves and the opponent follows it: both pictures change.
watch_rally "$cx" "$cy" "$cw" "$ch" "$opponent_row" || true
[ -n "$COURT_CHANGED" ] || fail "the court did not change during a rally"
[ -n "$OPPONENT_MOVED" ] || fail "the opponent did not move in 8 s of a rally"
echo "PASS: a rally is played"

# A click on the wall bar (3 to 21 pt down) stops it; ВЫЙТИ ends the program.
xdotool mousemove "$(at "$cx" 214)" "$(at "$cy" 12)" click 1
hello=$(wait_window "$HELLO_TITLE") || fail "the welcome window did not come back after a wall click"
read -r hx hy < <(window_origin "$hello")
xdotool mousemove "$(at "$hx" 152.99)" "$(at "$hy" 185.99)" click 1
expect_exit_0_within "ВЫЙТИ on the $size screen at $dpi dpi"
