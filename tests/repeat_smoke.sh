#!/usr/bin/env bash
# Runs the smoke group (the tests that start an X server, a Wayland
# compositor, Orca, Wine or a D-Bus session) of each build directory given,
# all at once and each until it fails, at most REPEATS times: a race between
# them, or with a loaded machine, shows up as a red run.
#   repeat_smoke.sh REPEATS BUILD_DIR...
set -uo pipefail
repeats=$1
shift
pids=()
for dir in "$@"; do
  # A JUnit file of each build's run for make test's summary.
  junit=()
  if [ -n "${VELMORIDA_TEST_LOGS:-}" ]; then
    junit=(--output-junit "$(realpath "$VELMORIDA_TEST_LOGS")/smoke-repeats-$(basename "$dir").xml")
  fi
  (cd "$dir" && ctest --output-on-failure -L smoke -j 2 --repeat "until-fail:$repeats" "${junit[@]}") &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do
  wait "$pid" || status=1
done
exit "$status"
