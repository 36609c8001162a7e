#!/usr/bin/env bash
# Takes docs/screenshot.png: the calculator under Xvfb with a window manager,
# after typing 100 nF at 1 kHz. Needs xvfb, openbox, x11-utils, imagemagick and
# xdotool.
# Usage: docs/screenshot.sh [path/to/velmorida]   (default: build/velmorida)
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/window/x_server.sh
program=${1:-build/velmorida}

start_xvfb -screen 0 520x280x24 -dpi 96
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT
start_window_manager
LC_ALL=${SCREENSHOT_LOCALE:-C.UTF-8} "$program" &
app=$!
window=$(find_window "$app")
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 0.5  # let the window manager frame it first
xdotool windowactivate --sync "$window" 2>/dev/null || true
sleep 0.3
# 100 in the capacitance box, nF, 1 in the frequency box, kHz.
xdotool key --delay 60 ctrl+a 1 0 0 Tab Down Tab ctrl+a 1 Tab Down Tab
sleep 0.5
import -frame -window "$window" docs/screenshot.png  # with the title bar
kill "$app"
wait "$app" 2>/dev/null || true
kill "$XVFB_PID"
echo "wrote docs/screenshot.png"
