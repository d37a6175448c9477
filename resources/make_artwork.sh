#!/usr/bin/env bash
# Draws the artwork with ImageMagick: the controller's icon 128, banner 1028 and background 147, the band's buttons 201 and 208.
# The results are committed; run this again only to change them.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

# Icon: a green page with a folded corner and a downward arrow, at 16 and 32 pixels.
for size in 16 32; do
  s=$((size - 1))
  f=$((size / 4))
  convert -size ${size}x${size} xc:none \
    -fill '#f4fbf2' -stroke '#2e7d32' -strokewidth 1 \
    -draw "polygon 2,0 $((s - f)),0 $((s - 2)),$f $((s - 2)),$s 2,$s" \
    -fill '#2e7d32' -stroke none \
    -draw "rectangle $((size / 2 - size / 12)),$((size / 5)) $((size / 2 + size / 12)),$((size / 2))" \
    -draw "polygon $((size / 4)),$((size / 2)) $((size * 3 / 4)),$((size / 2)) $((size / 2)),$((size * 4 / 5))" \
    "icon$size.png"
done
convert icon16.png icon32.png page_harvest.ico
rm -f icon16.png icon32.png

# Banner 1028: 400 by 70, the name on a green gradient.
convert -size 400x70 gradient:'#1b5e20-#66bb6a' -rotate 0 \
  -font DejaVu-Sans-Bold -pointsize 30 -fill white -gravity west -annotate +16+0 'PageHarvest' \
  -font DejaVu-Sans -pointsize 12 -fill '#e8f5e9' -gravity southeast -annotate +12+8 'keep what matters on the web' \
  -type TrueColor BMP3:banner.bmp

# Background 147: 420 by 220, mostly white (it is combined with AND), with light green furrows.
convert -size 420x220 xc:white -fill none -stroke '#d7efd9' -strokewidth 6 \
  -draw 'bezier 0,190 140,150 280,230 420,170' \
  -draw 'bezier 0,210 140,170 280,250 420,190' \
  -stroke '#e6f5e7' -draw 'bezier 0,170 140,130 280,210 420,150' \
  -type TrueColor BMP3:background.bmp

# Band buttons 201 (two 16 by 16 images) and 208 (two 32 by 32): a dashed selection frame with an
# arrow for "Start Selection", a green page with a lightning stroke for "Quick Save"; magenta is
# transparent.
for size in 16 32; do
  s=$((size - 1))
  q=$((size / 4))
  convert -size $((size * 2))x$size xc:'#ff00ff' \
    -fill none -stroke '#1565c0' -strokewidth 1 -draw "stroke-dasharray 2 1 rectangle 1,1 $((s - 2)),$((s - 4))" \
    -fill '#2e7d32' -stroke none \
    -draw "polygon $((size / 2)),$((size / 2)) $s,$((size * 3 / 4)) $((size * 3 / 4)),$((size * 3 / 4)) $((size * 5 / 8)),$s" \
    -fill '#f4fbf2' -stroke '#2e7d32' -draw "rectangle $((size + 2)),1 $((size + s - 2)),$((s - 1))" \
    -fill '#f9a825' -stroke none \
    -draw "polygon $((size + size / 2 + q / 2)),2 $((size + q)),$((size / 2 + 1)) $((size + size / 2)),$((size / 2 + 1)) $((size + size / 2 - q / 2)),$((s - 2)) $((size + s - q)),$((size / 2 - 1)) $((size + size / 2)),$((size / 2 - 1))" \
    +antialias -type TrueColor BMP3:band_$size.bmp
done
mv band_16.bmp band_small.bmp
mv band_32.bmp band_large.bmp
