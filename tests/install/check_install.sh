#!/usr/bin/env bash
# install: installs the build into a temporary DESTDIR and checks what a
# desktop needs: the files, the desktop entry and metainfo valid, each icon of
# the size its folder claims, the manual page rendering. package: the Makefile
# reads debian/control's Build-Depends as dpkg does, and the source and binary
# packages built from a clean copy of the tree as a distribution would
# (compiling the program again) pass lintian and hardening-check.
#   check_install.sh install|package BUILD_DIR SOURCE_DIR VERSION APP_ID ICON_SIZE...
set -euo pipefail
mode=$1
build=$2
source=$3
version=$4
app_id=$5
shift 5
icon_sizes=("$@")
source "$source/tests/require_tools.sh"
require_tools desktop-file-validate appstreamcli man groff make identify \
  dpkg-buildpackage dpkg-checkbuilddeps dh lintian hardening-check
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
pass() { echo "ok: $*"; }

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
  grep -q "release version=\"$version\"" "$usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "metainfo release is not $version"
  pass "desktop entry and metainfo validate in $usr"
}

check_installed_tree() {
  DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
  root=$stage/usr

  expected=(
    bin/velmorida
    share/applications/$app_id.desktop
    share/metainfo/$app_id.metainfo.xml
    share/icons/hicolor/scalable/apps/$app_id.svg
    share/man/man1/velmorida.1
  )
  for size in "${icon_sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
  done
  for file in "${expected[@]}"; do
    if [ -f "$root/$file" ]; then pass "installed $file"; else fail "missing $file"; fi
  done
  [ -x "$root/bin/velmorida" ] || fail "bin/velmorida is not executable"

  check_desktop_files "$root"
  # The two files that write the version themselves agree with the build.
  grep -q "\"velmorida $version\"" "$root/share/man/man1/velmorida.1" ||
    fail "the manual page is not of version $version"
  changelog_version=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
  [ "$changelog_version" = "$version" ] || fail "debian/changelog is at $changelog_version"
  warnings=$(groff -man -ww -z "$root/share/man/man1/velmorida.1" 2>&1)
  [ -z "$warnings" ] && pass "manual page renders without warnings" || fail "groff: $warnings"

  for png in "$root"/share/icons/hicolor/*/apps/$app_id.png; do
    claimed=$(basename "$(dirname "$(dirname "$png")")")
    actual=$(identify -format "%wx%h" "$png")
    if [ "$actual" = "$claimed" ]; then pass "$claimed icon is $actual"; else fail "$claimed icon is $actual"; fi
  done
  grep -q 'viewBox="0 0 32 32"' "$root/share/icons/hicolor/scalable/apps/$app_id.svg" ||
    fail "scalable icon has no 32 x 32 viewBox"
}

check_package() {
  # The Makefile installs what debian/control's Build-Depends names under each
  # command's build profiles: it must read the list as dpkg does, which names
  # every entry as unmet where nothing is installed (and build-essential,
  # which the Makefile adds itself).
  no_packages=$stage/no-packages
  mkdir -p "$no_packages/updates"
  touch "$no_packages/status"
  for profiles in "" nocheck "nocheck pkg.velmorida.windows" "nocheck pkg.velmorida.web" \
                  "pkg.velmorida.windows pkg.velmorida.web pkg.velmorida.test" \
                  "pkg.velmorida.windows pkg.velmorida.web pkg.velmorida.test pkg.velmorida.npm"; do
    makefile=$(make -s --no-print-directory -C "$source" control-packages PROFILES="$profiles" |
               tr ' ' '\n' | sed '/^$/d' | sort)
    unmet=$(cd "$source" &&
            dpkg-checkbuilddeps --admindir="$no_packages" -P "${profiles// /,}" 2>&1 || true)
    dpkg=$(sed -n 's/.*Unmet build dependencies: //p' <<<"$unmet" | sed 's/ ([^)]*)//g' |
           tr ' ' '\n' | sed -e '/^build-essential:native$/d' -e 's/^debhelper-compat$/debhelper/' \
                            -e '/^$/d' | sort)
    if [ -n "$dpkg" ] && [ "$makefile" = "$dpkg" ]; then
      pass "the Makefile reads Build-Depends as dpkg does under \"$profiles\""
    else
      fail "under \"$profiles\" the Makefile reads $(echo $makefile), dpkg $(echo $dpkg)"
    fi
  done

  # The Debian packages, source and binary, built as a distribution builds
  # them (the tests have run already: nocheck), from a copy of the tree
  # without build directories.
  tree=$stage/debian-build/velmorida
  mkdir -p "$tree"
  tar -C "$source" --exclude=./.git --exclude=./build --exclude='./build-*' --exclude=./obj-\* \
    -cf - . | tar -C "$tree" -xf -
  arch=$(dpkg --print-architecture)
  deb=$stage/debian-build/velmorida_${version}_${arch}.deb
  dsc=$stage/debian-build/velmorida_${version}.dsc
  if (cd "$tree" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" \
        dpkg-buildpackage -us -uc >"$stage/dpkg-buildpackage.log" 2>&1) && [ -f "$deb" ] &&
      [ -f "$dsc" ]; then
    pass "dpkg-buildpackage made $(basename "$dsc") and $(basename "$deb")"
    # Kept for the package's own tests, which autopkgtest runs on them.
    rm -rf "$build/debian-package" && mkdir "$build/debian-package"
    cp "$deb" "$dsc" "${dsc%.dsc}.tar.xz" "$build/debian-package/"
  else
    tail -30 "$stage/dpkg-buildpackage.log"
    fail "dpkg-buildpackage"
  fi
  if [ -f "$deb" ]; then
    if lintian_report=$(lintian --fail-on error,warning "$dsc" "$deb" 2>&1); then
      pass "lintian: no error or warning${lintian_report:+ ($lintian_report)}"
    else
      fail "lintian: $lintian_report"
    fi
    pkg=$stage/package
    dpkg-deb -x "$deb" "$pkg"
    if hardening=$(hardening-check --nofortify --nocfprotection "$pkg/usr/bin/velmorida"); then
      pass "hardening-check: PIE, stack protector, read-only relocations, immediate binding"
    else
      fail "$hardening"
    fi
    check_desktop_files "$pkg/usr"
    page=$pkg/usr/share/man/man1/velmorida.1.gz
    if [ -f "$page" ] && [ -z "$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)" ]; then
      pass "man -l shows the packaged page without warnings"
    else
      fail "man -l $page"
    fi
  fi
}

if [ "$mode" = package ]; then check_package; else check_installed_tree; fi
all_passed "install check"
