# Sourced by the scripts that run the real program on an X server of their
# own (the smoke test, the screenshot, the start-up benchmark).

# start_xvfb [Xvfb options...]: starts Xvfb on the first free display, which
# the server itself picks and reports (-displayfd), so two runs never race for
# a number; then waits until a client can really connect. A server that never
# takes a client (seen now and then on a loaded machine) is replaced, up to
# three times; its log is shown if none does. Exports DISPLAY, sets XVFB_PID.
start_xvfb() {
  local attempt log
  log=$(mktemp)
  for attempt in 1 2 3; do
    if start_xvfb_once "$log" "$@"; then
      rm -f "$log"
      return 0
    fi
    kill "$XVFB_PID" 2>/dev/null || true
  done
  echo "Xvfb did not start:" >&2
  cat "$log" >&2
  rm -f "$log"
  return 1
}

start_xvfb_once() {
  local log=$1 fifo number=""
  shift
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -nolisten tcp "$@" 3>"$fifo" >"$log" 2>&1 &
  XVFB_PID=$!
  read -r -t 20 number <"$fifo" || true
  rm -f "$fifo"
  [ -n "$number" ] || return 1
  export DISPLAY=":$number"
  for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# find_window PID: prints the X id of the calculator's window once that
# process has mapped it, waiting up to 10 s; prints nothing if it never does.
find_window() {
  local pid=$1 window=""
  for _ in $(seq 100); do
    window=$(xdotool search --pid "$pid" --name "Velmorida condensatoarelor" 2>/dev/null |
      head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  echo "$window"
}
