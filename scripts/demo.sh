#!/usr/bin/env bash
# Builds everything and loads the sample game's script as the engine does.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh release
build/release/tools/kvrtool/kvrtool script demo/sample/script.lst
build/release/engine/kvr_viewer --headless --debug --max-frames 50 "$PWD/demo/sample"
