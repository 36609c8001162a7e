#!/usr/bin/env bash
# The real program on an X server of its own under the desktop themes people
# run, shot as it starts (the "0" selected, the focus frame drawn), with 100 nF
# at 1 kHz typed and with a unit list open: each text's contrast (contrast.py)
# must reach WCAG 2's 4.5:1, and Escape in the open list must end it with
# status 0. Then the window tests that need X11 itself run there.
#   themes.sh PROGRAM WINDOW_TESTS
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
window_tests=$2
source "$here/../require_tools.sh"
require_tools Xvfb xdotool import convert python3
[ -d /usr/share/qt6ct ] || skip_test "not installed: qt6ct"
compgen -G "/usr/lib/*/qt6/plugins/platformthemes/libqgtk3.so" >/dev/null ||
  skip_test "not installed: qt6-gtk-platformtheme"
source "$here/x_server.sh"

LEAST=4.5
work=$(mktemp -d)
app=""
trap '[ -z "$app" ] || kill "$app" 2>/dev/null || true; kill "${XVFB_PID:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
start_xvfb -screen 0 640x480x24 -dpi 96
unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE GTK_THEME

# qt6ct SCHEME [FOLDER]: a qt6ct configuration with that colour scheme, in a
# config folder of this test's own.
qt6ct_config() {
  local folder=$work/${2:-$1}
  mkdir -p "$folder/qt6ct"
  cat >"$folder/qt6ct/qt6ct.conf" <<EOF
[Appearance]
color_scheme_path=/usr/share/qt6ct/colors/$1.conf
custom_palette=true
style=Fusion
EOF
  echo "$folder"
}

# The themes: a name, then the environment the program runs in, and for a
# scheme changed while the program runs, the scheme it changes to.
themes=(
  "qt|"
  "gtk3-adwaita-dark|QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark"
  "qt6ct-darker|QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME=$(qt6ct_config darker)"
  "qt6ct-airy|QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME=$(qt6ct_config airy)"
  "qt6ct-to-darker|QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME=$(qt6ct_config airy switched)|darker"
)

# rect_of WINDOW: "x,y,width,height" of a window on the screen; fails if
# the window is gone.
rect_of() {
  local geometry X Y WIDTH HEIGHT SCREEN WINDOW
  geometry=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || return 1
  eval "$geometry"
  echo "$X,$Y,$WIDTH,$HEIGHT"
}

# popup_rect WINDOW: the place of another mapped window of the program (its
# open list's popup); fails if there is none. Qt makes and drops windows of its
# own meanwhile; one that is gone by the time it is asked about is passed.
popup_rect() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$app" 2>/dev/null || true); do
    [ "$id" != "$1" ] && rect_of "$id" && return
  done
  return 1
}

table="$work/table"
for entry in "${themes[@]}"; do
  IFS='|' read -r theme environment changed_to <<<"$entry"
  # shellcheck disable=SC2086  # the environment is a list of words
  env $environment LC_ALL=C.UTF-8 "$program" >/dev/null 2>&1 &
  app=$!
  window=$(find_window_named "Velmorida condensatoarelor" --pid "$app")
  [ -n "$window" ] || { echo "FAIL: $theme: no window appeared"; exit 1; }
  origin=$(rect_of "$window")
  origin=${origin%,*,*}
  wait_for_still_screen
  if [ -n "$changed_to" ]; then
    # qt6ct reads its file again a few seconds after it changes.
    before=$(screen_digest)
    sed -i "s|colors/[a-z]*\.conf|colors/$changed_to.conf|" "$work/switched/qt6ct/qt6ct.conf"
    poll 15 screen_is_not "$before" || { echo "FAIL: $theme: the scheme did not change"; exit 1; }
    wait_for_still_screen
  fi
  import -window root "$work/start.png"
  # Without a window manager the keyboard follows the pointer.
  xdotool mousemove --window "$window" 20 20
  xdotool key --delay 30 ctrl+a 1 0 0 Tab Down Tab ctrl+a 1 Tab Down
  wait_for_still_screen
  import -window root "$work/entered.png"
  xdotool key alt+Down
  popup=$(poll 10 popup_rect "$window") || { echo "FAIL: $theme: the unit list did not open"; exit 1; }
  wait_for_still_screen
  import -window root "$work/open.png"
  xdotool key Escape
  poll 5 ended "$app" || { echo "FAIL: $theme: Escape in the open list did not end it"; exit 1; }
  wait "$app" || { echo "FAIL: $theme: the program ended with status $?"; exit 1; }
  app=""
  {
    python3 "$here/contrast.py" "$here/../../window/layout.h" "$work/start.png" "$origin"
    python3 "$here/contrast.py" "$here/../../window/layout.h" "$work/entered.png" "$origin"
    python3 "$here/contrast.py" "$here/../../window/layout.h" "$work/open.png" "$origin" \
      "open-list=$popup" | grep "^open-list "
  } | sed "s/^/$theme /" >>"$table"
done

QT_QPA_PLATFORM=xcb "$window_tests" middleButtonPasteLosesEdgeLineBreaks

if ! python3 "$here/contrast.py" table "$table" "$LEAST"; then
  echo "FAIL: what was measured (theme, control, ratio, background, text):"
  cat "$table"
  exit 1
fi
echo "PASS: every text at $LEAST:1 or more under every theme"
