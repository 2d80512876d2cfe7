# shellcheck shell=bash
# Shared by the tests and tools that need assistive technology: a private
# session bus and the accessibility bus, as a desktop with a screen reader
# running provides them, and the screen reader itself. Source it after
# xsession.sh and start_x, then call start_a11y_session (and
# start_screen_reader); stop_a11y_session, run at exit too, stops every process
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

# Orca can take its time over a stop request, or hang in it: a second, then
# it is killed.
stop_within_a_second() {
  kill "$1" 2>/dev/null || return 0
  for _ in $(seq 20); do kill -0 "$1" 2>/dev/null || break; sleep 0.05; done
  kill -KILL "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

stop_a11y_session() {
  # The launcher takes the accessibility bus with it; the screen reader, its
  # speech server, the registry and the session bus are stopped by their ids.
  local pid
  for pid in ${ORCA_PID:-} ${SPEECH_PID:-}; do stop_within_a_second "$pid"; done
  for pid in ${A11Y_LAUNCHER_PID:-} ${A11Y_REGISTRY_PID:-} ${A11Y_BUS_PID:-}; do kill "$pid" 2>/dev/null || true; done
  [ -z "${A11Y_LAUNCHER_PID:-}" ] || wait "$A11Y_LAUNCHER_PID" 2>/dev/null || true
  [ -z "${A11Y_DIR:-}" ] || rm -rf "$A11Y_DIR"
  A11Y_LAUNCHER_PID='' A11Y_REGISTRY_PID='' A11Y_BUS_PID='' A11Y_DIR='' ORCA_PID='' SPEECH_PID=''
  unset DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR
}

# Orca, Debian's screen reader, on the session's buses: what it would say
# goes to the debug log ORCA_LOG (every "SPEECH OUTPUT" line), and its speech
# to speech-dispatcher, which writes it to the file SPOKEN instead of a sound
# card. Returns once Orca has spoken its greeting; a loaded machine gets a
# minute. Call after start_a11y_session; stop_a11y_session stops both.
start_screen_reader() {
  local speech=$A11Y_DIR/speech
  ORCA_LOG=$A11Y_DIR/orca.log SPOKEN=$A11Y_DIR/spoken.txt
  mkdir -p "$speech/modules" "$A11Y_DIR/orca"
  printf '%s\n' 'AddModule "file" "sd_generic" "file.conf"' 'DefaultModule file' \
    'DefaultLanguage "ru"' 'AudioOutputMethod "libao"' >"$speech/speechd.conf"
  # The generic module runs this for every utterance, its text in $DATA.
  printf '%s\n' "GenericExecuteSynth \"printf '%s\\\\n' \\\"\\\$DATA\\\" >> $SPOKEN\"" \
    'GenericDefaultCharset "UTF-8"' 'AddVoice "ru" "MALE1" "ru"' 'AddVoice "en" "MALE1" "en"' \
    'GenericLanguage "ru" "ru" "UTF-8"' 'GenericLanguage "en" "en" "UTF-8"' \
    >"$speech/modules/file.conf"
  # The audio library's null driver, for the module's own audio set-up.
  echo default_driver=null >"$A11Y_DIR/.libao"
  HOME=$A11Y_DIR speech-dispatcher --run-single --timeout 0 --config-dir "$speech" \
    >"$A11Y_DIR/speech-dispatcher.log" 2>&1 & SPEECH_PID=$!
  # English messages, whatever the machine's locale, so the log can be read.
  LC_ALL=C.UTF-8 orca --user-prefs "$A11Y_DIR/orca" --debug-file "$ORCA_LOG" >"$A11Y_DIR/orca.out" 2>&1 &
  ORCA_PID=$!
  for _ in $(seq 600); do
    grep -q "SPEECH OUTPUT: 'Screen reader on.'" "$ORCA_LOG" 2>/dev/null && return 0
    kill -0 "$ORCA_PID" 2>/dev/null || break
    sleep 0.1
  done
  fail "Orca did not start: $(tail -n 20 "$A11Y_DIR/orca.out")"
}
