#!/usr/bin/env bash
# What Orca, the screen reader, says while a program is used from the
# keyboard: the calculator, or the page in Chromium's app window
# (tests/web/chromium_app.sh PAGE). A home of its own (Orca's settings,
# speech-dispatcher's silent dummy module, the browsers' profiles), a private
# D-Bus session with the accessibility bus, an X server with a window
# manager, then orca_speech.py, which starts Orca and the program, types and
# reads what Orca spoke.
#   orca.sh COMMAND... [orca_speech.py's options]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../require_tools.sh"
require_tools Xvfb xdotool xprop openbox orca speech-dispatcher dbus-run-session dbus-send \
  /usr/bin/python3
source "$here/session_bus.sh"
if [ -z "${VELMORIDA_IN_OWN_SESSION_BUS:-}" ]; then
  # Set before the session bus starts, like the runtime directory inside it.
  home=$(mktemp -d)
  export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
    XDG_CACHE_HOME=$home/.cache
  mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
  printf 'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n' \
    >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
  run_in_own_session_bus "$home" "$0" "$@"
fi

source "$here/x_server.sh"
start_xvfb -screen 0 1024x768x24
trap 'kill ${WM_PID:-} "$XVFB_PID" 2>/dev/null || true' EXIT
start_window_manager
start_accessibility_bus
ORCA_LOG=$HOME/orca.log /usr/bin/python3 "$here/orca_speech.py" "$@"
