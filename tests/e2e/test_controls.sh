#!/usr/bin/env bash
# In the real window "l" toggles wireframe, the pointer turns the view, "c" culls back faces
# (the ground seen from above), "w", "a", "s", "d" move it; the GL tests press each twice.
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
e2e_init "$@"
launch controls
press L && press l
soon 20 "\"l\" draws outlines: sky shows between them below" ge 0.3 share "$LOWER" "$SKY"
press l
soon 20 "\"l\" again fills the polygons" le 0.02 share "$LOWER" "$SKY"
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
