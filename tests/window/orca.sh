#!/usr/bin/env bash
# What Orca says of a program used from the keyboard (orca_speech.py), in a
# home of its own (Orca's settings, speech-dispatcher's silent dummy module,
# the browsers' profiles), a private D-Bus session with the accessibility bus
# and an X server with a window manager.
#   orca.sh COMMAND... [orca_speech.py's options]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../require_tools.sh"
require_tools Xvfb xdotool xprop openbox orca speech-dispatcher dbus-run-session dbus-send \
  /usr/bin/python3
if [ -z "${VELMORIDA_IN_OWN_SESSION_BUS:-}" ]; then
  # Set before the session bus starts. The accessibility bus, which the
  # session bus starts with its own environment, puts its socket in the
  # runtime directory, and two tests sharing one would talk on each other's.
  home=$(mktemp -d)
  export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
    XDG_CACHE_HOME=$home/.cache XDG_RUNTIME_DIR=$home/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
  printf 'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n' \
    >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
  # This script again, inside a session bus of its own, which complains that
  # root may not raise its file limit: noise.
  status=0
  VELMORIDA_IN_OWN_SESSION_BUS=1 dbus-run-session -- "$0" "$@" \
    2> >(grep -v -e "Failed to set fd limit" -e "dbus-daemon\[" >&2) || status=$?
  rm -rf "$home"
  exit "$status"
fi

source "$here/x_server.sh"
start_xvfb -screen 0 1024x768x24
trap 'kill ${WM_PID:-} "$XVFB_PID" 2>/dev/null || true' EXIT
start_window_manager
# Asking for the accessibility bus's address starts it through D-Bus
# activation and returns once it is up, so that the program and Orca find it.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null
ORCA_LOG=$HOME/orca.log /usr/bin/python3 "$here/orca_speech.py" "$@" || {
  echo "Orca's log: its first errors and warnings, and its last lines:"
  grep -m 20 -e ERROR -e WARNING "$HOME/orca.log" || true
  tail -n 5 "$HOME/orca.log"
  exit 1
}
