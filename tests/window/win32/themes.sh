#!/usr/bin/env bash
# Every text of velmorida.exe legible under Wine's default colours and under
# a dark system colour scheme (Window black, WindowText white, dark faces),
# set in the prefix's registry with Wine's own theme off, which would
# otherwise draw over those colours. Each text's contrast is measured from
# screenshots (../contrast.py) and must reach 4.5:1.
#   themes.sh velmorida.exe reader.exe
set -eEuo pipefail
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND exited with $?"' ERR
here=$(cd "$(dirname "$0")" && pwd)
exe=$1
reader=$2
source "$here/../../require_tools.sh"
require_tools Xvfb xdotool import convert python3 flock
[ -x /usr/lib/wine/wine64 ] || skip_test "not installed: wine64"
source "$here/../x_server.sh"
source "$here/../../wine/prefix.sh"

LEAST=4.5
work=$(mktemp -d)
app=""
start_xvfb -screen 0 1024x768x24 -dpi 96
trap '[ -z "$app" ] || kill "$app" 2>/dev/null || true; end_prefix; kill "$XVFB_PID" 2>/dev/null || true; rm -rf "$work"' EXIT
use_fresh_prefix "${VELMORIDA_WINE_TEST:-win32_themes}"

reg_add() { "$WINE" reg add "$@" /f </dev/null >/dev/null 2>&1; }
read_window() { "$WINE" "$reader" "$@" </dev/null 2>"$work/reader.err"; }

# expect STEP KEY=VALUE...: waits until the window reads so; else says what
# differs, what every control held and what the reader printed, and fails.
expect() {
  local step=$1 answer
  shift
  if ! answer=$(read_window wait "$@"); then
    echo "FAIL: $step"
    echo "$answer"
    cat "$work/reader.err"
    exit 1
  fi
}

# dark_scheme: the system colours of a dark scheme, as Windows' own dark
# high-contrast scheme sets them, with High Contrast itself off (Wine
# reports it off whatever the registry says).
dark_scheme() {
  local colours='HKCU\Control Panel\Colors' entry
  reg_add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /d 0
  for entry in "Window=0 0 0" "WindowText=255 255 255" "ButtonFace=32 32 32" \
    "ButtonText=255 255 255" "Hilight=26 235 255" "HilightText=0 0 0" "Menu=0 0 0" \
    "MenuText=255 255 255" "GrayText=63 242 63" "Background=0 0 0"; do
    reg_add "$colours" /v "${entry%%=*}" /d "${entry#*=}"
  done
  "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  "$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
}

# locate NAME [ITEM]: the screen point of a control, or of an item of its open
# list, in POINT ("x y"); a control or list not there fails the test.
locate() {
  if ! POINT=$(read_window point "$@"); then
    echo "FAIL: no point for $*"
    cat "$work/reader.err"
    exit 1
  fi
}

# shoot THEME [EXTRA...]: the screen, measured, its lines under the theme's
# name; EXTRA regions as contrast.py takes them.
shoot() {
  local theme=$1 point
  shift
  locate txtC
  point=$POINT
  wait_for_still_screen
  import -window root "$work/shot.png"
  python3 "$here/../contrast.py" "$here/../../../window/layout.h" "$work/shot.png" \
    "txtC@${point/ /,}" "$@" | sed "s/^/$theme /" >>"$work/table"
}

# open_list_rect LIST: "x,y,width,height" of the list's open items in RECT,
# from the middles of its first and third items and the list's width in the
# layout.
open_list_rect() {
  local x0 y0 x2 y2 item width=$((1095 / 15))
  locate "$1" 0
  read -r x0 y0 <<<"$POINT"
  locate "$1" 2
  read -r x2 y2 <<<"$POINT"
  item=$(((y2 - y0) / 2))
  RECT="$((x0 - width / 2)),$((y0 - item / 2)),$width,$((3 * item))"
}

# An EDIT's selection is drawn in the system's highlight colours, which the
# window does not choose (Windows' default pair is 4.5:1, Wine's 2.8:1), so
# the boxes are measured without one: after 100 nF at 1 kHz is entered, with
# the focus in the frequency list, and with that list open.
for theme in wine-default dark-scheme; do
  [ "$theme" = dark-scheme ] && dark_scheme
  LC_ALL=en_US.UTF-8 "$WINE" "$exe" </dev/null >/dev/null 2>&1 &
  app=$!
  window=$(focus_window_named "Velmorida condensatoarelor")
  [ -n "$window" ] || { echo "FAIL: $theme: no window took the focus"; exit 1; }
  expect "$theme: start-up" focus=txtC txtC.sel=0,1
  xdotool key --delay 10 1 0 0 Tab Down Tab ctrl+a 1 Tab Down
  expect "$theme: 100 nF at 1 kHz" txtR=1.592 lblUM=kOhm cboFreq=kHz focus=cboFreq
  shoot "$theme"
  xdotool key alt+Down
  open_list_rect cboFreq
  shoot "$theme" "open-list=$RECT"
  kill "$app"
  wait "$app" 2>/dev/null || true
  app=""
done

if ! python3 "$here/../contrast.py" table "$work/table" "$LEAST"; then
  echo "FAIL: what was measured (theme, control, ratio, background, text):"
  cat "$work/table"
  exit 1
fi
echo "PASS: every text at $LEAST:1 or more under both colour schemes"
