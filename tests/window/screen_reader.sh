#!/usr/bin/env bash
# The calculator's accessible tree over the AT-SPI bus: a private D-Bus
# session and accessibility bus, an X server, the real program, and
# screen_reader_probe.py as the reader.
#   screen_reader.sh PROGRAM
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
source "$here/../require_tools.sh"
require_tools Xvfb xdotool dbus-run-session dbus-send /usr/bin/python3
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || require_tools python3-pyatspi
if [ -z "${SCREEN_READER_INSIDE_DBUS:-}" ]; then
  # A runtime directory of its own, set before the session bus starts: the
  # accessibility bus puts its socket there, and two tests sharing one would
  # talk on each other's bus.
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  # The session bus complains that root may not raise its file limit; noise.
  status=0
  env SCREEN_READER_INSIDE_DBUS=1 dbus-run-session -- "$0" "$program" \
    2> >(grep -v -e "Failed to set fd limit" -e "dbus-daemon\[" >&2) || status=$?
  rm -rf "$XDG_RUNTIME_DIR"
  exit "$status"
fi
source "$here/x_server.sh"
start_xvfb -screen 0 640x480x24
# Asking for the accessibility bus's address starts its launcher through D-Bus
# activation and returns once the bus is up, so the program finds it at once.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null
trap 'kill "$XVFB_PID" ${app:-} 2>/dev/null || true' EXIT
unset QT_QPA_PLATFORM
# Qt talks to the accessibility bus only when a reader is known to run;
# this says one does.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >/dev/null 2>&1 &
app=$!
window=$(find_window "$app")
[ -n "$window" ] || { echo "FAIL: no window appeared"; exit 1; }
xdotool mousemove --window "$window" 40 40  # the keyboard follows the pointer
/usr/bin/python3 "$here/screen_reader_probe.py"
