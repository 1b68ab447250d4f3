#!/usr/bin/env bash
# Renders the gallery: builds the optimised native preset, draws every operation into BMP files
# with the gallery program, turns them into small PNG files under docs/gallery/ (ImageMagick)
# and rewrites docs/gallery.md.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

cmake --preset bench >/dev/null
cmake --build --preset bench --target gallery
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/bench/bench/gallery "$work"
mkdir -p docs/gallery
rm -f docs/gallery/*.png
for bmp in "$work"/*.bmp; do
  name=$(basename "$bmp" .bmp)
  convert "$bmp" -strip -define png:compression-level=9 "docs/gallery/$name.png"
done
cp "$work/gallery.md" docs/gallery.md
echo "wrote docs/gallery.md and $(ls docs/gallery/*.png | wc -l) pictures"
