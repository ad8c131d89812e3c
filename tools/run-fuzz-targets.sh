#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS each and prints, per target, the
# executions, executions per second and coverage reached. New inputs go to
# BUILD/corpus/NAME (kept between runs); the seed corpus in the repository is read
# only. A finding is saved under BUILD/findings and makes the run fail.
#   tools/run-fuzz-targets.sh BUILD SECONDS
set -uo pipefail
build=$1
seconds=$2
[[ "$seconds" =~ ^[0-9]+$ && "$seconds" -gt 0 ]] || { echo "run-fuzz-targets: SECONDS must be a positive whole number" >&2; exit 2; }
list="$build/fuzz_targets.txt"
[[ -s "$list" ]] || { echo "run-fuzz-targets: no fuzz targets listed in $list" >&2; exit 1; }
mkdir -p "$build/findings" "$build/logs"
failed=0
printf '%-16s %12s %10s %8s %8s  %s\n' target executions exec/s cov ft result
while read -r name seeds; do
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  log="$build/logs/$name.log"
  "$build/bin/fuzz/$name" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
    -timeout=10 -artifact_prefix="$build/findings/$name-" "$corpus" "$seeds" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  result=ok
  if [[ $status -ne 0 ]]; then result="FINDING (see $log)"; failed=1; fi
  printf '%-16s %12s %10s %8s %8s  %s\n' "$name" "${runs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" "$result"
done < "$list"
exit $failed
