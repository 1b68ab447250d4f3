#!/usr/bin/env bash
# run-fuzzer.sh <fuzzer> <seed dir> <work corpus dir> <seconds> [libFuzzer options...]
# Runs one fuzz target for a bounded time from its seeds; what it finds goes to the work corpus
# and a crashing input beside it as <work>-crash-*. Exits non-zero on any finding.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4
shift 4
mkdir -p "$work"
# Absolute: the targets work inside a scratch folder of their own.
seeds=$(realpath "$seeds") work=$(realpath "$work")
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="${work%/}-" "$@" "$work" "$seeds"
