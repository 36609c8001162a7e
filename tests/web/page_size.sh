#!/bin/sh
# The page is one file of at most 150 KB, and refers to nothing outside it:
# no src or href attribute names another file or address.
#   page_size.sh PAGE.html
set -eu
page=$1
limit=$((150 * 1024))
size=$(stat -c %s "$page")
echo "$page: $size bytes (at most $limit)"
[ "$size" -le "$limit" ] || { echo "larger than $limit bytes" >&2; exit 1; }
if grep -Eo '(src|href)="[^"#]' "$page"; then
  echo "the page refers to another file" >&2
  exit 1
fi
