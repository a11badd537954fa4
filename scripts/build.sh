#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh release|asan
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-release}
case "$kind" in
  release) flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan) flags=(-DCMAKE_BUILD_TYPE=Debug -DKVR_SANITIZE=ON -DKVR_BENCH=OFF) ;;
  *) echo "usage: scripts/build.sh release|asan" >&2; exit 2 ;;
esac
cmake -S . -B "build/$kind" -G Ninja "${flags[@]}" >/dev/null
cmake --build "build/$kind" -j "$(nproc)"
