#!/usr/bin/env bash
# Runs every fuzz target of build-fuzz/ (scripts/setup.sh --fuzz builds them)
# for SECONDS each, starting from its checked-in corpus and regressions, which
# stay untouched: new inputs go to a scratch folder. Prints each target's
# executions per second; a crash leaves its input in fuzz-findings/ (keep it
# in fuzz/regressions/NAME/ once mended) and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p fuzz-findings
status=0
for corpus in fuzz/corpus/*/; do
  name=$(basename "$corpus")
  fuzzer="build-fuzz/fuzz/${name}_fuzzer"
  inputs=("$corpus")
  [ ! -d "fuzz/regressions/$name" ] || inputs+=("fuzz/regressions/$name")
  mkdir -p "$scratch/$name"
  if "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="fuzz-findings/$name-" "$scratch/$name" "${inputs[@]}" \
      >"$scratch/$name.log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -n 40 "$scratch/$name.log"
  fi
  execs=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$scratch/$name.log")
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$name.log")
  printf '%-20s %s  %s exec/s, %s runs in %ss\n' "$name" "$result" "${execs:-?}" "${runs:-?}" "$seconds"
done
exit "$status"
