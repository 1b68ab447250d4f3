#!/usr/bin/env bash
# Builds the optimised native preset and runs the drawing benchmark in three processes, each
# rate the median of the three.
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
# Processes rather than repetitions within one: where a surface's pages land in the cache
# differs from process to process and holds for a process's lifetime.
processes=()
for i in 1 2 3; do
  echo "--- process $i of 3"
  build/bench/bench/draw_bench --benchmark_min_time=0.2 \
    --benchmark_out="build/bench/draw_bench-$i.json" --benchmark_out_format=json
  processes+=("build/bench/draw_bench-$i.json")
done
python3 bench/report.py --merge "$out" "${processes[@]}"
echo "load after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ "${1:-}" = --report ]; then
  python3 bench/report.py "$out" docs/performance.md docs/performance/chart.svg \
    docs/performance/run.json
  echo "rewrote docs/performance.md, docs/performance/chart.svg and docs/performance/run.json"
fi
