#!/usr/bin/env bash
# Makes docs/transition.gif from the demo's own frames: builds the Windows demo, runs it under
# Wine for one round of the five transitions saving every fourth frame, and joins the frames at
# half size (ImageMagick). ZV_PRESET=win64 uses the 64-bit build.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
preset=${ZV_PRESET:-win32}
root=$PWD build=$PWD/build/$preset

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target transition
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/frames"
(cd "$work" && "$root/cmake/wine-run.sh" "$preset" "$build/wineprefix" \
   "$build/examples/transition/transition.exe" --frames 288 --every 4 --save frames)
convert -delay 7 -loop 0 "$work"/frames/*.bmp -resize 50% +dither -colors 128 -layers Optimize \
  docs/transition.gif
echo "wrote docs/transition.gif from $(ls "$work/frames" | wc -l) frames"
