#!/usr/bin/env bash
# The Debian package's own tests (debian/tests/) run by autopkgtest on the
# .deb and the .dsc in PACKAGE_DIR, as Debian's CI runs them: in a clean
# Debian 12 testbed unpacked anew for the run from a root mmdebstrap made with
# this machine's apt sources, brought up to date, where apt installs the
# package and what the tests depend on from the archive. Nothing is installed
# on this machine.
#   autopkgtest.sh PACKAGE_DIR CACHE_DIR
set -euo pipefail
shopt -s nullglob
debs=("$1"/*.deb)
dscs=("$1"/*.dsc)
cache=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../require_tools.sh"
require_tools autopkgtest mmdebstrap unshare sha256sum
suite=bookworm
if [ ${#debs[@]} -ne 1 ] || [ ${#dscs[@]} -ne 1 ]; then
  echo "FAIL: $1 holds ${#debs[@]} .deb and ${#dscs[@]} .dsc, not one of each"
  exit 1
fi
deb=${debs[0]}
dsc=${dscs[0]}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# How apt reaches the archive here: the sources, and the configuration files
# made of Acquire settings alone (a proxy, an archive snapshot's dates), which
# the testbed's apt keeps.
host_apt_sources() {
  local file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
              /etc/apt/sources.list.d/*.sources; do
    [ -s "$file" ] && echo "$file"
  done
  return 0
}
host_acquire_settings() {
  local file
  for file in /etc/apt/apt.conf /etc/apt/apt.conf.d/*; do
    [ -s "$file" ] || continue
    # Every line that is not blank or a comment sets an Acquire option.
    grep -v -E '^[[:space:]]*($|//|#)' "$file" | grep -q -v '^Acquire::' || echo "$file"
  done
  return 0
}
mapfile -t sources < <(host_apt_sources)
mapfile -t settings < <(host_acquire_settings)
[ ${#sources[@]} -gt 0 ] || { echo "FAIL: no apt sources in /etc/apt"; exit 1; }

# The root, kept in CACHE_DIR under the digest of all it is made from, so
# that a change of any makes a new one; the testbed is upgraded at each run,
# so an old root is tested as a current one. Written under another name
# first: an interrupted run leaves no half root.
recipe_digest() {
  {
    echo "$suite"
    mmdebstrap --version
    cat "${sources[@]}" "${settings[@]}"
  } | sha256sum | cut -c1-16
}
mkdir -p "$cache"
root=$cache/$suite-$(recipe_digest).tar
if [ ! -f "$root" ]; then
  rm -f "$cache"/"$suite"-*.tar
  start=$(date +%s)
  mmdebstrap --quiet --variant=apt --format=tar "${settings[@]/#/--aptopt=}" "$suite" "$root.part" \
    "${sources[@]}" || { echo "FAIL: mmdebstrap could not make the $suite root"; exit 1; }
  mv "$root.part" "$root"
  echo "made the $suite root in $(($(date +%s) - start)) s"
fi

# autopkgtest's unshare testbed maps the testbed's users onto the range
# /etc/subuid gives whoever runs it. Root needs no mapping, and Debian gives
# root no range: for root without one, unshare goes without a user namespace.
if [ "$(id -u)" -eq 0 ] && ! grep -q '^root:' /etc/subuid 2>/dev/null; then
  mkdir "$work/bin"
  cat >"$work/bin/unshare" <<'EOF'
#!/bin/sh
# unshare for root, without the user namespace and its mappings.
for arg; do
  shift
  case $arg in --user | --map-auto | --map-root-user) ;; *) set -- "$@" "$arg" ;; esac
done
exec /usr/bin/unshare "$@"
EOF
  chmod +x "$work/bin/unshare"
  export PATH=$work/bin:$PATH
fi

# 0: every test passed; 2 would be a test skipped, 8 none run, higher ones
# a testbed or dependency failure: any of them fails here.
status=0
autopkgtest --apt-upgrade --output-dir "$work/out" "$deb" "$dsc" -- \
  unshare --release "$suite" --tarball "$root" --prefix "$work/testbed." || status=$?
if [ "$status" -ne 0 ]; then
  echo "FAIL: autopkgtest ended with status $status"
  exit 1
fi
echo "PASS: autopkgtest of $(basename "$deb") in a clean $suite testbed"
