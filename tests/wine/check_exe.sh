#!/usr/bin/env bash
# velmorida.exe as it is handed to a Windows user: its size, imports,
# hardening, header, resources and manifest, its debug information only in
# the file beside it, and nothing of the machine or the moment it was built.
#   check_exe.sh velmorida.exe VERSION SOURCE_DATE_EPOCH SOURCE_DIR BUILD_DIR
set -euo pipefail
exe=$1
version=$2
epoch=$3
source "$(dirname "$0")/../require_tools.sh"
require_tools x86_64-w64-mingw32-objdump x86_64-w64-mingw32-nm x86_64-w64-mingw32-windres
objdump() { x86_64-w64-mingw32-objdump "$@"; }
nm() { x86_64-w64-mingw32-nm "$@"; }

max_bytes=$((600 * 1024))
size=$(stat -c %s "$exe")
[ "$size" -lt "$max_bytes" ] || fail "$size bytes"

# ADVAPI32 gives the stack protector its random canary.
system_dlls='^(KERNEL32|USER32|GDI32|COMCTL32|OLEACC|OLEAUT32|ADVAPI32|msvcrt)\.dll$'
headers=$(objdump -p "$exe")
imports=$(awk '/DLL Name:/ { print $3 }' <<<"$headers")
others=$(grep -vE "$system_dlls" <<<"$imports" || true)
[ -z "$others" ] || fail "imports ${others//$'\n'/ }"

# The debug information: none in the program, all in the file it names,
# which objdump follows only where the file's CRC-32 is the one recorded.
debug_sections=$(objdump -h "$exe" | awk '$2 ~ /^\.debug/ { print $2 }')
[ -z "$debug_sections" ] || fail "debug sections: ${debug_sections//$'\n'/ }"
[ -z "$(nm "$exe" 2>/dev/null)" ] || fail "a symbol table"
symbols=$exe.debug
# From the program's folder, where objdump looks first.
if ! (cd "$(dirname "$exe")" && objdump -Wk "$(basename "$exe")" 2>&1) |
  grep -q ": Found separate debug info file: $(basename "$symbols")$"; then
  fail "the program does not name $symbols, beside it and with its CRC"
  symbols=
elif [ -z "$(objdump -h "$symbols" | awk '$2 == ".debug_info"')" ]; then
  fail "$symbols has no .debug_info"
fi

# The stack protector: each protected function calls __stack_chk_fail when its
# canary was overwritten. libssp, which comes with the checked string functions
# even where no function is protected, calls it in __stack_chk_fail_local.
protected_functions=0
if [ -n "$symbols" ]; then
  # The addresses of __stack_chk_fail, __stack_chk_fail_local and the symbol after it.
  read -r chk_fail own own_end < <(nm -n "$symbols" | awk '$3 == "__stack_chk_fail" { fail = $1 }
    start { print fail, start, $1; exit } $3 == "__stack_chk_fail_local" { start = $1 }') || true
  # calls_of [OBJDUMP_OPTION...]: how many calls of __stack_chk_fail the code has.
  calls_of() { objdump -d "$@" "$exe" | grep -c "call *0x$(printf %x $((16#$chk_fail)))$" || true; }
  if [ -z "${own_end:-}" ]; then
    fail "no __stack_chk_fail and __stack_chk_fail_local in $symbols"
  else
    libssp_calls=$(calls_of --start-address="0x$own" --stop-address="0x$own_end")
    protected_functions=$(($(calls_of) - libssp_calls))
    [ "$protected_functions" -gt 0 ] || fail "no function calls __stack_chk_fail"
  fi
fi

# Built the same wherever and whenever: each file's COFF header carries the chosen
# time (objdump tells it in the local time), and neither holds the source or build folder.
for file in "$exe" ${symbols:+"$symbols"}; do
  stamp=$(date -ud "$(TZ=UTC0 objdump -p "$file" | sed -n 's/^Time\/Date\t*//p')" +%s)
  [ "$stamp" = "$epoch" ] || fail "$(basename "$file") stamped $stamp, not $epoch"
  for folder in "$4" "$5"; do
    if grep -qaF "$folder" "$file"; then fail "$(basename "$file") holds $folder"; fi
  done
done

dll_characteristics=$(awk '/^DllCharacteristics/ { on = 1; next }
                           on && /^\t/ { print $1; next } { on = 0 }' <<<"$headers")
for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
  grep -qx "$flag" <<<"$dll_characteristics" || fail "no $flag"
done
# Without its base relocations Windows cannot move the program, whatever
# DYNAMIC_BASE says (older strip tools removed them).
[ -n "$(objdump -h "$exe" | awk '$2 == ".reloc"')" ] || fail "no .reloc section"
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
  grep -qF "$setting" <<<"$manifest" || fail "no $setting in the manifest"
done

all_passed "$size bytes, stamped $epoch; imports ${imports//$'\n'/ };" \
  "symbols in $(basename "$symbols");" \
  "$protected_functions protected functions; ${dll_characteristics//$'\n'/ };" \
  "subsystem $subsystem_version; version $version; \"$description\""
