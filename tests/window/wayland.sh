#!/usr/bin/env bash
# The real program on a Wayland compositor of its own (weston, headless): its
# toplevel carries the program's id, through which compositors find its icon
# and name, and the caption, both read from the client's own protocol log.
# Then the behaviour table's scenarios that need only the keyboard, and the
# keypad's keys, run on the wayland platform.
#   wayland.sh PROGRAM WINDOW_TESTS BEHAVIOUR_TESTS
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
window_tests=$2
behaviour_tests=$3
source "$here/../require_tools.sh"
require_tools weston

runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
socket=velmorida-$$
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 >"$runtime/weston.log" 2>&1 &
compositor=$!
trap 'kill "$compositor" ${app:-} 2>/dev/null || true; rm -rf "$runtime"' EXIT
# Weston listens on its socket from the moment the file exists.
for _ in $(seq 200); do
  [ -S "$runtime/$socket" ] && break
  sleep 0.05
done
[ -S "$runtime/$socket" ] || { echo "FAIL: weston did not start"; cat "$runtime/weston.log"; exit 1; }
export WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland
# A headless weston has no seat, and Qt 6.4's Wayland text input then
# dereferences the missing seat on a key release; these tests need no input
# method. (A desktop always has a seat.)
export QT_IM_MODULE=none

WAYLAND_DEBUG=1 "$program" 2>"$runtime/protocol.log" &
app=$!
app_id='xdg_toplevel@[0-9]*\.set_app_id("org\.velmorida\.Velmorida")'
title='xdg_toplevel@[0-9]*\.set_title(" Velmorida condensatoarelor ")'
for _ in $(seq 200); do
  grep -q "$app_id" "$runtime/protocol.log" && grep -q "$title" "$runtime/protocol.log" && break
  sleep 0.05
done
failures=0
for want in "$app_id" "$title"; do
  if grep -q "$want" "$runtime/protocol.log"; then
    echo "ok: the toplevel sent $want"
  else
    echo "FAIL: the toplevel never sent $want"
    failures=$((failures + 1))
  fi
done
kill "$app"
wait "$app" 2>/dev/null || true
app=

# The keyboard through Qt Test, on this compositor: typing computes and
# corrects, Escape ends the program from every control, the keypad types the
# separator. Pastes need a seat's clipboard and stay with
# the offscreen run. In a sanitizer build, Qt's
# Wayland client libraries leave process-lifetime allocations, some from a
# library unloaded before the leak check, which LeakSanitizer can neither name
# nor suppress; the same tests check for leaks of ours on the offscreen
# platform.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
if ! "$behaviour_tests" scenario:StartUpThenTyping scenario:EscapeEndsFromABox scenario:EscapeEndsFromAList scenario:EscapeEndsFromAnOpenList ||
  ! "$window_tests" keypadDecimalKeyOfEveryLayout; then
  failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] && echo "PASS: on Wayland"
[ "$failures" -eq 0 ]
