#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each, one after another at the lowest priority, each on a
# scratch copy of its corpus; one line of figures per target. Exit 1 if any target found a fault.
# usage: run_long.sh BUILD_DIR/tests/fuzz SECONDS [TARGET...]
# With FUZZ_RUNS set, a target also stops once it has run that many inputs.
set -uo pipefail
bin=$(cd "$1" && pwd) seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$bin"/fuzz_*; do [ -x "$f" ] && targets+=("${f##*/fuzz_}"); done
fi
failed=0
printf '%-18s %12s %8s %10s %8s %8s %s\n' target executions seconds exec/s cov ft corpus
for t in "${targets[@]}"; do
  work=$(mktemp -d)
  mkdir -p "$work/corpus"
  [ -d "$here/corpus/$t" ] && cp -r "$here/corpus/$t/." "$work/corpus/"
  (cd "$work" && exec nice -n 19 "$bin/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    ${FUZZ_RUNS:+-runs="$FUZZ_RUNS"} -print_final_stats=1 corpus >log 2>&1)
  rc=$?
  runs=$(awk '/stat::number_of_executed_units/{print $2}' "$work/log")
  took=$(awk '/^Done [0-9]+ runs in/{print $5}' "$work/log")
  last=$(grep -E '^#[0-9]+.*cov: ' "$work/log" | tail -n1)
  cov=$(sed -E 's/.*cov: ([0-9]+).*/\1/' <<<"$last")
  ft=$(sed -E 's/.*ft: ([0-9]+).*/\1/' <<<"$last")
  files=$(find "$work/corpus" -type f | wc -l)
  bytes=$(du -sb "$work/corpus" | cut -f1)
  printf '%-18s %12s %8s %10s %8s %8s %s\n' "$t" "${runs:-?}" "${took:-?}" \
    "$(( ${runs:-0} / (${took:-0} > 0 ? ${took:-1} : 1) ))" "${cov:-?}" "${ft:-?}" "$files files, $bytes bytes"
  if [ "$rc" != 0 ]; then
    failed=1
    grep -E 'ERROR|SUMMARY|runtime error' "$work/log" | head -n 5
    for f in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
      [ -f "$f" ] && { echo "input that failed (${f##*/}), base64:"; base64 -w0 "$f"; echo; }
    done
  fi
  rm -rf "$work"
done
exit "$failed"
