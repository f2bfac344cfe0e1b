#!/usr/bin/env bash
# Renders the PNG sizes of the icon from zelvarin.svg (needs rsvg-convert, Debian's
# librsvg2-bin). The PNGs are committed, so a build needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" zelvarin.svg -o "zelvarin-$size.png"
done
