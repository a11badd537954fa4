#!/usr/bin/env bash
# Prints the README's campaign table from fuzz/campaign.tsv: per target (in
# the order of fuzz/targets.txt) the executions and seconds of all its runs,
# their rate, the edges of its last run, the faults, and whether it reached
# ten million executions or two hours.
set -euo pipefail
cd "$(dirname "$0")/.."
echo '| target | executions | seconds | exec/s | edges | faults | done |'
echo '|---|---|---|---|---|---|---|'
grep -v '^#' fuzz/targets.txt | awk -F'\t' '
  FNR == NR { if (FNR > 1) { r[$1] += $2; s[$1] += $3; e[$1] = $5; f[$1] += $7 } next }
  {
    t = $1
    done = (r[t] >= 10000000 || s[t] >= 7200) ? "yes" : "no"
    printf "| `%s` | %d | %d | %d | %d | %d | %s |\n", t, r[t], s[t], s[t] ? r[t] / s[t] : 0, e[t], f[t], done
  }' fuzz/campaign.tsv -
