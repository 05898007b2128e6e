#!/usr/bin/env bash
# Adds up the runs that scripts/fuzz-all.sh recorded, one row a target:
#   scripts/fuzz-summary.sh [RESULTS_TSV] [--markdown]
# RESULTS_TSV defaults to build-fuzz/fuzz-results.tsv. Clean seconds are
# those of runs that ended without a crash, leak, timeout or out-of-memory
# stop; executions count every run; cov and ft are the last run's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
results=$root/build-fuzz/fuzz-results.tsv
markdown=0
for arg in "$@"; do
  case $arg in
    --markdown) markdown=1 ;;
    *) results=$arg ;;
  esac
done
[ -s "$results" ] || { echo "fuzz-summary: no results in $results" >&2; exit 1; }
awk -F'\t' -v md="$markdown" '
  NR == 1 { next }
  {
    t = $3
    if (!(t in runs)) order[n++] = t
    runs[t]++
    if ($9 == 0 && $10 == 0) clean[t] += $4
    else stops[t] += ($9 > 0 ? $9 : 1)
    if ($5 ~ /^[0-9]+$/) execs[t] += $5
    if ($6 ~ /^[0-9]+$/) { cov[t] = $6; ft[t] = $7 }
  }
  END {
    if (md) {
      print "| target | runs | clean seconds | clean hours | executions | cov | ft | stops |"
      print "| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"
    } else {
      printf "%-24s %4s %8s %6s %12s %7s %8s %5s\n", "target", "runs", "clean_s", "hours", "executions", "cov", "ft", "stops"
    }
    for (i = 0; i < n; i++) {
      t = order[i]
      if (md)
        printf "| %s | %d | %d | %.2f | %d | %s | %s | %d |\n", t, runs[t], clean[t], clean[t] / 3600, execs[t], cov[t], ft[t], stops[t]
      else
        printf "%-24s %4d %8d %6.2f %12d %7s %8s %5d\n", t, runs[t], clean[t], clean[t] / 3600, execs[t], cov[t], ft[t], stops[t]
      total += clean[t]
    }
    if (!md) printf "%-24s %4s %8d %6.2f\n", "total", "", total, total / 3600
  }' "$results"
