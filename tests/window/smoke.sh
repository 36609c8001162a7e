#!/usr/bin/env bash
# The real program on an X server (xvfb-run): it opens its window, is typed
# into, and ends on Escape pressed in an open list, with exit status 0.
set -euo pipefail
program=$1
if [ -z "${SMOKE_INSIDE_X:-}" ]; then
  exec env SMOKE_INSIDE_X=1 xvfb-run -a -s "-screen 0 640x480x24" "$0" "$program"
fi
unset QT_QPA_PLATFORM
source "$(dirname "$0")/find_window.sh"
"$program" &
app=$!
window=$(find_window "$app")
[ -n "$window" ] || { echo "FAIL: no window appeared"; kill "$app"; exit 1; }
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
