#!/usr/bin/env bash
# Runs the colour-depth test on X screens of 8 and 16 bits, either side of the limit (the
# other tests run on 24 bits, which Windows programs see as 32). A Wine prefix keeps the screen
# its wineserver first saw, so this uses a prefix of its own and ends that prefix's wineserver
# between screens.
#   colour_depth.sh <win32|win64> <prefix dir> <test program> <tool>
set -euo pipefail
arch=$1 prefix=$2 program=$3 tool=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
state=$prefix.depth-screen

stop_screen() {
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  "$here/cmake/xvfb.sh" stop "$state"
}
trap stop_screen EXIT

status=0
for depth in 8 16; do
  echo "--- X screen of depth $depth"
  DISPLAY=$("$here/cmake/xvfb.sh" start "$state" "$depth")
  DISPLAY=$DISPLAY ZV_E2E_SCREEN_BITS=$depth ZV_E2E_TOOL=$tool \
    "$here/cmake/wine-run.sh" "$arch" "$prefix" "$program" --gtest_color=no \
      --gtest_filter='ColourDepthTest.*' || status=1
  stop_screen
done
exit $status
