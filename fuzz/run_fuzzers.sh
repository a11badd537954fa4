#!/usr/bin/env bash
# Runs fuzz targets one after another on their corpora, then minimises each
# corpus (libFuzzer -merge=1 into a fresh folder that replaces it).
#   fuzz/run_fuzzers.sh [SECONDS] [TARGET...]    (default: 60 s, every line of fuzz/targets.txt)
# Needs the fuzz build in build/fuzz (see README.md). Crash inputs land in
# build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then mapfile -t targets < <(grep -v '^#' fuzz/targets.txt); fi
bin=build/fuzz/fuzz
artifacts=build/fuzz/artifacts
mkdir -p "$artifacts"
for t in "${targets[@]}"; do
  corpus=fuzz/corpus/$t
  mkdir -p "$corpus"
  echo "== $t: ${seconds}s on $(ls "$corpus" | wc -l) inputs"
  dict=()
  case $t in
    fuzz_script_load) dict=(-dict=fuzz/dictionaries/script.dict) ;;
    fuzz_plugin_line | fuzz_plugin_block) dict=(-dict=fuzz/dictionaries/plugin.dict) ;;
  esac
  "$bin/$t" "$corpus" "${dict[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/$t-" -print_final_stats=1 2>&1 | tail -n 12
  # Script inputs differ mostly in line counts: keeping every hit-count
  # variant would take ten times the space for the same edges.
  merge_flags=()
  if [ "$t" = fuzz_script_load ]; then merge_flags=(-use_counters=0); fi
  # MTRD inputs likewise: the same edges in less than half the space.
  if [ "$t" = fuzz_mtrd_read_picture ]; then merge_flags=(-use_counters=0); fi
  fresh=$(mktemp -d)
  "$bin/$t" -merge=1 "${merge_flags[@]}" -rss_limit_mb=2048 "$fresh" "$corpus" 2>&1 | tail -n 1
  rm -rf "$corpus"
  mv "$fresh" "$corpus"
  chmod 755 "$corpus"
  echo "== $t: $(ls "$corpus" | wc -l) inputs, $(du -sb "$corpus" | cut -f1) bytes"
done
