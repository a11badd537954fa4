#!/usr/bin/env bash
# The fuzz campaign, over as many sessions as it takes: every target runs
# until it has ten million executions or two hours in fuzz/campaign.tsv,
# which sums all of its runs. Each target here gets what it still lacks,
# cut to the time left before the deadline (seconds from now); a target
# with less than a minute left before the deadline is not started.
#   fuzz/campaign.sh SECONDS [TARGET...]   (default: every line of fuzz/targets.txt)
# Run two at a time on a 2-core machine with different targets. The table
# for the README comes from fuzz/campaign_table.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
deadline=$(($(date +%s) + ${1:?seconds}))
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then mapfile -t targets < <(grep -v '^#' fuzz/targets.txt); fi
log=fuzz/campaign.tsv
goal_runs=10000000
goal_seconds=7200
merge_margin=60  # the corpus merge after a run
status=0
for t in "${targets[@]}"; do
  read -r runs seconds < <(awk -F'\t' -v t="$t" '$1 == t { r += $2; s += $3 } END { print r + 0, s + 0 }' "$log")
  need_runs=$((goal_runs - runs))
  need_seconds=$((goal_seconds - seconds))
  if [ "$need_runs" -le 0 ] || [ "$need_seconds" -le 0 ]; then continue; fi
  left=$((deadline - $(date +%s) - merge_margin))
  if [ "$left" -lt 60 ]; then break; fi
  FUZZ_RUNS=$need_runs FUZZ_LOG=$log fuzz/run_fuzzers.sh $((need_seconds < left ? need_seconds : left)) "$t" || status=1
done
exit "$status"
