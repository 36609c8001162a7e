#!/usr/bin/env bash
# ctest's setup for the Wine tests: the template prefix they copy.
set -euo pipefail
source "$(dirname "$0")/../require_tools.sh"
require_tools flock
[ -x /usr/lib/wine/wine64 ] || skip_test "not installed: wine64"
source "$(dirname "$0")/prefix.sh"
make_wine_template
echo "PASS: template prefix in $(wine_root)/template"
