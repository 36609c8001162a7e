#!/usr/bin/env bash
# Runs a test of the real velmorida.exe on an X server and in a Wine prefix
# of its own, with the stand-in uiautomationcore.dll in its system32 (a start
# picks it or Wine's own by WINEDLLOVERRIDES). The command ends its own
# processes; this ends Wine's and the server.
#   on_wine.sh uiautomationcore.dll COMMAND...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../require_tools.sh"
require_tools Xvfb xdotool python3 flock import convert
[ -x /usr/lib/wine/wine64 ] || skip_test "not installed: wine64"
source "$here/../x_server.sh"
source "$here/../../wine/prefix.sh"
start_xvfb -screen 0 1024x768x24
trap 'end_prefix; kill "$XVFB_PID" 2>/dev/null || true' EXIT
use_fresh_prefix "${VELMORIDA_WINE_TEST:-win32_window}"
# system32 holds hard links to the template's files: the link is replaced,
# never written through.
cp --remove-destination "$1" "$WINEPREFIX/drive_c/windows/system32/uiautomationcore.dll"
"${@:2}"
