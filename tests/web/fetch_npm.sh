#!/usr/bin/env bash
# Fetches the npm packages the page's tests use (axe-core, the accessibility
# engine; puppeteer-core, which drives Firefox) into folders of their own
# under ROOT, keeping a copy of the version already there. Where npm cannot
# fetch one, its FOLDER/fetch-failed.txt holds npm's reason, for the tests
# that need it to fail with while every other test runs: this ends well
# either way. Browsers are never downloaded: the tests use Debian's.
#   fetch_npm.sh ROOT FOLDER=PACKAGE@VERSION...
set -uo pipefail
root=$1
shift

# fetch FOLDER PACKAGE@VERSION
fetch() {
  local folder=$root/$1 package=$2
  local name=${package%@*} version=${package##*@}
  if grep -q "\"version\": \"$version\"" "$folder/node_modules/$name/package.json" 2>/dev/null; then
    return
  fi
  rm -rf "$folder"
  mkdir -p "$folder"
  echo "Fetching $package from npm into $folder"
  if ! PUPPETEER_SKIP_DOWNLOAD=1 npm install --prefix "$folder" --no-audit --no-fund \
       --no-save "$package" >"$folder/npm.log" 2>&1; then
    # npm's words without the stack of its own code.
    grep -v '^npm error  *at ' "$folder/npm.log" >"$folder/fetch-failed.txt"
    echo "npm could not fetch $package; the tests that need it will fail with npm's reason:"
    sed 's/^/  /' "$folder/fetch-failed.txt"
  fi
}

for entry in "$@"; do
  fetch "${entry%%=*}" "${entry#*=}"
done
exit 0
