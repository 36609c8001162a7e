#!/usr/bin/env bash
# The page in Chromium's app window, titled as the page, on the test's X
# display: a fresh profile in the test's own home, no offer to translate the
# Romanian page, the accessibility tree built from its first layout as once a
# screen reader asked for it. It execs Chromium: ending this ends the browser.
#   chromium_app.sh PAGE.html
set -euo pipefail
profile=$(mktemp -d -p "$HOME")
mkdir "$profile/Default"
echo '{"translate": {"enabled": false}}' >"$profile/Default/Preferences"
exec /usr/bin/chromium --no-sandbox --disable-gpu --no-first-run --no-default-browser-check \
  --disable-background-networking --disable-component-update --disable-sync \
  --force-renderer-accessibility --user-data-dir="$profile" --window-size=800,600 \
  --app="file://$(realpath "$1")"
