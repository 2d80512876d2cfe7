#!/usr/bin/env bash
# Started where the desktop cannot serve the game, it says so in one line on
# stderr: where no display can be opened or the screen has too few colours
# to paint on, it exits with status 1 (no abort, no core dump, nothing on
# stdout); where no face with Cyrillic is installed, it goes on and plays.
#
# Usage: no_display.sh BOUNZO
set -euo pipefail
game=$1
here=$(dirname "$0")
# shellcheck source=tools/lib/xsession.sh
source "$here/../../tools/lib/xsession.sh"

runtime_dir=$(mktemp -d)
out=$(mktemp)
err=$(mktemp)
fonts=$(mktemp -d)
on_exit rm -rf "$runtime_dir" "$out" "$err" "$fonts"
# A display number no X server uses here.
free=900
while [ -e "/tmp/.X11-unix/X$free" ] || [ -e "/tmp/.X$free-lock" ]; do free=$((free + 1)); done
# An X server whose screen has 256 colours from a palette.
X_SCREEN_DEPTH=8 start_x
shallow=$DISPLAY

# The environment of a case: the variables taken away, then those set.
# XDG_RUNTIME_DIR is set, so the Wayland client library looks for a
# compositor quietly.
case_environment() {
  local v settings
  environment=()
  for v in $1; do environment+=(-u "$v"); done
  read -ra settings <<<"$2"
  environment+=(XDG_RUNTIME_DIR="$runtime_dir" "${settings[@]}")
}

# The case's stderr holds one line, from the game, matching PATTERN.
expect_one_line() {
  local name=$1 pattern=$2
  [ "$(wc -l <"$err")" -eq 1 ] || fail "$name: stderr holds $(wc -l <"$err") lines, expected one:$(sed 's/^/\n  /' "$err")"
  grep -q "^bounzo: .*$pattern" "$err" || fail "$name: the line does not say what is missing: $(cat "$err")"
  [ ! -s "$out" ] || fail "$name: something on stdout: $(cat "$out")"
  echo "PASS: $name: $(cat "$err")"
}

# Each case that ends the game: its name, the variables taken away, the
# variables set, and what its line must name.
cases=(
  "no display set|DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM||DISPLAY"
  "a display with no X server|WAYLAND_DISPLAY QT_QPA_PLATFORM|DISPLAY=:$free|DISPLAY"
  "X11 asked for, no display set|DISPLAY WAYLAND_DISPLAY|QT_QPA_PLATFORM=xcb|DISPLAY"
  "Wayland asked for, no compositor|DISPLAY|QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=bounzo-none|DISPLAY"
  "an 8-bit screen|WAYLAND_DISPLAY QT_QPA_PLATFORM|DISPLAY=$shallow|«$shallow».* 8 бит"
)
for c in "${cases[@]}"; do
  IFS='|' read -r name taken given pattern <<<"$c"
  case_environment "$taken" "$given"
  status=0
  env "${environment[@]}" timeout 30 "$game" >"$out" 2>"$err" || status=$?
  [ "$status" -eq 1 ] || fail "$name: exit status $status, expected 1 ($(cat "$err"))"
  expect_one_line "$name" "$pattern"
done
stop_x

# No font at all: a font configuration that names no font directory. The
# game says so once, then a rally is played and ВЫЙТИ ends it.
cat >"$fonts/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><cachedir>$fonts/cache</cachedir></fontconfig>
CONF
start_x
name="no font installed"
case_environment "WAYLAND_DISPLAY QT_QPA_PLATFORM" "FONTCONFIG_FILE=$fonts/fonts.conf"
env "${environment[@]}" "$game" >"$out" 2>"$err" & GAME_PID=$!
game_windows "with no font"
start_rally 10
stop_rally
click_exit
expect_exit_0_within "$name: ВЫЙТИ" 5
expect_one_line "$name" "шрифт с кириллицей"
