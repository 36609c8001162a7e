#!/usr/bin/env bash
# The MSI as a user meets it, under Wine in a prefix of its own: it installs
# the program built, its licence and a shortcut and registers the product,
# once however often it runs; a later version replaces it; the uninstall
# leaves nothing behind. The zip's content is release_files.py's test.
#   packages.sh PACKAGE.msi velmorida.exe VERSION STAGING_DIR
# STAGING_DIR holds the WiX source and the files the MSI was built from.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
msi=$1
exe=$2
version=$3
staging=$4
source "$here/../require_tools.sh"
require_tools msiinfo wixl flock
[ -x /usr/lib/wine/wine64 ] || skip_test "not installed: wine64"
source "$here/prefix.sh"

trap 'end_prefix; rm -rf "${later:-}"' EXIT
use_fresh_prefix "${VELMORIDA_WINE_TEST:-windows_packages}"

drive_c=$WINEPREFIX/drive_c
folder="$drive_c/Program Files/Velmorida"
product_of() { msiinfo export "$1" Property | awk '$1 == "ProductCode" { print $2 }' | tr -d '\r'; }
uninstall_key_of() { echo "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1"; }
product=$(product_of "$msi")

# The same package one minor version later, as the next release would be,
# with a product code of its own.
IFS=. read -r major minor <<<"$version"
later_version=$(printf '%s.%02d' "$major" $((10#$minor + 1)))
later_code=$(tr a-f A-F </proc/sys/kernel/random/uuid)
later=$(mktemp -d)
cp -r "$staging"/. "$later"
sed -i -e "s/Version=\"$version\"/Version=\"$later_version\"/" \
  -e "s/<Product Id=\"[^\"]*\"/<Product Id=\"$later_code\"/" "$later/velmorida.wxs"
(cd "$later" && wixl -a x64 -o later.msi velmorida.wxs)
later_product=$(product_of "$later/later.msi")

msiexec() { "$WINE" msiexec "$@" </dev/null >/dev/null 2>&1; }
registry() { "$WINE" reg query "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# The icon "Apps & features" shows, kept by Windows Installer for a product.
icon_of() { echo "$drive_c/windows/Installer/$1/velmorida.ico"; }
shortcuts() { find "$drive_c" -name 'Velmorida.lnk' | wc -l; }

# installed STEP PRODUCT VERSION: what the package put in place is there,
# once, and the product is registered with its icon.
installed() {
  local step=$1 product=$2 version=$3 entry
  [ "$(ls "$folder" | tr '\n' ' ')" = "LICENSE.txt velmorida.exe " ] ||
    fail "$step: Program Files holds $(ls "$folder" | tr '\n' ' ')"
  [ "$(shortcuts)" -eq 1 ] || fail "$step: $(shortcuts) Start-menu shortcuts"
  entry=$(registry "$(uninstall_key_of "$product")")
  grep -q "DisplayName.*Velmorida" <<<"$entry" || fail "$step: no uninstall entry $product"
  grep -q "DisplayVersion.*$version" <<<"$entry" || fail "$step: uninstall entry not of $version"
  [ -f "$(icon_of "$product")" ] || fail "$step: no product icon kept"
}

msiexec /i "$msi" /qn || fail "msiexec /i"
installed "install" "$product" "$version"
cmp -s "$folder/velmorida.exe" "$exe" || fail "the installed velmorida.exe is not the program built"
msiexec /i "$msi" /qn || true  # already installed: nothing to do
installed "a second install" "$product" "$version"

msiexec /i "$later/later.msi" /qn || fail "msiexec /i of $later_version"
installed "the later version" "$later_product" "$later_version"
registry "$(uninstall_key_of "$product")" >/dev/null &&
  fail "$version stayed registered beside $later_version"

msiexec /x "$later/later.msi" /qn || fail "msiexec /x"
[ ! -e "$folder" ] || fail "uninstall left $(find "$folder" | tr '\n' ' ')"
[ "$(shortcuts)" -eq 0 ] || fail "uninstall left the shortcut"
registry "$(uninstall_key_of "$later_product")" >/dev/null &&
  fail "uninstall left the product registered"
registry 'HKLM\Software\QZ9XK\Velmorida' >/dev/null && fail "uninstall left its registry value"
[ ! -e "$(icon_of "$later_product")" ] || fail "uninstall left the product icon"

all_passed "the MSI installs the program built, is replaced by $later_version and uninstalls"
