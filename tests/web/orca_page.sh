#!/usr/bin/env bash
# What Orca, the screen reader, says of the page in a real Chromium while the
# keyboard enters 100 nF at 1 kHz, on fresh starts of the page: a private
# D-Bus session with the accessibility bus, an X server with a window
# manager, speech-dispatcher's silent dummy module, then orca_page.py, which
# starts Orca and plays the Qt window's steps on each start.
#   orca_page.sh PAGE.html RUNS
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
page=$(realpath "$1")
runs=$2
source "$here/../require_tools.sh"
require_tools Xvfb xdotool xprop openbox orca speech-dispatcher dbus-run-session dbus-send \
  chromium /usr/bin/python3
source "$here/../window/session_bus.sh"
if [ -z "${VELMORIDA_IN_OWN_SESSION_BUS:-}" ]; then
  # A home of its own, for Orca's settings, speech-dispatcher's configuration
  # and the browsers' profiles, set before the session bus starts.
  home=$(mktemp -d)
  export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
    XDG_CACHE_HOME=$home/.cache
  mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
  printf 'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n' \
    >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
  run_in_own_session_bus "$home" "$0" "$page" "$runs"
fi

source "$here/../window/x_server.sh"
start_xvfb -screen 0 1024x768x24
trap 'kill ${WM_PID:-} "$XVFB_PID" 2>/dev/null || true' EXIT
start_window_manager
start_accessibility_bus

mkdir "$HOME/profiles"
export VELMORIDA_PAGE=$page VELMORIDA_PROFILES=$HOME/profiles ORCA_LOG=$HOME/orca.log
/usr/bin/python3 "$here/orca_page.py" "$runs"
