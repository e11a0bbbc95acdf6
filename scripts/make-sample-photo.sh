#!/usr/bin/env bash
# Draws samples/photo.png, the landscape that the JPG tab's screenshot opens: a sky
# gradient, a sun, two hills of fractal texture and some grain, 262 x 243 like the tab's
# panes. Needs ImageMagick's convert; one version of it draws the same picture each time.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v convert >/dev/null || { echo "make-sample-photo.sh needs convert (Debian package imagemagick)" >&2; exit 1; }
mkdir -p samples
size=320x296
layers=()
hill() {  # dark colour, light colour, outline path
  layers+=('(' -size "$size" plasma:fractal -colorspace Gray -auto-level +level-colors "$1,$2" -blur 0x0.7
           '(' -size "$size" xc:black -fill white -draw "path '$3'" -blur 0x1 ')'
           -alpha off -compose CopyOpacity -composite ')' -compose Over -composite)
}
hill '#2c5a20' '#b0c868' 'M 0,170 C 60,120 120,150 170,165 S 270,140 320,150 L 320,296 L 0,296 Z'
hill '#4a3a22' '#b09a68' 'M 0,240 C 80,215 160,250 220,235 S 300,225 320,232 L 320,296 L 0,296 Z'
convert -seed 7 -size "$size" gradient:'#3f73c0'-'#dceafa' \
  '(' -size "$size" xc:none -fill '#fff8d8' -draw 'circle 238,70 238,90' -blur 0x5 ')' -composite \
  "${layers[@]}" \
  -resize '262x243!' -attenuate 0.3 +noise Gaussian -depth 8 -define png:exclude-chunks=date,time \
  -set comment 'Drawn by scripts/make-sample-photo.sh' +set date:create +set date:modify samples/photo.png
echo "wrote samples/photo.png"
