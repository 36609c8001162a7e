# Sourced by the tests that drive programs outside the build (Xvfb, D-Bus,
# windres, ...). A test that cannot run here exits 77, which CTest reports as
# skipped, so that a build without those tools runs every other test; under
# `make test` (every tool installed, VELMORIDA_REQUIRE_ALL_TESTS=1) it fails.

# skip_test REASON: ends the test as skipped, or as failed under make test.
skip_test() {
  if [ -n "${VELMORIDA_REQUIRE_ALL_TESTS:-}" ]; then
    echo "FAIL: $1"
    exit 1
  fi
  echo "SKIP: $1"
  exit 77
}

# require_tools TOOL...: skips the test unless every tool is installed.
require_tools() {
  local tool missing=()
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  [ ${#missing[@]} -eq 0 ] || skip_test "not installed: ${missing[*]}"
}

# fail WHAT: a check failed; it is told and counted, and the test goes on to
# its other checks. all_passed MESSAGE: the test's end, failed if any did.
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
all_passed() { [ "$failures" -eq 0 ] || exit 1; echo "PASS: $*"; }
