#!/usr/bin/env bash
# The Windows packages as a user meets them, under Wine in a prefix of its
# own: the MSI installs the program, its licence and a Start-menu shortcut,
# registers the product, and the installed program opens its window; a second
# install of the same package duplicates nothing; the uninstall leaves
# nothing behind. The zip unpacks anywhere and its program opens its window.
#   packages.sh PACKAGE.msi PACKAGE.zip reader.exe VERSION
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
msi=$1
zip=$2
reader=$3
version=$4
source "$here/../require_tools.sh"
require_tools Xvfb xdotool unzip msiinfo flock timeout
[ -x /usr/lib/wine/wine64 ] || skip_test "not installed: wine64"
source "$here/../window/x_server.sh"
source "$here/prefix.sh"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
start_xvfb -screen 0 800x600x24
trap 'end_prefix; kill "$XVFB_PID" 2>/dev/null || true' EXIT
use_fresh_prefix "${VELMORIDA_WINE_TEST:-windows_packages}"

drive_c=$WINEPREFIX/drive_c
folder="$drive_c/Program Files/Velmorida"
product=$(msiinfo export "$msi" Property | awk '$1 == "ProductCode" { print $2 }' | tr -d '\r')
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"

msiexec() { "$WINE" msiexec "$@" </dev/null >/dev/null 2>&1; }
registry() { "$WINE" reg query "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# The icon "Apps & features" shows, kept by Windows Installer for the product.
product_icon="$drive_c/windows/Installer/$product/velmorida.ico"
shortcuts() { find "$drive_c" -name 'Velmorida.lnk' | wc -l; }

# runs STEP WINDOWS_PATH: the program starts, shows its window, ends on Escape.
runs() {
  local step=$1 app window
  "$WINE" "$2" </dev/null >/dev/null 2>&1 &
  app=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "Velmorida condensatoarelor" |
    head -n 1) || true
  if [ -z "$window" ]; then
    fail "$step: no window"
    kill "$app" 2>/dev/null || true
    return
  fi
  "$WINE" "$reader" wait "caption= Velmorida condensatoarelor " txtC=0 cboC=pF </dev/null \
    >/dev/null || fail "$step: not the calculator's window"
  xdotool windowfocus --sync "$window" key Escape
  timeout 10 tail --pid="$app" -f /dev/null || fail "$step: Escape did not end it"
  wait "$app" 2>/dev/null || true
}

# installed STEP: what the package put in place is there, once.
installed() {
  local step=$1
  [ -f "$folder/velmorida.exe" ] || fail "$step: no velmorida.exe in Program Files"
  [ -f "$folder/LICENSE.txt" ] || fail "$step: no LICENSE.txt"
  [ "$(find "$folder" -type f | wc -l)" -eq 2 ] || fail "$step: $(ls "$folder")"
  [ "$(shortcuts)" -eq 1 ] || fail "$step: $(shortcuts) Start-menu shortcuts"
  local entry
  entry=$(registry "$uninstall_key")
  grep -q "DisplayName.*Velmorida" <<<"$entry" || fail "$step: no uninstall entry $product"
  grep -q "DisplayVersion.*$version" <<<"$entry" || fail "$step: uninstall entry not of $version"
  [ -f "$product_icon" ] || fail "$step: no product icon kept"
}

msiexec /i "$msi" /qn || fail "msiexec /i"
installed "install"
runs "the installed program" 'C:\Program Files\Velmorida\velmorida.exe'
msiexec /i "$msi" /qn || true  # already installed: nothing to do
installed "a second install"

msiexec /x "$msi" /qn || fail "msiexec /x"
[ ! -e "$folder" ] || fail "uninstall left $(find "$folder" | tr '\n' ' ')"
[ "$(shortcuts)" -eq 0 ] || fail "uninstall left the shortcut"
registry "$uninstall_key" >/dev/null && fail "uninstall left the product registered"
registry 'HKLM\Software\QZ9XK\Velmorida' >/dev/null && fail "uninstall left its registry value"
[ ! -e "$product_icon" ] || fail "uninstall left the product icon"

portable="$drive_c/portable"
unzip -q "$zip" -d "$portable"
for file in velmorida.exe LICENSE.txt README.txt; do
  [ -f "$portable/$file" ] || fail "the zip has no $file"
done
runs "the unzipped program" 'C:\portable\velmorida.exe'

[ "$failures" -eq 0 ] || exit 1
echo "PASS: the MSI installs, runs and uninstalls; the zip runs"
