#!/bin/sh
# Draws the PNG icons the desktop's icon theme takes beside the SVG
# (icons/NxN/io.github.yomite.Viewer.png, 48, 128 and 256 px) from
# io.github.yomite.Viewer.svg with rsvg-convert (Debian's librsvg2-bin). Run by
# hand after the SVG changes.
set -eu
cd "$(dirname "$0")"
for n in 48 128 256; do
  mkdir -p "icons/${n}x${n}"
  rsvg-convert -w "$n" -h "$n" io.github.yomite.Viewer.svg -o "icons/${n}x${n}/io.github.yomite.Viewer.png"
done
