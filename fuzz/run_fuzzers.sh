#!/usr/bin/env bash
# Runs fuzz targets one after another on their corpora, then minimises each
# corpus (libFuzzer -merge=1 into a fresh folder that replaces it).
#   fuzz/run_fuzzers.sh [SECONDS] [TARGET...]    (default: 60 s, every line of fuzz/targets.txt)
# FUZZ_RUNS=N also ends a target after N executions (the campaign runs
# FUZZ_RUNS=10000000 with 7200 s). Needs the fuzz build in build/fuzz (see
# README.md). Crash inputs land in build/fuzz/artifacts/; one line a target
# (executions, seconds, exec/s, edges, features, faults, corpus size) is
# added to $FUZZ_LOG (build/fuzz/campaign.tsv by default; fuzz/campaign.sh
# logs to the committed fuzz/campaign.tsv). Exit status 1 when a target
# faulted.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then mapfile -t targets < <(grep -v '^#' fuzz/targets.txt); fi
runs=()
if [ -n "${FUZZ_RUNS:-}" ]; then runs=(-runs="$FUZZ_RUNS"); fi
bin=build/fuzz/fuzz
artifacts=build/fuzz/artifacts
log=${FUZZ_LOG:-build/fuzz/campaign.tsv}
mkdir -p "$artifacts"
[ -f "$log" ] || printf 'target\texecutions\tseconds\texec/s\tedges\tfeatures\tfaults\tinputs\n' >"$log"
faulted=0
for t in "${targets[@]}"; do
  corpus=fuzz/corpus/$t
  mkdir -p "$corpus"
  echo "== $t: ${seconds}s on $(ls "$corpus" | wc -l) inputs"
  dict=()
  case $t in
    fuzz_script_load) dict=(-dict=fuzz/dictionaries/script.dict) ;;
    fuzz_plugin_line | fuzz_plugin_block) dict=(-dict=fuzz/dictionaries/plugin.dict) ;;
  esac
  start=$(date +%s)
  status=0
  out=$("$bin/$t" "$corpus" "${dict[@]}" "${runs[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/$t-" -print_final_stats=1 2>&1) || status=$?
  elapsed=$(($(date +%s) - start))
  printf '%s\n' "$out" | tail -n 12
  executed=$(printf '%s\n' "$out" | sed -n 's/^stat::number_of_executed_units: *//p' | tail -n 1)
  last=$(printf '%s\n' "$out" | grep -E '^#[0-9]+' | tail -n 1)
  edges=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  features=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  faults=0
  if [ "$status" -ne 0 ]; then
    faults=1
    faulted=1
    echo "== $t: FAULT (status $status), input in $artifacts/"
  fi
  # Script inputs differ mostly in line counts: keeping every hit-count
  # variant would take ten times the space for the same edges.
  merge_flags=()
  if [ "$t" = fuzz_script_load ]; then merge_flags=(-use_counters=0); fi
  # MTRD inputs likewise: the same edges in less than half the space.
  if [ "$t" = fuzz_mtrd_read_picture ]; then merge_flags=(-use_counters=0); fi
  # Panorama round trips likewise: the same edges in a third of the files.
  if [ "$t" = fuzz_panorama_roundtrip ]; then merge_flags=(-use_counters=0); fi
  fresh=$(mktemp -d)
  "$bin/$t" -merge=1 "${merge_flags[@]}" -rss_limit_mb=2048 "$fresh" "$corpus" 2>&1 | tail -n 1
  rm -rf "$corpus"
  mv "$fresh" "$corpus"
  chmod 755 "$corpus"
  inputs=$(ls "$corpus" | wc -l)
  echo "== $t: $inputs inputs, $(du -sb "$corpus" | cut -f1) bytes"
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$t" "${executed:-0}" "$elapsed" \
    "$((${executed:-0} / (elapsed > 0 ? elapsed : 1)))" "${edges:-0}" "${features:-0}" "$faults" "$inputs" >>"$log"
done
exit "$faulted"
