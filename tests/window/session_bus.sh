# Sourced by the tests that need a D-Bus session and the accessibility bus of
# their own (the screen-reader tests).

# run_in_own_session_bus DIR SCRIPT ARGS...: runs SCRIPT ARGS again inside a
# private session bus, with VELMORIDA_IN_OWN_SESSION_BUS=1 set, then removes
# DIR and exits with the script's status. DIR/runtime becomes the runtime
# directory before the session bus starts: the accessibility bus, which the
# session bus starts with its own environment, puts its socket there, and two
# tests sharing one would talk on each other's bus.
run_in_own_session_bus() {
  local dir=$1 status=0
  shift
  export XDG_RUNTIME_DIR=$dir/runtime
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  # The session bus complains that root may not raise its file limit; noise.
  env VELMORIDA_IN_OWN_SESSION_BUS=1 dbus-run-session -- "$@" \
    2> >(grep -v -e "Failed to set fd limit" -e "dbus-daemon\[" >&2) || status=$?
  rm -rf "$dir"
  exit "$status"
}

# start_accessibility_bus: asking for the bus's address starts its launcher
# through D-Bus activation and returns once the bus is up, so that the
# program and the reader find it at once.
start_accessibility_bus() {
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null
}
