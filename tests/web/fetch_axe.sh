#!/usr/bin/env bash
# Fetches axe-core, the accessibility engine the page is tested with, from npm
# into FOLDER, keeping a copy of that version already there. Where npm cannot
# fetch it, FOLDER/fetch-failed.txt holds npm's reason, for the accessibility
# test to fail with while every other test runs: this ends well either way.
#   fetch_axe.sh FOLDER axe-core@VERSION
set -uo pipefail
folder=$1
package=$2
version=${package##*@}
installed=$folder/node_modules/axe-core
if [ -f "$installed/axe.min.js" ] &&
   grep -q "\"version\": \"$version\"" "$installed/package.json" 2>/dev/null; then
  exit 0
fi
rm -rf "$folder"
mkdir -p "$folder"
echo "Fetching $package from npm into $folder"
if ! npm install --prefix "$folder" --no-audit --no-fund --no-save "$package" \
     >"$folder/npm.log" 2>&1; then
  # npm's words without the stack of its own code.
  grep -v '^npm error  *at ' "$folder/npm.log" >"$folder/fetch-failed.txt"
  echo "npm could not fetch $package; the accessibility test will fail with npm's reason:"
  sed 's/^/  /' "$folder/fetch-failed.txt"
fi
exit 0
