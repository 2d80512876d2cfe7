#!/usr/bin/env bash
# A whole session under strace: the game writes nothing to disk, opens no
# socket but its display connection and starts no other program, nor tries to.
#
# It runs where no session bus is given and dbus-launch is installed: there
# libdbus would autolaunch a bus (dbus-launch, then a dbus-daemon that
# outlives the game) unless the game keeps it from doing so.
#
# The session: "ИГРАТЬ", the answer 10, a short rally with the pointer over
# the court, a wall click, "ВЫЙТИ". Then every traced call that could write a
# file, make a socket or start a program is checked. What is let through, and
# why:
#   mkdir of /tmp/runtime-USER: Qt's runtime folder (QStandardPaths), made
#     with mode 0700 when XDG_RUNTIME_DIR is not set; the game puts nothing
#     in it;
#   fontconfig's cache under ~/.cache/fontconfig: written by the font library
#     Qt uses, only when the system's font cache is out of date;
#   AF_UNIX connections to /tmp/.X11-unix/X<display> (the display) and to
#     /var/run/nscd/socket (glibc asking its local name-service cache for the
#     user's name, which Qt needs for the runtime folder's name);
#   new threads (clone with CLONE_THREAD); any other new process fails.
#
# Usage: no_files_no_network.sh BOUNZO
set -euo pipefail
game=$(realpath "$1")
command -v strace >/dev/null || { echo "FAIL: strace is not installed" >&2; exit 1; }
# shellcheck source=tools/lib/xsession.sh
source "$(dirname "$0")/../../tools/lib/xsession.sh"
start_x

trace=$(mktemp)
on_exit rm -f "$trace"
command -v dbus-launch >/dev/null || fail "dbus-launch is missing (tools/deps installs dbus-x11)"
# No session bus, neither named nor at the user's standard place: where one
# runs, Qt's D-Bus support would connect to it, and the outcome would depend
# on the desktop the test runs in.
unset DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR
calls=clone,clone3,fork,vfork,execve,openat,open,creat,socket,connect,mkdir,mkdirat,rename,renameat,renameat2
calls=$calls,unlink,unlinkat,link,linkat,symlink,symlinkat,truncate
# LeakSanitizer cannot run under a tracer; in a sanitizer build it is left out here.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
strace -f -qq -o "$trace" -e trace="$calls" -e signal=none "$game" & GAME_PID=$!

game_windows
start_rally 10
for x in 100 200 300 400; do xdotool mousemove $((cx + x)) $((cy + 400)); sleep 0.25; done
stop_rally
click_exit
# Tracing slows the program down: it gets five seconds.
expect_exit_0_within "the exit button, traced" 5

user=$(id -un)
cache_home=${XDG_CACHE_HOME:-$HOME/.cache}
found=0
report() {
  local what=$1 lines=$2
  [ -z "$lines" ] && return 0
  echo "FAIL: $what:" >&2
  printf '%s\n' "$lines" | head -n 20 >&2
  found=1
}

report "files opened for writing" "$(grep -E '(^|[0-9] +)(open|openat)\(.*O_(WRONLY|RDWR|CREAT|TRUNC|APPEND)|(^|[0-9] +)creat\(' "$trace" |
  grep -vF "\"$cache_home/fontconfig/" || true)"
report "files or folders made, renamed or removed" "$(grep -E '(^|[0-9] +)(mkdir|mkdirat|rename|renameat|renameat2|unlink|unlinkat|link|linkat|symlink|symlinkat|truncate)\(' "$trace" |
  grep -vE "mkdir\(\"/tmp/runtime-$user\", 0700\)" | grep -vF "\"$cache_home/fontconfig" || true)"
report "sockets other than local ones" "$(grep -E '(^|[0-9] +)socket\(' "$trace" | grep -v 'socket(AF_UNIX' || true)"
report "connections other than the display's" "$(grep -E '(^|[0-9] +)connect\(' "$trace" |
  grep -vE 'sun_path=@?"(/tmp/\.X11-unix/X[0-9]+|/var/run/nscd/socket)"' || true)"

report "programs started or tried" "$(grep -E '(^|[0-9] +)execve\(' "$trace" | grep -vF "execve(\"$game\"" || true)"
report "processes made" "$(grep -E '(^|[0-9] +)(fork|vfork|clone|clone3)\(' "$trace" | grep -v 'CLONE_THREAD' || true)"

[ "$found" -eq 0 ] || exit 1
echo "PASS: $(wc -l <"$trace") traced calls; nothing written, no socket but the display's, no other program or process"
