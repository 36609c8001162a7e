#!/usr/bin/env bash
# What `make test` runs: each suite to its end, whether or not an earlier one
# failed, each one's output kept in test-logs/, then summary.py's summary.
# Exits non-zero when any suite failed.
#   run_suites.sh            (from the top of the checkout, after deps-test)
set -uo pipefail
cd "$(dirname "$0")/.."
logs=${VELMORIDA_TEST_LOGS:-test-logs}
rm -rf "$logs"
mkdir -p "$logs"
export VELMORIDA_TEST_LOGS=$logs
make_step() { make --no-print-directory "$@"; }

declare -a names=() results=() seconds=()

# record NAME STATUS START: one row of the summary.
record() {
  names+=("$1")
  if [ "$2" -eq 0 ]; then results+=(passed); else results+=(failed); fi
  seconds+=($(($(date +%s) - $3)))
}

# suite NAME STEP...: runs the make steps in the foreground, shown and kept.
suite() {
  local name=$1 start status
  shift
  start=$(date +%s)
  echo "=== $name"
  make_step "$@" 2>&1 | tee "$logs/$name.log"
  status=${PIPESTATUS[0]}
  record "$name" "$status" "$start"
}

suite release check
suite package test-package
suite windows test-windows
# The npm packages were fetched before (make test's deps-npm): the web suite runs
# its steps alone, and goes to npm no more.
suite web web-tests
# The sanitizer builds take the processor time that the repeated smoke
# tests leave idle; their output goes to their log alone, so that a failure
# of the smoke tests is not buried in it.
start=$(date +%s)
echo "=== sanitizer builds (in the background, output in $logs/sanitizer-builds.log)"
make_step -j 2 sanitizer-builds >"$logs/sanitizer-builds.log" 2>&1 &
builds=$!
suite smoke-repeats smoke-repeats
wait "$builds"
record sanitizer-builds $? "$start"
suite sanitizers asan-tests
suite fuzz fuzz-tests

rows=()
for i in "${!names[@]}"; do rows+=("${names[$i]}=${results[$i]}=${seconds[$i]}"); done
python3 tests/summary.py "$logs" "${rows[@]}"
