#!/usr/bin/env bash
# What Orca, the screen reader, says while the calculator is used from the
# keyboard: a private D-Bus session with the accessibility bus, an X server
# with a window manager, speech-dispatcher's silent dummy module, Orca with
# its debug log, the real program, and orca_speech.py, which types and reads
# what Orca spoke from that log.
#   orca.sh PROGRAM
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
source "$here/../require_tools.sh"
require_tools Xvfb xdotool xprop openbox orca speech-dispatcher dbus-run-session dbus-send script \
  /usr/bin/python3
# Orca refuses to start while another Orca of the same user runs anywhere on
# the machine: a user's own screen reader, or the previous run of this test
# if it had not ended (stop_orca waits for that).
if pgrep -u "$(id -u)" -x orca >/dev/null; then
  skip_test "another Orca of this user is running"
fi
source "$here/session_bus.sh"
if [ -z "${VELMORIDA_IN_OWN_SESSION_BUS:-}" ]; then
  # A home of its own, for Orca's settings and speech-dispatcher's
  # configuration, set before the session bus starts, like the runtime
  # directory inside it.
  home=$(mktemp -d)
  export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
    XDG_CACHE_HOME=$home/.cache
  mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
  printf 'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n' \
    >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
  run_in_own_session_bus "$home" "$0" "$program"
fi

# descendants PID: every process below PID.
descendants() {
  local child
  for child in $(pgrep -P "$1" || true); do
    echo "$child"
    descendants "$child"
  done
}

# stop_orca: ends this test's Orca (below script, which runs it) and returns
# once every one of those processes is gone.
stop_orca() {
  local pids pid alive
  [ -n "${orca:-}" ] || return 0
  pids="$orca $(descendants "$orca")"
  kill $pids 2>/dev/null || true
  for _ in $(seq 100); do
    alive=""
    for pid in $pids; do
      kill -0 "$pid" 2>/dev/null && alive=1
    done
    [ -z "$alive" ] && return 0
    sleep 0.1
  done
  echo "Orca did not end" >&2
}

source "$here/x_server.sh"
start_xvfb -screen 0 640x480x24
trap 'stop_orca; kill ${WM_PID:-} "$XVFB_PID" 2>/dev/null || true' EXIT
start_window_manager
start_accessibility_bus

# Orca writes its debug log through a buffer that it flushes only when full,
# unless the log is a terminal: under script(1) the log is the terminal, and
# script copies each line to the file as it comes.
log=$HOME/orca.log
script -q -f -c "orca --debug-file=/dev/tty" "$log" >/dev/null 2>&1 &
orca=$!

export ORCA_LOG=$log
/usr/bin/python3 "$here/orca_speech.py" "$program"
