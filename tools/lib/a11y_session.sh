# shellcheck shell=bash
# Shared by the tests and tools that need assistive technology: a private
# session bus and the accessibility bus, as a desktop with a screen reader
# running provides them. Source it after xsession.sh and start_x, then call
# start_a11y_session; stop_a11y_session, run at exit too, stops every process
# it started.

start_a11y_session() {
  A11Y_DIR=$(mktemp -d)
  on_exit stop_a11y_session
  export XDG_RUNTIME_DIR=$A11Y_DIR
  dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$A11Y_DIR/address" 4>"$A11Y_DIR/pid"
  A11Y_BUS_PID=$(cat "$A11Y_DIR/pid")
  DBUS_SESSION_BUS_ADDRESS=$(cat "$A11Y_DIR/address")
  export DBUS_SESSION_BUS_ADDRESS
  # Accessibility switched on, as a running screen reader leaves it.
  /usr/libexec/at-spi-bus-launcher --launch-immediately --a11y=1 2>"$A11Y_DIR/launcher.log" &
  A11Y_LAUNCHER_PID=$!
  local address=
  for _ in $(seq 100); do
    address=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
      org.a11y.Bus.GetAddress 2>/dev/null) && break
    sleep 0.05
  done
  address=${address// /}
  [ -n "$address" ] || fail "the accessibility bus did not start: $(cat "$A11Y_DIR/launcher.log")"
  # The registry, which lists the applications, is started on demand by the
  # first question put to it; it is started here, and its process noted.
  dbus-send --bus="$address" --print-reply --dest=org.a11y.atspi.Registry /org/a11y/atspi/accessible/root \
    org.a11y.atspi.Accessible.GetChildren >/dev/null || fail "no accessibility registry"
  A11Y_REGISTRY_PID=$(dbus-send --bus="$address" --print-reply=literal --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.GetConnectionUnixProcessID string:org.a11y.atspi.Registry |
    awk '{ print $2 }')
}

stop_a11y_session() {
  # The launcher takes the accessibility bus with it; the registry and the session bus are stopped by their ids.
  local pid
  for pid in ${A11Y_LAUNCHER_PID:-} ${A11Y_REGISTRY_PID:-} ${A11Y_BUS_PID:-}; do kill "$pid" 2>/dev/null || true; done
  [ -z "${A11Y_LAUNCHER_PID:-}" ] || wait "$A11Y_LAUNCHER_PID" 2>/dev/null || true
  [ -z "${A11Y_DIR:-}" ] || rm -rf "$A11Y_DIR"
  A11Y_LAUNCHER_PID='' A11Y_REGISTRY_PID='' A11Y_BUS_PID='' A11Y_DIR=''
  unset DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR
}
