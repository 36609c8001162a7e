#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop needs:
# the files are there, the desktop entry and the AppStream metainfo validate,
# every icon has the size its folder claims, and the manual page renders.
# Then builds the Debian package from a clean copy of the tree as a
# distribution would, and checks it with lintian and hardening-check.
#   check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
source "$source/tests/require_tools.sh"
require_tools desktop-file-validate appstreamcli man groff \
  dpkg-buildpackage dh lintian hardening-check
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
  share/man/man1/velmorida.1
)
for file in "${expected[@]}"; do
  if [ -f "$root/$file" ]; then pass "installed $file"; else fail "missing $file"; fi
done
[ -x "$root/bin/velmorida" ] || fail "bin/velmorida is not executable"

# The desktop entry and the metainfo, wherever they were installed from.
check_desktop_files() {
  local usr=$1 complaints
  complaints=$(desktop-file-validate "$usr/share/applications/$app_id.desktop" 2>&1) ||
    fail "desktop-file-validate failed"
  [ -z "$complaints" ] || fail "desktop-file-validate: $complaints"
  grep -qx "Icon=$app_id" "$usr/share/applications/$app_id.desktop" || fail "Icon is not $app_id"
  # --strict fails on anything above a pedantic hint.
  appstreamcli validate --no-net --strict "$usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate --no-net --strict"
  grep -q 'release version="1.00"' "$usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "metainfo release is not 1.00"
  pass "desktop entry and metainfo validate in $usr"
}
check_desktop_files "$root"
warnings=$(groff -man -ww -z "$root/share/man/man1/velmorida.1" 2>&1)
[ -z "$warnings" ] && pass "manual page renders without warnings" || fail "groff: $warnings"

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

# The Debian package, built as a distribution builds it (the tests have run
# already: nocheck), from a copy of the tree without build directories.
tree=$stage/debian-build/velmorida
mkdir -p "$tree"
tar -C "$source" --exclude=./.git --exclude=./build --exclude='./build-*' --exclude=./obj-\* \
  -cf - . | tar -C "$tree" -xf -
arch=$(dpkg --print-architecture)
deb=$stage/debian-build/velmorida_1.00-1_${arch}.deb
if (cd "$tree" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" \
      dpkg-buildpackage -us -uc -b >"$stage/dpkg-buildpackage.log" 2>&1) && [ -f "$deb" ]; then
  pass "dpkg-buildpackage made $(basename "$deb")"
else
  tail -30 "$stage/dpkg-buildpackage.log"
  fail "dpkg-buildpackage"
fi
if [ -f "$deb" ]; then
  lintian_report=$(lintian "$deb" 2>&1 | grep -v "running with root privileges" || true)
  if grep -qE '^[EW]: ' <<<"$lintian_report"; then
    fail "lintian: $lintian_report"
  else
    pass "lintian: no error or warning${lintian_report:+ ($lintian_report)}"
  fi
  pkg=$stage/package
  dpkg-deb -x "$deb" "$pkg"
  hardening=$(hardening-check "$pkg/usr/bin/velmorida" || true)
  for feature in "Position Independent Executable" "Stack protected" "Read-only relocations" \
                 "Immediate binding"; do
    if grep -q "$feature: yes" <<<"$hardening"; then
      pass "hardening: $feature"
    else
      fail "hardening: $(grep "$feature" <<<"$hardening")"
    fi
  done
  check_desktop_files "$pkg/usr"
  page=$pkg/usr/share/man/man1/velmorida.1.gz
  if [ -f "$page" ] && [ -z "$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)" ]; then
    pass "man -l shows the packaged page without warnings"
  else
    fail "man -l $page"
  fi
fi

if [ "$failures" -eq 0 ]; then echo "install check: all passed"; else echo "install check: $failures failed"; fi
[ "$failures" -eq 0 ]
