#!/usr/bin/env bash
# The controls: "l" toggles wireframe, the pointer turns the view, "c" toggles back-face
# culling (seen from above the ground is a back face), and "w", "a", "s", "d" move the view.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
start_display

launch controls
press L
settle
expect_soon 0 "\"L\" (with Shift) toggles nothing: no sky below the horizon" \
    at_most 0.02 share_now "$LOWER" sky
press l
expect_soon 10 "\"l\" draws outlines: the sky shows between the lines below the horizon" \
    at_least 0.3 share_now "$LOWER" sky
press l
expect_soon 10 "\"l\" again fills the polygons: no sky below the horizon" \
    at_most 0.02 share_now "$LOWER" sky

# 0.4 rad down: over the city, the horizon just out of the picture.
point_at 0 80
expect_soon 10 "moving the pointer down tilts the view to the ground: no sky on top" \
    at_most 0.02 share_now "$UPPER" sky
ground=$(share_now "$WHOLE" ground)
expect "from above, the ground fills most of the view ($ground)" at_least "$ground" 0.5

press c
expect_soon 10 "\"c\" culls the ground seen from above: no ground left" \
    at_most 0.01 share_now "$WHOLE" ground
sky=$(share_now "$WHOLE" sky)
expect "\"c\" leaves the sky colour where the ground was ($sky)" at_least "$sky" 0.6
expect "\"c\" keeps the buildings' outer faces: not all is sky ($sky)" at_most "$sky" 0.97
press c
expect_soon 10 "\"c\" again brings the ground back" at_least 0.5 share_now "$WHOLE" ground
quit_with_escape

# Without the building model only the ground is drawn, so the picture changes only when the
# camera moves. The view is tilted down to the nearby ground, and turned off the texture's
# axes so that no step can move it by a whole number of texture tiles.
launch ground-only models/cubeTex.obj
point_at 70 100
settle
shot "$WORK/before.ppm"
settle 1
expect_soon 0 "without buildings and input the picture holds still" \
    at_most 0 change_now "$WORK/before.ppm"
for key in w a s d; do
    hold "$key" 0.5
    expect_soon 10 "holding \"$key\" moves the view" at_least 0.05 change_now "$WORK/before.ppm"
    settle 1
    shot "$WORK/before.ppm"
done
quit_with_escape
finish
