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
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || skip_test "not installed: python3-pyatspi"
source "$here/session_bus.sh"
if [ -z "${VELMORIDA_IN_OWN_SESSION_BUS:-}" ]; then
  run_in_own_session_bus "$(mktemp -d)" "$0" "$program"
fi
source "$here/x_server.sh"
start_xvfb -screen 0 640x480x24
start_accessibility_bus
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
