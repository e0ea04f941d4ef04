#!/bin/sh
# Draws the 16 x 16 tool-bar and style-button icons (ImageMagick).
# Run from this folder; the PNGs are committed, so the build never needs it.
set -e
canvas() { convert -size 16x16 xc:none "$@"; }

# Floppy disk: blue body, grey shutter, white label.
canvas -fill '#2050a0' -stroke '#102850' -draw 'polygon 1,1 13,1 14,2 14,14 1,14' \
  -stroke none -fill '#c8c8c8' -draw 'rectangle 4,1 11,5' -fill '#2050a0' -draw 'rectangle 9,2 10,4' \
  -fill white -draw 'rectangle 3,8 12,13' -fill '#8090a0' -draw 'line 4,10 11,10' -draw 'line 4,12 11,12' \
  save.png

# Stack of floppy disks: three offset bodies, the front one labelled.
canvas -stroke '#102850' \
  -fill '#6080c0' -draw 'rectangle 6,0 15,9' \
  -fill '#4068b0' -draw 'rectangle 3,3 12,12' \
  -fill '#2050a0' -draw 'rectangle 0,6 9,15' \
  -stroke none -fill '#c8c8c8' -draw 'rectangle 2,6 7,8' \
  -fill white -draw 'rectangle 2,11 7,14' \
  batch.png

# Wrench: a grey handle with an open jaw at the top right.
canvas -stroke '#404040' -strokewidth 3 -draw 'line 3,13 10,6' \
  -stroke none -fill '#808080' -draw 'circle 11,5 14,5' \
  -fill none -stroke '#404040' -strokewidth 1 -draw 'circle 11,5 14,5' \
  -alpha set -region 3x3+11+2 -alpha transparent +region \
  -stroke '#808080' -strokewidth 1 -draw 'line 4,12 9,7' \
  settings.png

# Yellow question mark on a dark outline.
convert -size 16x16 xc:none -font DejaVu-Sans-Bold -pointsize 16 -gravity center \
  -stroke '#604000' -strokewidth 2 -fill '#ffd000' -annotate +0+0 '?' \
  -stroke none -fill '#ffd000' -annotate +0+0 '?' help.png

# Style buttons: black letters, the rest transparent.
letter() {
  convert -size 16x16 xc:none -font "$1" -pointsize 14 -gravity center -fill black \
    -annotate +0+0 "$2" "$3"
}
letter DejaVu-Sans-Bold B bold.png
letter DejaVu-Serif-Bold-Italic I italic.png
convert -size 16x16 xc:none -font DejaVu-Sans-Bold -pointsize 12 -gravity center -fill black \
  -annotate +0-1 U -draw 'line 3,14 12,14' underline.png

# Vertical writing: two kana in a column beside an arrow pointing down.
convert -size 16x16 xc:none -font "$(fc-match -f '%{file}' IPAGothic)" -pointsize 8 -fill black \
  -gravity northeast -annotate +1+0 'あ' -annotate +1+8 'い' \
  -stroke '#2050a0' -strokewidth 1.5 -draw 'line 3,0 3,11' \
  -stroke none -fill '#2050a0' -draw 'polygon 0,10 6,10 3,15' vertical.png
