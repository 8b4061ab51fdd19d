#!/usr/bin/env bash
# In the real window the pointer coming in turns nothing, moving inside turns the view, "c"
# culls back faces (the ground seen from above), "w", "a", "s", "d" move it; the GL tests
# press "c" and "l" twice each.
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
e2e_init "$@"
launch controls
for at in 300 0; do # out below the window, back in lower down, and then where it was
    xdotool mousemove 640 1000 && sleep 0.5 && point_at "$at" "$at" && sleep 0.5
    soon 0 "coming in at ($at, $at) turns nothing" ge 0.95 share "$UPPER" "$SKY"
done
point_at 0 80 # 0.4 rad down: over the city, the horizon out of the picture
soon 20 "moving the pointer down tilts the view to the ground" le 0.02 share "$UPPER" "$SKY"
soon 0 "from above, the ground fills most of the view" ge 0.5 share "$WHOLE" "$GROUND"
press c
soon 20 "\"c\" culls the ground seen from above" le 0.01 share "$WHOLE" "$GROUND"
soon 0 "\"c\" keeps the buildings' outer faces" le 0.97 share "$WHOLE" "$SKY"
quit

# Ground only, so only the camera changes the picture; turned off the texture's axes so that
# no step moves it by whole tiles.
launch ground-only models/cubeTex.obj
point_at 70 100
check "without input the picture holds still" wait_until 30 held_still
for key in w a s d; do
    xdotool keydown "$key" && sleep 0.5 && xdotool keyup "$key"
    soon 20 "holding \"$key\" moves the view" ge 0.05 changed "$WORK/still.ppm"
    wait_until 30 held_still || die "the view never settled after \"$key\""
done
quit
finish
