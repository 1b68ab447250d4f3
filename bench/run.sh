#!/usr/bin/env bash
# Builds the optimised native preset and runs the drawing benchmark (three repetitions, medians).
#   bench/run.sh            print the results
#   bench/run.sh --report   also rewrite the results of docs/performance.md, its chart and the
#                           medians it was made from
# Other developers' work shares the cores: run it when `uptime` shows a low load.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

cmake --preset bench >/dev/null
cmake --build --preset bench --target draw_bench
out=build/bench/draw_bench.json
echo "load before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
build/bench/bench/draw_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  --benchmark_min_time=0.2 --benchmark_out="$out" --benchmark_out_format=json
echo "load after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ "${1:-}" = --report ]; then
  python3 bench/report.py "$out" docs/performance.md docs/performance/chart.svg \
    docs/performance/run.json
  echo "rewrote docs/performance.md, docs/performance/chart.svg and docs/performance/run.json"
fi
