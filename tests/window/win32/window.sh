#!/usr/bin/env bash
# The real velmorida.exe under Wine on an X server of its own, used with the
# keyboard and the mouse as a person uses it (xdotool, xclip for pastes), and
# read from outside after each step by reader.exe in the same Wine prefix.
# What it would have spoken to a screen reader is written down by a stand-in
# uiautomationcore.dll.
#   window.sh velmorida.exe reader.exe uiautomationcore.dll
set -eEuo pipefail
# A command that fails and ends the test says which.
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND exited with $?"' ERR
here=$(cd "$(dirname "$0")" && pwd)
exe=$1
reader=$2
speech_dll=$3
source "$here/../../require_tools.sh"
require_tools Xvfb xdotool xclip flock timeout
[ -x /usr/lib/wine/wine64 ] || skip_test "not installed: wine64"
source "$here/../x_server.sh"
source "$here/../../wine/prefix.sh"

app=""
copier=""
failures=0
stop_calculator() {
  [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  app=""
}
start_xvfb -screen 0 1024x768x24
trap 'stop_calculator || true; kill ${copier:-} 2>/dev/null || true; end_prefix
  kill "$XVFB_PID" 2>/dev/null || true; rm -f "${reader_log:-}" "${spoken:-}"' EXIT
use_fresh_prefix "${VELMORIDA_WINE_TEST:-win32_window}"

# Each start names the uiautomationcore it loads (WINEDLLOVERRIDES): Wine's
# own ("b"), which has no notification event, or the stand-in ("n"). The
# prefix's system32 holds hard links to the template's files: the link is
# replaced, never written through.
cp --remove-destination "$speech_dll" "$WINEPREFIX/drive_c/windows/system32/uiautomationcore.dll"
spoken=$(mktemp)
export VELMORIDA_SPOKEN="Z:${spoken//\//\\}"

# ask REQUEST...: one request to the reader; its answer in ANSWER, one
# line an element; returns its status.
# A request to a reader that has ended fails and says so, instead of ending
# this script by SIGPIPE without a word.
trap '' PIPE
reader_log=$(mktemp)
coproc READER { "$WINE" "$reader" serve 2>"$reader_log"; }
ask() {
  local line
  ANSWER=()
  printf '%s\t' "$@" >&"${READER[1]}"
  printf '\n' >&"${READER[1]}"
  while IFS= read -r line <&"${READER[0]}"; do
    [[ $line == "END "* ]] && return "${line#END }"
    ANSWER+=("$line")
  done
  echo "FAIL: the reader ended:"
  cat "$reader_log"
  exit 1
}

# expect STEP KEY=VALUE...: the window reads so; else what differs and what
# every control held.
expect() {
  local step=$1
  shift
  if ! ask wait "$@"; then
    echo "FAIL: $step"
    printf '%s\n' "${ANSWER[@]}"
    failures=$((failures + 1))
  fi
}

# said STEP TEXT...: what the window has spoken since it started is these
# lines, in order, once the last of them was said.
said() {
  local step=$1 wanted end=$((SECONDS + 15))
  shift
  wanted=$(printf '%s\n' "$@")
  while [ "$SECONDS" -le "$end" ]; do
    [ "$(cat "$spoken")" == "$wanted" ] && return 0
    sleep 0.1
  done
  echo "FAIL: $step: spoken, one a line:"
  cat "$spoken"
  echo "wanted:"
  echo "$wanted"
  failures=$((failures + 1))
}

# start LOCALE [DLL OVERRIDES]: the calculator, started under that locale,
# with the keyboard in its window and the focus in txtC.
start() {
  LC_ALL=$1 WINEDLLOVERRIDES="$WINEDLLOVERRIDES${2:+;$2}" "$WINE" "$exe" </dev/null >/dev/null 2>&1 &
  app=$!
  local window
  window=$(focus_window_named "Velmorida condensatoarelor")
  [ -n "$window" ] || { echo "FAIL: no window took the focus"; exit 1; }
  expect "focus at start-up" focus=txtC
}

keys() { xdotool key --delay 10 "$@"; }

# click NAME [ITEM]: the mouse on a control, or on an item of its open list.
click() {
  local x y
  ask point "$@" || { echo "FAIL: no $* to click"; exit 1; }
  read -r x y <<<"${ANSWER[0]}"
  # Not --sync: it waits for a move, and never returns when the pointer is there already.
  # click waits 100 ms after its click unless told otherwise.
  xdotool mousemove "$x" "$y" click --delay 1 1
}

# copy TEXT: TEXT (\r, \n as escapes) copied by another X program, and in
# Wine's clipboard before this returns: Wine takes an X program's copy some
# time after it is made, and a paste before then pastes the text before.
# xclip serves the copy until the next one takes the X clipboard.
copy() {
  local before=$copier changes
  ask changes
  changes=${ANSWER[0]}
  printf '%b' "$1" | xclip -selection clipboard -quiet >/dev/null 2>&1 &
  copier=$!
  ask clipboard "$1" "$changes" || { printf '%s\n' "${ANSWER[@]}"; echo "FAIL: copy $1"; exit 1; }
  # The copy before has lost the X clipboard and ends by itself; never wait on it.
  [ -z "$before" ] || { kill "$before" 2>/dev/null; wait "$before" 2>/dev/null; } || true
}

# paste_with KEYS BOX TEXT [SHOWN]: replaces the box's text with a clipboard
# paste; the step holds once the box shows SHOWN (TEXT unless given). The
# box has the focus before the clipboard changes, so every key sent before,
# a paste among them, has been handled.
paste_with() {
  local with=$1 box=$2 text=$3 shown=${4:-$3}
  click "$box"
  expect "focus in $box to paste" "focus=$box"
  copy "$text"
  keys ctrl+a "$with"
  expect "$text pasted into $box" "$box=$shown"
}
paste() { paste_with ctrl+v "$@"; }

# choose LIST ITEM: opens the list with the mouse and picks the item.
choose() {
  click "$1"
  expect "$1 opens" "focus=$1"
  click "$1" "$2"
}

# exits: the program has ended, and with status 0.
exits() {
  local step=$1 status=0
  expect "$step" window=gone
  timeout 10 tail --pid="$app" -f /dev/null || true
  wait "$app" || status=$?
  app=""
  [ "$status" -eq 0 ] || { echo "FAIL: $step: exit status $status"; failures=$((failures + 1)); }
}

start en_US.UTF-8 uiautomationcore=b
# 6765 x 3015 twips at 96 dpi; the frame's corner at 8, 8 px.
expect "start-up" window=open "caption= Velmorida condensatoarelor " client=451x201 \
  txtC=0 txtC.sel=0,1 cboC=pF txtFreq=0 cboFreq=Hz txtR=0 lblUM=Ohm \
  lblEtichete1=Capacitatea\ condensatorului: lblQZ9XK=QZ9XK \
  txtC.rect=56,68,57,24 cboC.rect=112,68,73,24 txtFreq.rect=56,148,57,24 \
  cboFreq.rect=112,148,73,24 txtR.rect=267,112,73,25 lblEtichete1.rect=24,40,190,15
expect "screen readers name each box from the caption before it, each list by its caption" \
  "txtC.name=Capacitatea condensatorului:" "txtFreq.name=Frecventa de lucru:" \
  "txtR.name=Velmorida condensatorului:" "cboC.name=Capacitatea condensatorului, unitate" \
  "cboFreq.name=Frecventa de lucru, unitate" txtR.description=Ohm
# Only the list itself is named by its caption; its field keeps the standard
# object's name (under Wine, none).
expect "a list's field keeps its own name" cboC.field.name= cboFreq.field.name=

# Typing: the selected "0" is replaced, each keystroke corrected.
keys 1 0 0
expect "typed over the selected 0" txtC=100 txtC.sel=3,3
keys Home Right 5
expect "a digit in the middle keeps the caret there" txtC=1500 txtC.sel=2,2
keys Home minus
expect "a minus in front is dropped, the caret at the end" txtC=1500 txtC.sel=4,4
keys BackSpace 2 3 4 5
expect "six characters" txtC=150234
keys Home Right 9
expect "a seventh character is refused, in the middle too" txtC=150234 txtC.sel=1,1
keys ctrl+a BackSpace
expect "a cleared box is a selected 0" txtC=0 txtC.sel=0,1
keys x
expect "a letter is a selected 0" txtC=0 txtC.sel=0,1

# Tab order, and a unit chosen with the arrow keys and with the mouse.
keys 1 0 0 Tab
expect "Tab to the capacitance list" focus=cboC
keys Down
expect "nF with the arrow key" cboC=nF
keys Tab
expect "Tab to the frequency box, its text selected" focus=txtFreq txtFreq.sel=0,1
keys 1 Tab
expect "100 nF at 1 Hz" focus=cboFreq txtR=1.592 lblUM=MOhm
choose cboFreq 1
expect "kHz with the mouse" cboFreq=kHz txtR=1.592 lblUM=kOhm
keys Tab
expect "Tab to the read-out, to hear or copy the figure" focus=txtR
keys shift+Tab shift+Tab
expect "Shift+Tab goes back" focus=txtFreq

# Pastes lose the line breaks at their ends; the correction applies.
paste txtC '470\r\n' 470
paste txtC 22
keys ctrl+z
expect "Ctrl+Z undoes a paste" txtC=470
# A paste replaces the selection as typing does: nothing over a selected
# number clears it, and the cleared box is a selected 0.
paste txtC '\r\n' 0
expect "a line break alone over a selected number" txtC=0 txtC.sel=0,1
paste txtC '\r\n-12e-5\r\n' 0.0001
expect "a negative paste, cut to six" txtC=0.0001 txtC.sel=6,6
paste txtC 'abc' 0
paste_with shift+Insert txtC '\n0.47\n' 0.47

# The reactance table, each row entered with pastes and the mouse.
while read -r c cunit f funit readout unit; do
  paste txtC "$c"
  choose cboC "$cunit"
  paste txtFreq "$f"
  choose cboFreq "$funit"
  expect "$c ${cunit} at $f ${funit}" "txtR=$readout" "lblUM=$unit"
done <<'EOF'
100 1 1 1 1.592 kOhm
10 2 50 0 318.47134 Ohm
470 0 100 2 3.38799 Ohm
1 2 1 2 0.15924 Ohm
1 1 1 0 159.236 MOhm
1 0 1 0 159235.669 MOhm
999999 2 15924 0 1E-05 Ohm
0 1 1 1 0 Ohm
1 1 0 1 0 Ohm
EOF

# The unit label is as wide as its caption, its left edge kept.
choose cboC 0
choose cboFreq 0
paste txtC 1
paste txtFreq 1
expect "MOhm" lblUM=MOhm lblUM.rect=355,116,42,15 txtR.description=MOhm
paste txtC 0
expect "Ohm" lblUM=Ohm lblUM.rect=355,116,31,15

# A reactance beyond any figure hides the read-out with its unit and caption.
paste txtC 1e-300
paste txtFreq 1e-300
expect "hidden" txtR.shown=0 lblUM.shown=0 lblEtichete0.shown=0
paste txtFreq 1
expect "shown again" txtR.shown=1 lblUM.shown=1 lblEtichete0.shown=1

# Moved to a monitor of 192 dpi: every place and font twice as large, the
# labels as wide as their captions in the larger font.
ask dpi 192 || { echo "FAIL: WM_DPICHANGED not sent"; exit 1; }
expect "moved to 192 dpi" client=902x402 txtC.rect=112,136,114,48 cboC.rect=224,136,146,48 \
  txtR.rect=534,224,146,50 lblEtichete1.rect=48,80,381,30

click txtFreq
keys Escape
exits "Escape in a box"
said "nothing spoken through Wine's own uiautomationcore, which cannot"

# Spoken through the stand-in library: each new figure, a chosen unit with
# the figure it gives, nothing while the read-out is hidden, Ctrl+R the figure.
start en_US.UTF-8 uiautomationcore=n
keys 1 0 0 Tab Down Tab 1 Tab Down
expect "100 nF at 1 kHz from the keyboard" focus=cboFreq txtR=1.592 lblUM=kOhm
said "a unit, a figure, a unit with a figure" nF "1.592 MOhm" "kHz, 1.592 kOhm"
keys ctrl+r
said "Ctrl+R in a list" nF "1.592 MOhm" "kHz, 1.592 kOhm" "1.592 kOhm"
paste txtC 1e-300
paste txtFreq 1e-300
expect "hidden" txtR.shown=0
keys ctrl+r
paste txtFreq 1
expect "shown again" txtR.shown=1
keys ctrl+r
said "nothing while hidden" nF "1.592 MOhm" "kHz, 1.592 kOhm" "1.592 kOhm" \
  "1.59235668789809E+299 MOhm" "1.59235668789809E+299 MOhm" "1.59235668789809E+299 MOhm"
keys Escape
exits "Escape after speaking"

# The comma locale: read and written with a comma, the keypad key types it.
start ro_RO.UTF-8
keys 0 KP_Decimal 4 7
expect "the keypad's decimal key types a comma" txtC=0,47
choose cboC 2
paste txtFreq 1
choose cboFreq 1
expect "0,47 uF at 1 kHz" txtR=338,7993 lblUM=Ohm
paste txtC '0.47' 0
click cboC
keys Escape
exits "Escape in an open list"

# At 192 dpi every place and font is twice as large.
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f \
  </dev/null >/dev/null 2>&1
start en_US.UTF-8
expect "192 dpi" client=902x402 txtC.rect=112,136,114,48 cboC.rect=224,136,146,48 \
  txtR.rect=534,224,146,50 lblEtichete1.rect=48,80,381,30 txtC=0 txtC.sel=0,1
keys Escape
exits "Escape at 192 dpi"

[ "$failures" -eq 0 ] || { echo "FAIL: $failures steps"; exit 1; }
echo "PASS: velmorida.exe under Wine"
