#!/usr/bin/env bash
# Runs every fuzz target once over its whole corpus (libFuzzer -runs=0): a
# fast check that no input that once found a new path now crashes, leaks or
# trips a sanitizer. Builds the fuzz build in build/fuzz first (clang with
# libFuzzer, ASan + UBSan). Exit status 1 at the first failing target.
#   fuzz/replay_corpora.sh [TARGET...]    (default: every line of fuzz/targets.txt)
set -euo pipefail
cd "$(dirname "$0")/.."
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then mapfile -t targets < <(grep -v '^#' fuzz/targets.txt); fi
if [ ! -f build/fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKVR_FUZZ=ON -DKVR_SANITIZE=ON -DKVR_TESTS=OFF -DKVR_BENCH=OFF
fi
cmake --build build/fuzz --target "${targets[@]}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for t in "${targets[@]}"; do
  corpus=fuzz/corpus/$t
  start=$(date +%s)
  if ! out=$(build/fuzz/fuzz/"$t" -runs=0 -rss_limit_mb=2048 "$corpus" 2>&1); then
    printf '%s\n' "$out" | tail -n 40
    echo "== $t: FAILED on its corpus"
    exit 1
  fi
  echo "== $t: $(ls "$corpus" | wc -l) inputs replayed in $(($(date +%s) - start)) s"
done
