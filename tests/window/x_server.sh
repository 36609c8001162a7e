# Sourced by the scripts that run the real program on an X server of their
# own (the smoke test, the screenshot, the start-up benchmark).

# start_xvfb [Xvfb options...]: starts Xvfb on the first free display, which
# the server itself picks and reports when it is ready (-displayfd), so two
# runs never race for a number. Exports DISPLAY and sets XVFB_PID.
start_xvfb() {
  local fifo number=""
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -nolisten tcp "$@" 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  read -r -t 20 number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
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
