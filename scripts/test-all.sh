#!/usr/bin/env bash
# Builds the configurations (native with sanitizers, win32, win64, and the fuzz targets) and
# runs every test: natively, under Wine on a virtual X screen, and a short run of each fuzz
# target from its seeds. Installs what is missing first.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh || exit 1

# One virtual screen for the whole run; Wine binds a prefix to the screen it first sees.
mkdir -p build
export DISPLAY
DISPLAY=$(cmake/xvfb.sh start build/xvfb-test.state 24) || exit 1
trap 'cmake/xvfb.sh stop build/xvfb-test.state' EXIT

# Sanitizer findings, leaks included, fail the native tests.
export ASAN_OPTIONS="detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

presets=(${ZV_PRESETS:-native fuzz win32 win64})
failed=()
unrun=()
for preset in "${presets[@]}"; do
  echo
  echo "==================== $preset ===================="
  # Without 32-bit support only what needs no Wine runs for win32 (the import audit, the
  # release archive's check, and the installed package's consumer, built but not run); the
  # win64 run covers the same tests under Wine.
  ctest_args=()
  if [ "$preset" = win32 ] && ! cmake/runs-32bit.sh; then
    ctest_args=(-L 'audit|release|install')
    unrun+=("win32: this kernel cannot start 32-bit programs, so only its import audit, archive check and install test ran")
  fi
  if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; then
    ctest --preset "$preset" "${ctest_args[@]}" || failed+=("$preset (tests)")
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
for note in "${unrun[@]}"; do echo "NOT RUN: $note"; done
bash scripts/code-lines.sh
echo
if [ ${#failed[@]} -eq 0 ]; then
  echo "All configurations passed: ${presets[*]}"
else
  echo "FAILED: ${failed[*]}"
  exit 1
fi
