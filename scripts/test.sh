#!/usr/bin/env bash
# Builds the normal and the sanitizer (ASan + UBSan) build and runs every test
# in both, then replays every fuzz corpus once in the fuzz build.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "== layers"
scripts/check-layers.sh
echo "== format"
scripts/check-format.sh
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for kind in release asan; do
  echo "== $kind build"
  scripts/build.sh "$kind"
  echo "== $kind tests"
  ctest --test-dir "build/$kind" --output-on-failure -j "$(nproc)"
done
echo "== fuzz corpora"
fuzz/replay_corpora.sh
