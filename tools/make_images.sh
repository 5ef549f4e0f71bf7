#!/bin/sh
# make_images.sh - draws the main window's pictures with ImageMagick: the logo (374 x 53 JPEG) and
# the busy animation (4 frames of 85 x 86, looping GIF). Rerun it after changing the design; both
# results are committed, so a build needs no ImageMagick.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/resources"
font=DejaVu-Sans-Bold
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The logo: the product name on a steel-blue band that fades into the window's grey (0x717679),
# with a round check mark in front of it.
convert -size 374x53 gradient:'#2E4A68-#797671' -rotate -90 -resize 374x53! \
  -fill '#FFD200' -stroke '#FFFFFF' -strokewidth 2 -draw 'circle 27,26 27,8' \
  -fill none -stroke '#2E4A68' -strokewidth 5 -draw 'polyline 18,27 25,35 37,17' \
  -stroke none -font "$font" -pointsize 30 \
  -fill '#FFFFFF' -annotate +56+37 'Tamrix' \
  -fill '#FFD200' -annotate +180+37 'SIPO' \
  -font DejaVu-Sans -pointsize 10 -fill '#E8E8E8' -annotate +262+44 'ověření čísel' \
  -strip -quality 92 "$out/logo.jpg"

# The busy frames: eight dots on a circle, two opposite ones dark; each frame turns the pair by
# 45 degrees, so four frames make a seamless loop. The background is transparent so that the
# panel's colour shows through, and the dots are drawn without smoothing to keep the edges clean.
for frame in 0 1 2 3; do
  draw=""
  for dot in 0 1 2 3 4 5 6 7; do
    x=$(awk "BEGIN { printf \"%d\", 42 + 28 * cos(($dot * 45 - 90) * 3.14159265 / 180) }")
    y=$(awk "BEGIN { printf \"%d\", 43 + 28 * sin(($dot * 45 - 90) * 3.14159265 / 180) }")
    if [ $((dot % 4)) -eq "$frame" ]; then colour='#2E4A68'; radius=9; else colour='#A9B4C0'; radius=6; fi
    draw="$draw fill $colour circle $x,$y $((x + radius)),$y"
  done
  convert -size 85x86 xc:none +antialias -draw "$draw" "$work/frame$frame.png"
done
convert -dispose background -delay 12 -loop 0 "$work"/frame0.png "$work"/frame1.png \
  "$work"/frame2.png "$work"/frame3.png +repage -strip "$out/busy.gif"
