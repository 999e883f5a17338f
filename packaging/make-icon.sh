#!/usr/bin/env bash
# Draws the application icon, a folded map sheet with a grid, a river and a captured red point, as the
# 256x256 PNG beside this script (velmaro.png). Run it again after changing the drawing; the PNG is kept
# in the repository next to velmaro.svg, the same picture written by hand.
set -euo pipefail
cd "$(dirname "$0")"
river="M 32,200 L 64,176 L 100,170 L 136,178 L 170,168 L 196,146 L 216,122"
convert -size 256x256 xc:none \
  -fill '#00000033' -stroke none -draw "polygon 36,28 196,28 228,60 228,236 36,236" \
  -fill '#f6f1dc' -stroke '#6b5d3f' -strokewidth 6 -draw "polygon 28,20 188,20 220,52 220,228 28,228" \
  -fill '#d8ccaa' -draw "polygon 188,20 188,52 220,52" \
  -fill none -stroke '#c9bfa5' -strokewidth 3 \
  -draw "line 76,26 76,222" -draw "line 124,26 124,222" -draw "line 172,26 172,222" \
  -draw "line 34,76 214,76" -draw "line 34,124 214,124" -draw "line 34,172 214,172" \
  -stroke '#4f8fd0' -strokewidth 12 -draw "fill none stroke-linecap round stroke-linejoin round path '$river'" \
  -fill '#e02020' -stroke '#7a0000' -strokewidth 5 -draw "circle 112,96 112,122" \
  -fill '#ffffff' -stroke none -draw "circle 104,88 104,94" \
  -strip PNG32:velmaro.png
