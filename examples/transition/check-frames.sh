#!/usr/bin/env bash
# Runs the demo under Wine for a fixed number of frames, keeping the frames the checker names,
# then has the checker compare them with the same calls drawn directly.
#   check-frames.sh <win32|win64> <prefix dir> <transition.exe> <transition_frame_check.exe>
set -euo pipefail
arch=$1 prefix=$2 demo=$3 check=$4
run=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/cmake/wine-run.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$(dirname "$demo")/pictures" "$work/"
mkdir "$work/frames"
cd "$work"
frames=$("$run" "$arch" "$prefix" "$check" --list | tr -d '\r')
"$run" "$arch" "$prefix" "$demo" --frames 300 --save frames --at "$frames" \
  pictures/day.bmp pictures/night.bmp
"$run" "$arch" "$prefix" "$check" frames pictures/day.bmp pictures/night.bmp
