#!/usr/bin/env bash
# Renders the icon's PNG sizes from the SVG (rsvg-convert, Debian package librsvg2-bin). The PNGs
# are committed, so the build does not need it; run this after changing the SVG.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
id=io.github.tenkora.Tenkora
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$here/icons/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" "$here/icons/$id.svg" -o "$here/icons/${size}x${size}/$id.png"
done
