#!/usr/bin/env bash
# Runs the fuzz targets one after another at the lowest priority, each for the given seconds
# (default 600), from its committed seeds and a work corpus under fuzz/corpus-work that grows
# from run to run. Usage: bash scripts/fuzz.sh [seconds] [target...]
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-600}
shift $(( $# > 0 ? 1 : 0 ))

cmake --preset fuzz >/dev/null && cmake --build --preset fuzz || exit 1
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in build/fuzz/fuzz/fuzz_*; do [ -x "$f" ] && targets+=("$(basename "$f")"); done
fi

failed=()
mkdir -p fuzz/corpus-work
for t in "${targets[@]}"; do
  echo "==================== $t: $seconds s"
  log=fuzz/corpus-work/$t.log
  nice -n 19 fuzz/run-fuzzer.sh "build/fuzz/fuzz/$t" "fuzz/seeds/$t" "fuzz/corpus-work/$t" \
    "$seconds" >"$log" 2>&1 || failed+=("$t")
  grep -E "^Done|stat::number_of_executed_units|stat::average_exec_per_sec|finding|SUMMARY" "$log"
  echo "corpus: $(find "fuzz/corpus-work/$t" -type f | wc -l) files"
done
[ ${#failed[@]} -eq 0 ] || { echo "FINDINGS: ${failed[*]} (see fuzz/corpus-work/*.log)"; exit 1; }
