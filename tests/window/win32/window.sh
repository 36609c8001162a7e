#!/usr/bin/env bash
# What the Windows window does in Win32's own way, beyond what every window
# does (the behaviour table, behaviour.py): its places and sizes at 96 dpi,
# at a start at 192 dpi and on WM_DPICHANGED, the unit label widening with
# its left edge kept, a list's field keeping its own name, Shift+Insert
# pasting and Ctrl+Z undoing it; all of it under Wine's own uiautomationcore,
# which has no notification event: the window goes on without speaking.
# The real velmorida.exe, used with xdotool and read by reader.exe, on the X
# server and in the Wine prefix of on_wine.sh:
#   window.sh velmorida.exe reader.exe
set -eEuo pipefail
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND exited with $?"' ERR
here=$(cd "$(dirname "$0")" && pwd)
exe=$1
reader=$2
source "$here/../x_server.sh"
source "$here/../../wine/prefix.sh"
app=""
copier=""
trap 'kill $app $copier 2>/dev/null || true' EXIT

read_window() { "$WINE" "$reader" "$@" </dev/null; }

# expect STEP KEY=VALUE...: the window reads so; else what differs and
# everything it holds.
expect() {
  read_window wait "${@:2}" || { echo "FAIL: $1"; exit 1; }
}

# start: the calculator, with the keyboard in its window.
start() {
  WINEDLLOVERRIDES="$WINEDLLOVERRIDES;uiautomationcore=b" "$WINE" "$exe" </dev/null >/dev/null 2>&1 &
  app=$!
  [ -n "$(focus_window_named "Velmorida condensatoarelor")" ] || { echo "FAIL: no window"; exit 1; }
  expect "start-up" focus=txtC
}

stop() {
  kill "$app"
  wait "$app" || true
  app=""
}

# The layout's places at 96 dpi (6765 x 3015 twips; the frame's corner at 8, 8
# px), each label as wide as its caption; then twice as large at 192 dpi.
at_96_dpi=(client=451x201 txtC.rect=56,68,57,24 cboC.rect=112,68,73,24 txtFreq.rect=56,148,57,24
  cboFreq.rect=112,148,73,24 txtR.rect=267,112,73,25 lblEtichete1.rect=24,40,190,15)
at_192_dpi=(client=902x402 txtC.rect=112,136,114,48 cboC.rect=224,136,146,48
  txtR.rect=534,224,146,50 lblEtichete1.rect=48,80,381,30)

start
# Only the list itself is named by its caption; its field keeps the standard
# object's name (under Wine, none).
expect "96 dpi" "${at_96_dpi[@]}" cboC.field.name= cboFreq.field.name=
xdotool key 1 Tab Tab 1
expect "the unit label as wide as MOhm" lblUM=MOhm lblUM.rect=355,116,42,15
xdotool key BackSpace
expect "and as Ohm, its left edge kept" lblUM=Ohm lblUM.rect=355,116,31,15

# Shift+Insert pastes through the window's own paste, which loses the edge
# line breaks (Wine's EDIT would paste it whole, without a WM_PASTE); Ctrl+Z
# undoes it. The copy is in Wine's clipboard before the key.
changes=$(read_window changes)
printf '\n47\n' | xclip -selection clipboard -quiet &
copier=$!
read_window clipboard '\n47\n' "$changes" >/dev/null
xdotool key shift+Insert
expect "Shift+Insert pastes" txtFreq=47
xdotool key ctrl+z
expect "Ctrl+Z undoes the paste" txtFreq=0

read_window dpi 192 || { echo "FAIL: WM_DPICHANGED not sent"; exit 1; }
expect "moved to 192 dpi" "${at_192_dpi[@]}"
stop

"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f </dev/null >/dev/null 2>&1
start
expect "started at 192 dpi" "${at_192_dpi[@]}"
stop
echo "PASS: velmorida.exe's own under Wine"
