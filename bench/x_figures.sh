#!/usr/bin/env bash
# The figures of one build, measured from outside through the X server
# (x_probe.py), so that the Linux program and the Windows one under Wine are
# measured alike: turn periods at the delays 10, 50 and 100 over up to three
# rallies each, the CPU share of the game (and of wineserver, under Wine)
# during them, and start-up to both windows painted. Runs on the display that
# DISPLAY names; prints FIGURE and NOTE lines with keys that begin with KEY.
# Usage: bench/x_figures.sh KEY GAME
set -Eeuo pipefail
# A step that fails says which, in the benchmark's log.
trap 'echo "x_figures.sh: line $LINENO failed (status $?): $BASH_COMMAND" >&2' ERR
key=$1 game=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/lib/xsession.sh
source "$here/../tools/lib/xsession.sh"
probe=$here/x_probe.py
raw=$(mktemp)
on_exit rm -f "$raw"

# Under Wine the game's windows are handled by the prefix's wineserver too:
# it runs in the prefix's server folder, named after the prefix's device and
# inode (server-DEV-INODE, in hexadecimal).
server_pid=""
start_game "$game"
game_windows
if [[ $game == *.exe ]]; then
  prefix=$(wine_prefix)
  folder=$(printf 'server-%x-%x' "$(stat -c %d "$prefix")" "$(stat -c %i "$prefix")")
  for cwd in /proc/[0-9]*/cwd; do
    [[ $(readlink "$cwd" 2>/dev/null) == */"$folder" ]] && server_pid=$(basename "$(dirname "$cwd")") && break
  done
  [ -n "$server_pid" ] || echo "NOTE $key.turn no wineserver found in $folder"
fi

# A rally ends by itself when a game is won or lost: its message is closed
# and the next rally measured, until four seconds of turns are in.
for delay in 10 50 100; do
  : >"$raw"
  for _ in 1 2 3; do
    start_rally "$delay"
    "$probe" rally "$court" 4 $((delay * 333)) "$GAME_PID" $server_pid >>"$raw"
    if [ "$(tail -n1 "$raw")" = ended ]; then
      wait_window "$MESSAGE_TITLE" >/dev/null || fail "a rally ended without a game's message"
      xdotool key Return
      hello=$(wait_window "$HELLO_TITLE") || fail "no welcome window after a game's message"
    else
      stop_rally
    fi
    measured=$(awk '$1 == "cpu" { s += $4 } END { print int(s) }' "$raw")
    [ "$measured" -lt 4 ] || break
  done
  "$probe" summary "$key.turn.$delay" $((delay * 333)) <"$raw"
done
end_process GAME_PID

# Start-up with the Wine server already running, as when a player starts the
# game a second time: it is kept up while the starts are timed.
command=("$game")
if [[ $game == *.exe ]]; then
  command=("$here/../tools/wine-run" "$(wine_prefix)" "$game")
  # (The server the rallies started may still run: then it just stays, as
  # the starts follow one another closely.)
  WINEPREFIX=$(wine_prefix) wineserver -p 2>/dev/null || true
  on_exit env WINEPREFIX="$(wine_prefix)" wineserver -k
fi
"$probe" startup "$key.startup" 11 "$COURT_TITLE" "$HELLO_TITLE" "${command[@]}"
