#!/usr/bin/env bash
# Runs one fuzz target for a bounded time on a scratch copy of its corpus; reports executions.
set -uo pipefail
fuzzer=$1 corpus=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
[ -d "$corpus" ] && cp -r "$corpus/." "$work/corpus/"
cd "$work" || exit 1
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 corpus >log 2>&1
rc=$?
grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' log
if [ "$rc" != 0 ]; then
  tail -n 40 log
  for f in crash-* leak-* timeout-* oom-*; do
    [ -f "$f" ] && { echo "input that failed ($f), base64:"; base64 -w0 "$f"; echo; }
  done
fi
exit "$rc"
