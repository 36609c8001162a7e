#!/usr/bin/env bash
# velmorida.exe as it is handed to a Windows user: one file under 600 KB,
# importing only Windows' own DLLs, without debug information or symbols (they
# are in the file it names in .gnu_debuglink, beside it, with the checksum it
# records), built with the stack protector, ASLR with high entropy and DEP,
# asking for Windows 6.0 or later in its header, with its icon, its version
# resource and a manifest of the same version and description naming Windows
# 10 and 11 and asking for per-monitor dpi awareness and Common Controls 6.
# Built the same wherever and whenever: the program's and the symbol file's
# headers carry the chosen time, not the clock's, and neither holds the path
# of the source or the build folder.
#   check_exe.sh velmorida.exe VERSION SOURCE_DATE_EPOCH SOURCE_DIR BUILD_DIR
set -euo pipefail
exe=$1
version=$2
epoch=$3
source_dir=$4
build_dir=$5
source "$(dirname "$0")/../require_tools.sh"
require_tools x86_64-w64-mingw32-objdump x86_64-w64-mingw32-nm x86_64-w64-mingw32-windres gzip od
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
objdump() { x86_64-w64-mingw32-objdump "$@"; }
nm() { x86_64-w64-mingw32-nm "$@"; }

max_bytes=$((600 * 1024))
size=$(stat -c %s "$exe")
[ "$size" -lt "$max_bytes" ] || fail "$size bytes"

# ADVAPI32 gives the stack protector its random canary.
system_dlls='^(KERNEL32|USER32|GDI32|COMCTL32|OLEACC|OLEAUT32|ADVAPI32|msvcrt)\.dll$'
imports=$(objdump -p "$exe" | awk '/DLL Name:/ { print $3 }')
while read -r dll; do
  [[ $dll =~ $system_dlls ]] || fail "imports $dll"
done <<<"$imports"

