#!/usr/bin/env bash
# Draws the program's icon as a PNG (the window icon and the 128-pixel desktop
# icon) with ImageMagick, the same shapes as data/linux/cfg-veltrano.svg.
set -euo pipefail
cd "$(dirname "$0")/.."
out=data/cfg-veltrano.png
convert -size 128x128 xc:none \
  \( -size 120x120 gradient:'#c0392b'-'#8a1c1c' \
     \( -size 120x120 xc:none -fill white -draw 'roundrectangle 0,0 119,119 22,22' \) \
     -compose DstIn -composite \) -geometry +4+4 -compose Over -composite \
  -fill '#f4f1ea' -stroke '#5a1010' -strokewidth 3 -draw 'roundrectangle 22,20 106,112 8,8' \
  -stroke none -fill '#1d3b2a' -draw 'roundrectangle 32,30 96,54 3,3' \
  -fill '#7df0a0' -draw 'rectangle 37,36 73,39' -draw 'rectangle 37,44 87,47' \
  -fill '#e53935' -draw 'circle 40,68 46,68' \
  -fill '#fbc02d' -draw 'circle 58,68 64,68' \
  -fill '#43a047' -draw 'circle 76,68 82,68' \
  -fill '#9e9e9e' -draw 'roundrectangle 34,84 48,94 2,2' -draw 'roundrectangle 52,84 66,94 2,2' \
  -draw 'roundrectangle 70,84 84,94 2,2' \
  -fill none -stroke '#2b2b2b' -strokewidth 5 -draw 'bezier 92,84 92,96 104,98 104,112' \
  -draw 'line 104,112 104,124' \
  -strip PNG32:"$out"
echo "$out: $(stat -c %s "$out") bytes"
# The Windows program icon (the executables' resource, the installer), all
# the sizes Explorer and the task bar ask for.
ico=data/windows/cfg-veltrano.ico
convert "$out" -define icon:auto-resize=128,64,48,32,24,16 "$ico"
echo "$ico: $(stat -c %s "$ico") bytes"
