#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop needs:
# the files are there, the desktop entry and the AppStream metainfo validate,
# every icon has the size its folder claims, and the Windows resource script
# compiles with windres and carries version 1.00.
#   check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
source "$source/tests/require_tools.sh"
require_tools desktop-file-validate appstreamcli x86_64-w64-mingw32-windres
app_id=org.velmorida.Velmorida
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
root=$stage/usr

expected=(
  bin/velmorida
  share/applications/$app_id.desktop
  share/metainfo/$app_id.metainfo.xml
  share/icons/hicolor/32x32/apps/$app_id.png
  share/icons/hicolor/64x64/apps/$app_id.png
  share/icons/hicolor/128x128/apps/$app_id.png
  share/icons/hicolor/256x256/apps/$app_id.png
  share/icons/hicolor/scalable/apps/$app_id.svg
)
for file in "${expected[@]}"; do
  if [ -f "$root/$file" ]; then pass "installed $file"; else fail "missing $file"; fi
done
[ -x "$root/bin/velmorida" ] || fail "bin/velmorida is not executable"

if desktop-file-validate "$root/share/applications/$app_id.desktop"; then
  pass "desktop entry validates"
else
  fail "desktop-file-validate"
fi
grep -qx "Icon=$app_id" "$root/share/applications/$app_id.desktop" || fail "Icon is not $app_id"
if appstreamcli validate --no-net "$root/share/metainfo/$app_id.metainfo.xml" >/dev/null; then
  pass "metainfo validates"
else
  fail "appstreamcli validate --no-net"
fi
grep -q 'release version="1.00"' "$root/share/metainfo/$app_id.metainfo.xml" ||
  fail "metainfo release is not 1.00"

# A PNG's width and height are big-endian at bytes 16 to 23.
png_size() {
  od -An -tu1 -j16 -N8 "$1" |
    awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}
for png in "$root"/share/icons/hicolor/*/apps/$app_id.png; do
  claimed=$(basename "$(dirname "$(dirname "$png")")")
  actual=$(png_size "$png")
  if [ "$actual" = "$claimed" ]; then pass "$claimed icon is $actual"; else fail "$claimed icon is $actual"; fi
done
grep -q 'viewBox="0 0 32 32"' "$root/share/icons/hicolor/scalable/apps/$app_id.svg" ||
  fail "scalable icon has no 32 x 32 viewBox"

# The Windows resources, compiled as a Windows build would, then read back.
res=$stage/velmorida.res
if x86_64-w64-mingw32-windres --preprocessor=cpp --preprocessor-arg=-xc \
    --preprocessor-arg=-DRC_INVOKED --preprocessor-arg=-D_WIN32 --preprocessor-arg=-D_WIN64 \
    -I /usr/share/mingw-w64/include -I "$build/resources" -I "$build/resources/icons" \
    "$source/resources/velmorida.rc" -O res -o "$res"; then
  listing=$(x86_64-w64-mingw32-windres -J res -O rc -i "$res")
  for line in 'FILEVERSION 1, 0, 0, 0' 'PRODUCTVERSION 1, 0, 0, 0' '"FileVersion", "1.00"' \
              '"ProductVersion", "1.00"' 'RT_GROUP_ICON'; do
    grep -qF "$line" <<<"$listing" || fail "resources lack $line"
  done
  pass "velmorida.rc compiles with windres"
else
  fail "windres could not compile velmorida.rc"
fi

if [ "$failures" -eq 0 ]; then echo "install check: all passed"; else echo "install check: $failures failed"; fi
[ "$failures" -eq 0 ]
