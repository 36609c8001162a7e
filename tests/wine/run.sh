#!/usr/bin/env bash
# Runs a cross-compiled Windows program under Wine in a prefix of its own, as
# ctest's emulator: run.sh PROGRAM.exe [ARGS...]. VELMORIDA_WINE_TEST names
# the prefix (one per test, so that tests run side by side).
set -uo pipefail
source "$(dirname "$0")/prefix.sh"
use_fresh_prefix "${VELMORIDA_WINE_TEST:-run-$$}"
trap end_prefix EXIT
"$WINE" "$@"
