#!/usr/bin/env bash
# velmorida.exe as it is handed to a Windows user: one file, importing only
# Windows' own DLLs, under 1.5 MB, with its icon, its version resource and a
# manifest asking for per-monitor dpi awareness and Common Controls 6.
#   check_exe.sh velmorida.exe VERSION
set -euo pipefail
exe=$1
version=$2
source "$(dirname "$0")/../require_tools.sh"
require_tools x86_64-w64-mingw32-objdump x86_64-w64-mingw32-windres
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

max_bytes=$((1536 * 1024))
size=$(stat -c %s "$exe")
[ "$size" -lt "$max_bytes" ] || fail "$size bytes"

system_dlls='^(KERNEL32|USER32|GDI32|COMCTL32|OLEACC|OLEAUT32|msvcrt)\.dll$'
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }')
while read -r dll; do
  [[ $dll =~ $system_dlls ]] || fail "imports $dll"
done <<<"$imports"

# The version resource's numbers: 1.00 is 1, 0; 1.10 would be 1, 10.
IFS=. read -r major minor <<<"$version"
numbers="$major, $((10#$minor)), 0, 0"
resources=$(x86_64-w64-mingw32-windres -J coff -O rc -i "$exe")
for line in "FILEVERSION $numbers" "PRODUCTVERSION $numbers" "\"FileVersion\", \"$version\"" \
            "\"ProductVersion\", \"$version\"" 'RT_GROUP_ICON' 'RT_MANIFEST'; do
  grep -qF "$line" <<<"$resources" || fail "no $line in the resources"
done
for setting in PerMonitorV2 Microsoft.Windows.Common-Controls; do
  grep -qaF "$setting" "$exe" || fail "no $setting in the manifest"
done

[ "$failures" -eq 0 ] || exit 1
echo "PASS: $size bytes; imports $(echo $imports); version $version"