# The debug information: none in the program, all in the file it names.
# section NAME: the size and the file offset of section NAME, in hex.
section() { objdump -h "$exe" | awk -v name="$1" '$2 == name { print $3, $6 }'; }
section_bytes() {
  local size offset
  read -r size offset <<<"$(section "$1")"
  dd if="$exe" bs=4096 iflag=skip_bytes,count_bytes skip=$((16#$offset)) count=$((16#$size)) \
    status=none
}
debug_sections=$(objdump -h "$exe" | awk '$2 ~ /^\.debug/ { print $2 }')
[ -z "$debug_sections" ] || fail "debug sections: ${debug_sections//$'\n'/ }"
[ -z "$(nm "$exe" 2>/dev/null)" ] || fail "a symbol table"
symbols=
if [ -z "$(section .gnu_debuglink)" ]; then
  fail "no .gnu_debuglink"
else
  # The section holds the file's name, zero-padded, then its CRC-32 (gzip's).
  symbols=$(dirname "$exe")/$(section_bytes .gnu_debuglink | tr '\0' '\n' | sed -n 1p)
  recorded_crc=$(section_bytes .gnu_debuglink | tail -c 4 | od -An -tx1 | tr -d ' \n')
  if [ ! -f "$symbols" ]; then
    fail "no $symbols beside the program"
    symbols=
  else
    actual_crc=$(gzip -c "$symbols" | tail -c 8 | od -An -N4 -tx1 | tr -d ' \n')
    [ "$recorded_crc" = "$actual_crc" ] || fail "$symbols is not the program's (CRC $actual_crc)"
    [ -n "$(objdump -h "$symbols" | awk '$2 == ".debug_info"')" ] || fail "$symbols has no .debug_info"
  fi
fi

# The stack protector: the program's functions call __stack_chk_fail when
# their canary was overwritten. Each call in the program's code is named by
# the function it lies in, from the symbol file; libssp's own
# __stack_chk_fail_local calls it too, and libssp comes along with the
# checked string functions even where no function is protected.
# callers_of FUNCTION: the function around each call of FUNCTION.
callers_of() {
  { nm --defined-only "$symbols" | awk '$2 ~ /^[Tt]$/ && $3 !~ /^\./ { print "symbol", $1, $3 }'
    objdump -d "$exe" | awk -v target="0x$(printf %x $((16#$1)))" \
      'NF > 2 && $(NF - 1) == "call" && $NF == target { sub(":", "", $1); print "call", $1 }'
  } | awk 'function padded(hex) { while (length(hex) < 16) hex = "0" hex; return hex }
           $1 == "symbol" { address[++symbols] = $2; name[symbols] = $3; next }
           { site = padded($2); caller = "?"; best = ""
             for (i = 1; i <= symbols; i++)
               if (address[i] <= site && address[i] > best) { best = address[i]; caller = name[i] }
             print caller }'
}
protected_functions=0
if [ -n "$symbols" ]; then
  chk_fail=$(nm "$symbols" | awk '$3 == "__stack_chk_fail" { print $1 }')
  if [ -z "$chk_fail" ]; then
    fail "no __stack_chk_fail in $symbols"
  else
    protected_functions=$(callers_of "$chk_fail" | grep -vc '^__stack_chk_fail' || true)
    [ "$protected_functions" -gt 0 ] || fail "no function calls __stack_chk_fail"
  fi
fi

# The time stamp in the COFF header, 8 bytes past the "PE" signature whose
# place the DOS header gives at 0x3c.
pe_time() {
  local signature
  signature=$(od -An -tu4 --endian=little -j $((0x3c)) -N 4 "$1" | tr -d ' ')
  od -An -tu4 --endian=little -j $((signature + 8)) -N 4 "$1" | tr -d ' '
}
for file in "$exe" ${symbols:+"$symbols"}; do
  stamp=$(pe_time "$file")
  [ "$stamp" = "$epoch" ] || fail "$(basename "$file") stamped $stamp, not $epoch"
  for folder in "$source_dir" "$build_dir"; do
    if grep -qaF "$folder" "$file"; then fail "$(basename "$file") holds $folder"; fi
  done
done

headers=$(objdump -p "$exe")
dll_characteristics=$(awk '/^DllCharacteristics/ { on = 1; next }
                           on && /^\t/ { print $1; next } { on = 0 }' <<<"$headers")
for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
  grep -qx "$flag" <<<"$dll_characteristics" || fail "no $flag"
done
# Without its base relocations Windows cannot move the program, whatever
# DYNAMIC_BASE says (older strip tools removed them).
[ -n "$(section .reloc)" ] || fail "no .reloc section"
subsystem_version=$(awk '$1 == "MajorSubsystemVersion" { major = $2 }
                         $1 == "MinorSubsystemVersion" { print major "." $2 }' <<<"$headers")
[ "${subsystem_version%%.*}" -ge 6 ] || fail "subsystem version $subsystem_version"

# The version resource's numbers: 1.00 is 1, 0; 1.10 would be 1, 10.
IFS=. read -r major minor <<<"$version"
numbers="$major, $((10#$minor)), 0, 0"
resources=$(x86_64-w64-mingw32-windres -J coff -O rc -i "$exe")
for line in "FILEVERSION $numbers" "PRODUCTVERSION $numbers" "\"FileVersion\", \"$version\"" \
            "\"ProductVersion\", \"$version\"" 'RT_GROUP_ICON' 'RT_MANIFEST'; do
  grep -qF "$line" <<<"$resources" || fail "no $line in the resources"
done
# The description, defined once for the build: the same in the version
# resource and in the manifest, whose version is the program's.
description=$(sed -n 's/^ *VALUE "FileDescription", "\(.*\)"$/\1/p' <<<"$resources")
[ -n "$description" ] || fail "no FileDescription in the resources"
manifest=$(grep -ao '<assembly .*</assembly>' <(tr '\r\n' '  ' <"$exe") || true)
[ -n "$manifest" ] || fail "no manifest text in the program"
grep -qF "<description>$description</description>" <<<"$manifest" ||
  fail "the manifest's description is not \"$description\""
grep -qE "name=\"QZ9XK\.Velmorida\" +version=\"$major\.$((10#$minor))\.0\.0\"" <<<"$manifest" ||
  fail "the manifest's assembly is not of version $major.$((10#$minor)).0.0"
# The manifest's settings; the supportedOS id is that of Windows 10 and 11.
for setting in PerMonitorV2 Microsoft.Windows.Common-Controls \
               'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"'; do
  grep -qaF "$setting" "$exe" || fail "no $setting in the manifest"
done

[ "$failures" -eq 0 ] || exit 1
echo "PASS: $size bytes, stamped $epoch; imports ${imports//$'\n'/ };" \
  "symbols in $(basename "$symbols");" \
  "$protected_functions protected functions; ${dll_characteristics//$'\n'/ };" \
  "subsystem $subsystem_version; version $version; \"$description\""
