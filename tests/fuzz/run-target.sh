#!/usr/bin/env bash
# Runs one fuzz target for a bounded time:  run-target.sh TARGET SEEDS WORK SECONDS [RANDOM-SEED]
# New inputs go to WORK/corpus, a crashing one to WORK/; the seeds in the repo stay as they are. The last
# line says how many inputs ran and whether anything was found. RANDOM-SEED fixes libFuzzer's choices, so
# that a run on the same corpus tries the same inputs in the same order; 0 (the default) lets it choose.
set -uo pipefail
target=$1 seeds=$2 work=$3 seconds=$4 seed=${5:-0}
mkdir -p "$work/corpus"
log=$work/last-run.log
"$target" -seed="$seed" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$work/" "$work/corpus" "$seeds" >"$log" 2>&1
status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
name=$(basename "$target")
if [ $status -ne 0 ]; then
  tail -n 40 "$log"
  echo "$name: ${runs:-?} inputs in up to ${seconds} s, a FINDING (exit $status), saved in $work" | tee "$work/summary"
  exit 1
fi
echo "$name: ${runs:-?} inputs in ${seconds} s, no findings" | tee "$work/summary"
