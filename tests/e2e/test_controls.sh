#!/usr/bin/env bash
# The ground alone in the real window: the pointer coming in turns nothing, moving turns the
# view, and the ground's far corner shows where the camera, the lens and the ground's edge put
# it, also once the window is resized; "w", "a", "s", "d" move the view.
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
e2e_init "$@"

# corner_seen DX WIDTH HEIGHT YAW: the middle of the ground's first row is within DX columns
# and a row of its corner (600, 0, -600), seen from (20, 20, 20) with a 30-degree lens turned
# YAW about the vertical (by 1/200 radian a pointer pixel), in a window of that size
corner_seen() {
    local row
    shot && row=$(convert "$WORK/now.ppm" -fuzz 10% -trim -format %Y info:) &&
        SEEN=$(convert "$WORK/now.ppm" -crop "0x1+0$row" +repage -bordercolor "rgb(204,242,255)" \
            -border 1 -fuzz 10% -trim -format "%[fx:page.x - 1 + w / 2] ${row#+}" info:) &&
        EXPECTED=$(awk -v w="$2" -v h="$3" -v yaw="$4" 'BEGIN { a = atan2(1, 0) / 6
            t = sin(a) / cos(a); x = 580 * cos(yaw) + 620 * sin(yaw); depth = 620 * cos(yaw) - 580 * sin(yaw)
            printf "%.1f %.1f", w / 2 * (1 + x / depth / t * h / w), h / 2 * (1 + 20 / depth / t) }') &&
        awk -v a="$SEEN" -v b="$EXPECTED" -v dx="$1" 'BEGIN { split(a, p); split(b, q)
            exit !((p[1] - q[1]) ^ 2 <= dx ^ 2 && (p[2] - q[2]) ^ 2 <= 1) }'
} 2>/dev/null
corner_check() { # corner_check WHAT DX WIDTH HEIGHT YAW
    wait_until 20 corner_seen "${@:2}"
    check "$1 at $EXPECTED (seen at ${SEEN:-none})" [ $? = 0 ]
}

launch ground-only models/cubeTex.obj
for at in 300 0; do # out below the window, back in lower down, and then where it was
    xdotool mousemove 640 1000 && sleep 0.5 && point_at "$at" "$at" && sleep 0.5
    soon 0 "coming in at ($at, $at) turns nothing" ge 0.95 share "$UPPER" "$SKY"
done
# Looking along -z, the far edge is the horizon across the whole window.
corner_check "from the start, the horizon's row is the corner's" 1e6 1280 720 0
point_at 157 0
for size in 1280x720 640x720 1280x360; do
    xdotool windowsize --sync "$WIN" "${size%x*}" "${size#*x}"
    corner_check "turned 157 pixels, in a $size window the ground's corner is" 4 \
        "${size%x*}" "${size#*x}" -0.785
done
# Turned off the texture's axes, so that no step moves it by whole tiles.
point_at 70 100
check "without input the picture holds still" wait_until 30 held_still
for key in w a s d; do
    xdotool keydown "$key" && sleep 0.5 && xdotool keyup "$key"
    soon 20 "holding \"$key\" moves the view" ge 0.05 changed "$WORK/still.ppm"
    wait_until 30 held_still || die "the view never settled after \"$key\""
done
quit
finish
