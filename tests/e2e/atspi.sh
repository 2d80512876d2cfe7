#!/usr/bin/env bash
# The game driven by an assistive tool alone, as a blind player's screen reader
# or an automation tool would: a private session bus with the accessibility bus
# (enabled, as a running screen reader leaves it), the game, and an AT-SPI
# client (atspi_client.py) that presses ИГРАТЬ, answers the prompt, hears the
# opponent score and leaves through ВЫЙТИ. Every process started here is stopped.
set -euo pipefail
game=$1
here=$(dirname "$0")
source "$here/xsession.sh"
start_x

session=$(mktemp -d)
X_TEMP_FILES=$session
BUS_PID= LAUNCHER_PID= REGISTRY_PID=
stop_session() {
  # The registry daemon belongs to the accessibility bus, which ends with its launcher.
  for pid in $LAUNCHER_PID $REGISTRY_PID $BUS_PID; do kill "$pid" 2>/dev/null || true; done
  stop_x
}
trap stop_session EXIT

export XDG_RUNTIME_DIR=$session
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$session/address" 4>"$session/pid"
BUS_PID=$(cat "$session/pid")
DBUS_SESSION_BUS_ADDRESS=$(cat "$session/address")
export DBUS_SESSION_BUS_ADDRESS
/usr/libexec/at-spi-bus-launcher --launch-immediately --a11y=1 2>"$session/launcher.log" &
LAUNCHER_PID=$!
a11y=
for _ in $(seq 100); do
  a11y=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress 2>/dev/null) && break
  sleep 0.05
done
a11y=${a11y// /}
[ -n "$a11y" ] || fail "the accessibility bus did not start: $(cat "$session/launcher.log")"
# The registry, which lists the applications, is started on demand. An application
# that registers while it is still starting up is lost, so it is started first;
# a first question is answered only once it runs.
dbus-send --bus="$a11y" --print-reply --dest=org.a11y.atspi.Registry /org/a11y/atspi/accessible/root \
  org.a11y.atspi.Accessible.GetChildren >/dev/null || fail "no accessibility registry"
REGISTRY_PID=$(dbus-send --bus="$a11y" --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
  org.freedesktop.DBus.GetConnectionUnixProcessID string:org.a11y.atspi.Registry | awk '{ print $2 }')

# Qt 6.4 reads the bus's enabled state racily at start-up: about one start in
# fifteen here never registered with the registry. Asking for accessibility
# outright is what Qt offers for tools that drive applications.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$game" & GAME_PID=$!
/usr/bin/python3 "$here/atspi_client.py" "$(basename "$game")" 50 \
  "Ракетка соперника, на ней его счёт" "Стенка соперника: твои очки её стачивают; щелчок останавливает игру" ||
  fail "the assistive tool could not play"
expect_exit_0_within "ВЫЙТИ pressed through AT-SPI" 5
