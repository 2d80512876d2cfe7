#!/usr/bin/env bash
# Started where no display can be opened, the game says so in one line on
# stderr and exits with status 1: no abort, no core dump, nothing on stdout.
#
# Usage: no_display.sh BOUNZO
set -euo pipefail
game=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

runtime_dir=$(mktemp -d)
out=$(mktemp)
err=$(mktemp)
trap 'rm -rf "$runtime_dir" "$out" "$err"' EXIT
# A display number no X server uses here.
free=900
while [ -e "/tmp/.X11-unix/X$free" ] || [ -e "/tmp/.X$free-lock" ]; do free=$((free + 1)); done

# Each case: its name, the variables taken away, the variables set.
# XDG_RUNTIME_DIR is set, so the Wayland client library looks for a
# compositor quietly.
cases=(
  "no display set|DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM|"
  "a display with no X server|WAYLAND_DISPLAY QT_QPA_PLATFORM|DISPLAY=:$free"
  "X11 asked for, no display set|DISPLAY WAYLAND_DISPLAY|QT_QPA_PLATFORM=xcb"
  "Wayland asked for, no compositor|DISPLAY|QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=bounzo-none"
)
for c in "${cases[@]}"; do
  IFS='|' read -r name taken given <<<"$c"
  environment=()
  for v in $taken; do environment+=(-u "$v"); done
  read -ra settings <<<"$given"
  environment+=(XDG_RUNTIME_DIR="$runtime_dir" "${settings[@]}")
  status=0
  env "${environment[@]}" timeout 30 "$game" >"$out" 2>"$err" || status=$?
  [ "$status" -eq 1 ] || fail "$name: exit status $status, expected 1 ($(cat "$err"))"
  [ "$(wc -l <"$err")" -eq 1 ] || fail "$name: stderr holds $(wc -l <"$err") lines, expected one:$(sed 's/^/\n  /' "$err")"
  grep -q '^bounzo: .*DISPLAY' "$err" || fail "$name: the line does not say what is missing: $(cat "$err")"
  [ ! -s "$out" ] || fail "$name: something on stdout: $(cat "$out")"
  echo "PASS: $name: $(cat "$err")"
done
