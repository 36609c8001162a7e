# Sourced by the scripts that drive the real program on an X server.
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
