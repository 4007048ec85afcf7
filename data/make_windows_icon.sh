#!/bin/sh
# Draws data/yomite.ico (48, 32 and 16 px) from the shapes of
# io.github.yomite.Viewer.svg with ImageMagick's own drawing (no SVG reader
# needed): the icon of yomite.exe. Run by hand after the SVG changes.
set -eu
cd "$(dirname "$0")"
convert -size 128x128 xc:none \
  -fill '#3b2f2a' -draw 'roundrectangle 14,8 113,119 8,8' \
  -fill '#f5eedb' -draw 'roundrectangle 20,12 107,115 5,5' \
  -stroke '#2d2a33' -strokewidth 5 -fill none \
  -draw 'line 94,26 94,100' -draw 'line 80,26 80,94' -draw 'line 66,34 66,100' \
  -draw 'line 52,26 52,86' -draw 'line 38,26 38,60' \
  -stroke none -fill '#2d2a33' -draw 'rectangle 99,40 101,43' -draw 'rectangle 99,47 101,50' \
  -fill '#c0392b' -draw 'polygon 28,8 40,8 40,38 34,32 28,38' \
  -define icon:auto-resize=48,32,16 yomite.ico
