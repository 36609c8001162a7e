#!/usr/bin/env bash
# The WebAssembly core must make of every input exactly what the native core
# makes of it: the transcripts are compared, a difference's first results shown.
#   same_transcript.sh NATIVE_SWEEP NODE WASM_SWEEP_JS
set -eu
native=$1 node=$2 wasm=$3
if [ ! -x "$native" ]; then
  echo "no native transcript at $native: build the default preset first (make check)" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$native" transcript >"$work/native"
"$node" "$wasm" transcript >"$work/wasm"
cat "$work/wasm"
if ! diff "$work/native" "$work/wasm" >&2; then
  echo "DIFFERENT from the native build; the first differing results:" >&2
  diff <("$native" transcript list) <("$node" "$wasm" transcript list) | head -40 >&2
  exit 1
fi
echo "0 differences from the native build"
