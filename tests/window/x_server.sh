# Sourced by every script that runs a program on an X server of its own (the
# window tests, the screenshot, the start-up benchmark): the one place that
# starts Xvfb, and the waits for what it shows.

# start_xvfb [Xvfb options...]: starts Xvfb on the first free display, which
# the server itself picks and reports (-displayfd) once it listens, so two
# runs never race for a number and a client may connect at once. Exports
# DISPLAY, sets XVFB_PID. -noreset: an X server resets when its last client
# disconnects, closing every connection and refusing clients until it has
# reloaded its keymap, so a short-lived client (xdotool, xprop, a probe) would
# make the program connecting just after it fail with "could not connect to
# display". -r: no key repeats, since on a busy machine xdotool's release of a
# key can come after the repeat delay, and the key would be typed twice.
start_xvfb() {
  local fifo log number=""
  fifo=$(mktemp -u)
  log=$(mktemp)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -nolisten tcp -noreset -r "$@" 3>"$fifo" >"$log" 2>&1 &
  XVFB_PID=$!
  read -r -t 30 number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "Xvfb did not start:" >&2
    cat "$log" >&2
  fi
  rm -f "$log"
  [ -n "$number" ] || return 1
  export DISPLAY=":$number"
}

# start_window_manager: starts openbox on $DISPLAY and returns once it manages
# the screen (it has set the root window's _NET_SUPPORTING_WM_CHECK), so that
# the first window mapped after it is framed and focused. Sets WM_PID.
start_window_manager() {
  openbox >/dev/null 2>&1 &
  WM_PID=$!
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
    sleep 0.05
  done
  echo "openbox did not take the screen" >&2
  return 1
}

# find_window_named NAME [SEARCH_OPTION...]: prints the X id of the first
# mapped window of that name (only a mapped window takes the keyboard) that
# also meets xdotool search's options (--pid PID), within 20 s, or nothing.
# xdotool takes a window meeting any one of its conditions unless told --all,
# so that --pid alone would pass any window of the process. Not
# `xdotool search --sync`: a window destroyed during a search's walk of the
# window tree (Wine makes and drops some as a program starts) ends it with
# BadWindow; here the next look goes on.
find_window_named() { poll 20 first_window_named "$@" || true; }

# first_window_named NAME [SEARCH_OPTION...]: one look; fails if none is found.
first_window_named() {
  local windows
  windows=$(xdotool search --all --onlyvisible "${@:2}" --name "$1") && echo "${windows%%$'\n'*}"
}

# focus_window_named NAME: gives the keyboard focus to the first mapped window
# of that name and prints its X id, or prints nothing if no such window takes
# it within about a minute. A window found may still be replaced as Wine sets
# it up; then it takes no focus, and the next look finds the real one.
focus_window_named() {
  local window attempt
  for attempt in 1 2 3; do
    window=$(find_window_named "$1")
    if [ -n "$window" ] && xdotool windowfocus --sync "$window" 2>/dev/null; then
      echo "$window"
      return
    fi
  done
}

# poll SECONDS COMMAND...: runs COMMAND every 0.05 s until it succeeds; fails
# if it has not within SECONDS.
poll() {
  for _ in $(seq $(($1 * 20))); do
    "${@:2}" 2>/dev/null && return 0
    sleep 0.05
  done
  return 1
}

# ended PID: whether that process has ended.
ended() { ! kill -0 "$1"; }

# screen_digest: a digest of what the screen shows now.
screen_digest() { import -window root rgb:- | md5sum; }

# screen_is_not DIGEST: the screen shows something else now.
screen_is_not() { [ "$(screen_digest)" != "$1" ]; }

# wait_for_still_screen: returns once two pictures of the screen a moment
# apart agree (up to 5 s), so that the last change is drawn before a
# screenshot is taken.
wait_for_still_screen() {
  local before="" now
  for _ in $(seq 50); do
    now=$(screen_digest)
    [ "$now" = "$before" ] && return 0
    before=$now
    sleep 0.1
  done
}
