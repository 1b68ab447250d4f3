#!/usr/bin/env bash
# Builds the three configurations (native with sanitizers, win32, win64) and runs every test:
# natively, and under Wine on a virtual X screen. Installs what is missing first.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh || exit 1

# One virtual screen for the whole run; Wine binds a prefix to the screen it first sees.
mkdir -p build
export DISPLAY
DISPLAY=$(cmake/xvfb.sh start build/xvfb-test.state 24) || exit 1
trap 'cmake/xvfb.sh stop build/xvfb-test.state' EXIT

presets=(${ZV_PRESETS:-native win32 win64})
failed=()
for preset in "${presets[@]}"; do
  echo
  echo "==================== $preset ===================="
  if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; then
    ctest --preset "$preset" || failed+=("$preset (tests)")
  else
    failed+=("$preset (build)")
  fi
done

# Built only: the benchmark's timings need an idle machine (bench/run.sh runs it).
for preset in ${ZV_BUILD_ONLY-bench}; do
  echo
  echo "==================== $preset (build only) ===================="
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" ||
    failed+=("$preset (build)")
done

echo
if [ ${#failed[@]} -eq 0 ]; then
  echo "All configurations passed: ${presets[*]}"
else
  echo "FAILED: ${failed[*]}"
  exit 1
fi
