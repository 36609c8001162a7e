#!/usr/bin/env bash
# Takes docs/screenshot.png: the calculator under Xvfb with a window manager,
# after typing 100 nF at 1 kHz. Needs xvfb, openbox, imagemagick and xdotool.
# Usage: docs/screenshot.sh [path/to/velmorida]   (default: build/velmorida)
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/velmorida}
display=:${SCREENSHOT_DISPLAY:-97}

Xvfb "$display" -screen 0 520x280x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
openbox >/dev/null 2>&1 &
sleep 1
LC_ALL=${SCREENSHOT_LOCALE:-C.UTF-8} "$program" &
app=$!
window=""
for _ in $(seq 50); do
  window=$(xdotool search --pid "$app" --name "Velmorida" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
xdotool windowmove "$window" 20 20
xdotool windowactivate --sync "$window" 2>/dev/null || true
sleep 0.3
# 100 in the capacitance box, nF, 1 in the frequency box, kHz.
xdotool key --delay 60 ctrl+a 1 0 0 Tab Down Tab ctrl+a 1 Tab Down Tab
sleep 0.5
import -window root -crop 480x250+10+5 +repage docs/screenshot.png
kill "$app"
wait "$app" 2>/dev/null || true
kill "$xvfb"
echo "wrote docs/screenshot.png"
