#!/usr/bin/env bash
# The real program on an X server of its own: it opens its window, is typed
# into, and ends on Escape pressed in an open list, with exit status 0. Then
# the window tests that need X11 itself (its PRIMARY selection) run there.
#   smoke.sh PROGRAM WINDOW_TESTS
set -euo pipefail
program=$1
window_tests=$2
source "$(dirname "$0")/../require_tools.sh"
require_tools Xvfb xdotool
source "$(dirname "$0")/x_server.sh"
start_xvfb -screen 0 640x480x24
TEST_LOG=$(mktemp)
trap 'kill "$XVFB_PID" 2>/dev/null || true; rm -f "$TEST_LOG"' EXIT
unset QT_QPA_PLATFORM
"$program" &
app=$!
window=$(find_window "$app")
if [ -z "$window" ]; then
  echo "FAIL: no window appeared"
  kill "$app" 2>/dev/null || true
  exit 1
fi
# Without a window manager the keyboard follows the pointer.
xdotool mousemove --window "$window" 40 40
# Type into both boxes, open the frequency list, and press Escape in its popup.
xdotool key --delay 30 ctrl+a 4 7 Tab Tab ctrl+a 1 Tab alt+Down
sleep 0.3
xdotool key Escape
for _ in $(seq 50); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app" 2>/dev/null; then
  echo "FAIL: Escape did not end the program"
  kill "$app"
  exit 1
fi
wait "$app"
echo "PASS: window opened and Escape in the open list ended the program"

QT_QPA_PLATFORM=xcb "$window_tests" middleButtonPasteLosesEdgeLineBreaks >"$TEST_LOG" 2>&1 ||
  { cat "$TEST_LOG"; exit 1; }
if grep -q "^SKIP" "$TEST_LOG"; then
  cat "$TEST_LOG"
  echo "FAIL: no X11 selection"
  exit 1
fi
echo "PASS: the middle button's paste on X11"
