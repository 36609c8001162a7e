#!/usr/bin/env bash
# The real program on weston nested on Xvfb, whose seat takes xdotool's keys
# as a desktop's does: Escape must end each of REPEATS fresh starts, the first
# start's protocol log must show its toplevel's id (through which compositors
# find its icon and name) and title, and the table's keyboard scenarios and
# the keypad's keys must pass there.
#   wayland.sh PROGRAM WINDOW_TESTS BEHAVIOUR_TESTS [REPEATS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
window_tests=$2
behaviour_tests=$3
repeats=${4:-10}
source "$here/../require_tools.sh"
require_tools weston Xvfb xdotool
source "$here/x_server.sh"

# Seconds a program may take to end after Escape, on a loaded machine.
exit_limit=10

runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime
trap 'kill ${app:-} ${compositor:-} ${XVFB_PID:-} 2>/dev/null || true; rm -rf "$runtime"' EXIT
start_xvfb -screen 0 1024x768x24
socket=velmorida-$$
weston --backend=x11-backend.so --use-pixman --width=800 --height=600 --socket="$socket" \
  --idle-time=0 >"$runtime/weston.log" 2>&1 &
compositor=$!
# Weston logs its X window's id; the keys typed on the X server go to that
# window and from there to weston's seat.
id_pattern='x11 output .*, window id \([0-9]*\)'
poll 10 grep -q "$id_pattern" "$runtime/weston.log" && poll 10 test -S "$runtime/$socket" ||
  { echo "FAIL: weston did not start"; cat "$runtime/weston.log"; exit 1; }
xdotool windowfocus --sync "$(sed -n "s/.*$id_pattern.*/\1/p" "$runtime/weston.log")"
export WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland

slowest=0
for run in $(seq "$repeats"); do
  log="$runtime/protocol-$run.log"
  WAYLAND_DEBUG=client "$program" 2>"$log" &
  app=$!
  # Until the client's keyboard has entered its window.
  if ! poll 20 grep -q 'wl_keyboard@[0-9]*\.enter(' "$log"; then
    fail "run $run: the calculator never had the keyboard"
    kill -9 "$app" 2>/dev/null || true
    app=
    continue
  fi
  start=$(date +%s%N)
  xdotool key Escape
  if ! poll "$exit_limit" ended "$app"; then
    fail "run $run: still running ${exit_limit} s after Escape"
    kill -9 "$app" 2>/dev/null || true
  else
    wait "$app" 2>/dev/null || true
    ms=$((($(date +%s%N) - start) / 1000000))
    [ "$ms" -gt "$slowest" ] && slowest=$ms
  fi
  app=
done
echo "$((repeats - failures)) of $repeats ended after Escape, the slowest in $slowest ms"

for want in 'xdg_toplevel@[0-9]*\.set_app_id("org\.velmorida\.Velmorida")' \
  'xdg_toplevel@[0-9]*\.set_title(" Velmorida condensatoarelor ")'; do
  grep -q "$want" "$runtime/protocol-1.log" ||
    fail "the toplevel never sent $want"
done

# Pastes need a seat's clipboard and stay with the offscreen run. In a
# sanitizer build, Qt's Wayland client libraries leave process-lifetime
# allocations, some from a library unloaded before the leak check, which
# LeakSanitizer can neither name nor suppress; the same tests check for leaks
# of ours on the offscreen platform.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
if ! "$behaviour_tests" scenario:StartUpThenTyping scenario:EscapeEndsFromABox \
    scenario:EscapeEndsFromAList scenario:EscapeEndsFromAnOpenList ||
  ! "$window_tests" keypadDecimalKeyOfEveryLayout; then
  fail "the keyboard scenarios on Wayland"
fi
all_passed "on Wayland"
