#!/usr/bin/env bash
# Start-up of the calculator against a Qt label window of the same size that
# draws one caption in the same font, alternately, on an Xvfb server of its
# own: time from exec to the first frame on screen and to the first Expose,
# and peak resident memory, medians and ratios.
#   bench/startup.sh BUILD_DIR [RUNS]    (RUNS defaults to 15)
set -euo pipefail
build=${1:?usage: bench/startup.sh BUILD_DIR [RUNS]}
runs=${2:-15}
source "$(dirname "$0")/../tests/window/x_server.sh"
start_xvfb -screen 0 1024x768x24 -dpi 96
trap 'kill "$XVFB_PID" 2>/dev/null || true; rm -rf "${XDG_RUNTIME_DIR:-}"' EXIT
export QT_QPA_PLATFORM=xcb
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
"$build/bench/startup_launcher" "$build/bench/libframe_probe.so" "$runs" \
  "$build/velmorida" "$build/bench/bare_label"
