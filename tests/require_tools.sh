# Sourced by the tests that drive programs outside the build (Xvfb, D-Bus,
# windres, ...). require_tools TOOL...: a test whose tools are not installed
# exits 77, which CTest reports as skipped, so that a build without them still
# runs every other test. `make test` installs them all and sets
# VELMORIDA_REQUIRE_ALL_TESTS=1, and there a missing tool fails the test.
require_tools() {
  local tool missing=()
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ -n "${VELMORIDA_REQUIRE_ALL_TESTS:-}" ]; then
    echo "FAIL: not installed: ${missing[*]}"
    exit 1
  fi
  echo "SKIP: not installed: ${missing[*]}"
  exit 77
}
