#!/usr/bin/env bash
# Builds everything, the sample game's disc folder among it, and plays it:
# in a window when there is a display, else headless with demo/session.txt,
# writing the session's screenshots to build/release/demo/shots.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh release
disc=build/release/demo/disc
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/release/engine/kvr_viewer "$disc"
fi
shots=build/release/demo/shots
mkdir -p "$shots"
build/release/engine/kvr_viewer --headless --session demo/session.txt --shots "$shots" \
  --trace build/release/demo/trace.json "$disc"
echo "No display: played demo/session.txt headless."
echo "Screenshots in $shots, the trace in build/release/demo/trace.json."
