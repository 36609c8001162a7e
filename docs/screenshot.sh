#!/usr/bin/env bash
# Takes a screenshot of the calculator under Xvfb at 96 dpi with a window
# manager, after typing 100 nF at 1 kHz: docs/screenshot.png of the Qt
# window, or docs/screenshot-win32.png of velmorida.exe under Wine. With
# SCREENSHOT_THEME=dark, docs/screenshot-dark.png of the Qt window under
# GNOME's dark theme (qt6-gtk-platformtheme). Needs xvfb, openbox,
# x11-utils, imagemagick and xdotool, and wine64 for the .exe.
# Usage: [SCREENSHOT_THEME=dark] docs/screenshot.sh [build/velmorida | build-windows/velmorida.exe]
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/window/x_server.sh
program=${1:-build/velmorida}
run=("$program")
shot=docs/screenshot.png
if [ "${SCREENSHOT_THEME:-}" = dark ]; then
  run=(env QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark "$program")
  shot=docs/screenshot-dark.png
fi
if [[ $program == *.exe ]]; then
  source tests/wine/prefix.sh
  VELMORIDA_WINE_ROOT=$PWD/build-windows/wine
  export VELMORIDA_WINE_ROOT
  run=("$WINE" "$program")
  shot=docs/screenshot-win32.png
fi

start_xvfb -screen 0 520x280x24 -dpi 96
trap 'kill $(jobs -p) 2>/dev/null || true; [ -z "${WINEPREFIX:-}" ] || end_prefix' EXIT
[[ $program != *.exe ]] || use_fresh_prefix screenshot
start_window_manager
LC_ALL=${SCREENSHOT_LOCALE:-C.UTF-8} "${run[@]}" &
app=$!
window=$(find_window_named "Velmorida condensatoarelor")
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 0.5  # let the window manager frame it first
xdotool windowactivate --sync "$window" 2>/dev/null || true
sleep 0.3
# 100 in the capacitance box, nF, 1 in the frequency box, kHz.
xdotool key --delay 60 ctrl+a 1 0 0 Tab Down Tab ctrl+a 1 Tab Down Tab
sleep 0.5
import -frame -window "$window" "$shot"  # with the title bar
kill "$app"
wait "$app" 2>/dev/null || true
echo "wrote $shot"
