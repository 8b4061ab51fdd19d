#!/usr/bin/env bash
# Films the real program on a virtual display of its own, so it needs none: the pointer
# comes in at the window's centre, the city grows a few generations and is photographed, then
# the view flies forward over it, turning, and looks down onto it and up again. Writes into
# OUTPUT_DIR two stills of the window, the city ahead (city.png) and the buildings below
# (city-below.png), and an animation of it all (city.gif, 480x270).
#   tools/demo.sh OUTPUT_DIR   (films build/city, or $CITY_BIN; needs Xvfb, xdotool, ImageMagick)
set -u
[ $# -eq 1 ] || { echo "usage: $0 OUTPUT_DIR" >&2 && exit 2; }
mkdir -p "$1" && out=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/lib/window.sh
source "$root/tools/lib/window.sh"
e2e_init "${CITY_BIN:-$root/build/city}" "$root/data"
launch demo

film() { # photographs the window five times a second until $WORK/cut exists
    local n=0
    until [ -e "$WORK/cut" ]; do
        xwd -silent -id "$WIN" >"$WORK/frame-$(printf %04d $n).xwd" && n=$((n + 1))
        sleep 0.2
    done
}
still() { shot && convert "$WORK/now.ppm" "$out/$1" || die "could not photograph the window"; }
glide() { # glide X Y SECONDS: moves the pointer from (PX, PY) to (X, Y), ten steps a second
    local steps=$(($3 * 10)) i
    for ((i = 1; i <= steps; i++)); do
        point_at $((PX + ($1 - PX) * i / steps)) $((PY + ($2 - PY) * i / steps)) && sleep 0.1
    done
    PX=$1 PY=$2
}

# Out of the window and back in at its centre, which turns nothing.
xdotool mousemove 640 1000 && PX=640 PY=360 && point_at $PX $PY
film &
PIDS+=($!)
filming=$SECONDS
glide 640 400 2 # 0.2 rad down: the horizon near the top, the city below
sleep 5         # two or three generations
still city.png
xdotool keydown w
glide 480 430 5 # forward, turning left
glide 800 440 5 # forward, turning right
xdotool keyup w
glide 800 520 2 # down onto the buildings below
still city-below.png
glide 800 400 2 # and up to the horizon again
sleep 1
touch "$WORK/cut" && wait "${PIDS[-1]}"

# At most 60 frames, which keeps the animation well under 3 MB.
all=("$WORK"/frame-*.xwd)
step=$(((${#all[@]} + 59) / 60))
frames=()
for ((i = 0; i < ${#all[@]}; i += step)); do frames+=("${all[i]}"); done
delay=$((100 * (SECONDS - filming) / ${#frames[@]})) # hundredths of a second a frame
convert -delay "$delay" -loop 0 "${frames[@]}" -resize 480x270 +dither -colors 48 \
    -layers Optimize "$out/city.gif" || die "could not assemble the animation"
quit
size=$(stat -c %s "$out/city.gif")
((size < 3000000)) || die "the animation is $size bytes, more than 3 MB"
echo "wrote $out/city.png, $out/city-below.png and $out/city.gif (${#frames[@]} frames, $size bytes)"
