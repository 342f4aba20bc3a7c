#!/usr/bin/env bash
# Renders the hand-drawn pictures in assets/pictures/drawings (SVG) to the PNG
# files the screens load, at the sizes the screens lay them out for. The PNGs
# are kept in the repository, so only someone who changes a drawing needs
# rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../assets/pictures"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2; exit 1; }
for drawing in drawings/*.svg; do
  name=$(basename "$drawing" .svg)
  # The drawing's own width and height are the picture's size.
  rsvg-convert --format=png --output="$name.png" "$drawing"
done
ls -l ./*.png
