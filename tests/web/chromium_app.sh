#!/usr/bin/env bash
# The page in Chromium's app window, titled with the page's title, on the
# test's X display: a fresh profile in the test's own home, no offer to
# translate the Romanian page, and the page's accessibility tree built from
# its first layout, as once a screen reader has asked for it. It execs
# Chromium, so that ending this process ends the browser.
#   chromium_app.sh PAGE.html
set -euo pipefail
profile=$(mktemp -d -p "$HOME")
mkdir "$profile/Default"
echo '{"translate": {"enabled": false}}' >"$profile/Default/Preferences"
exec /usr/bin/chromium --no-sandbox --disable-gpu --no-first-run --no-default-browser-check \
  --disable-background-networking --disable-component-update --disable-sync \
  --force-renderer-accessibility --user-data-dir="$profile" --window-size=800,600 \
  --app="file://$(realpath "$1")"
