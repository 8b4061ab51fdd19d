#!/usr/bin/env bash
# Makes the desktop icon from a picture of the city: a square of sky over buildings, cut
# from the top middle of the window and scaled to the 256-pixel hicolor size.
#   tools/make_icon.sh CITY_PICTURE.png ICON.png   (needs ImageMagick)
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 CITY_PICTURE.png ICON.png" >&2 && exit 2; }
side=$(identify -format '%[fx:round(h * 2 / 3)]' "$1")
convert "$1" -gravity North -crop "${side}x${side}+0+0" +repage -resize 256x256 -strip \
    "PNG24:$2"
echo "wrote $2"
