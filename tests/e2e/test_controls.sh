#!/usr/bin/env bash
# The controls: "l" toggles wireframe, the pointer turns the view, "c" toggles back-face
# culling (seen from above the ground is a back face), and "w", "a", "s", "d" move the view.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
start_display

# lookStats IMAGE: the shares of sky, ground and building colour over the whole window.
lookStats() {
    SKY=$(fraction "$1" "$WHOLE" sky)
    GROUND=$(fraction "$1" "$WHOLE" ground)
    BUILDINGS=$(fraction "$1" "$WHOLE" building)
}

launch controls
shot "$WORK/filled.ppm"
press L
settle
shot "$WORK/shifted.ppm"
lowerSky=$(fraction "$WORK/shifted.ppm" "$LOWER" sky)
expect "\"L\" (with Shift) toggles nothing: no sky below the horizon ($lowerSky)" \
    at_most "$lowerSky" 0.02
press l
settle
shot "$WORK/wireframe.ppm"
lowerSky=$(fraction "$WORK/wireframe.ppm" "$LOWER" sky)
expect "\"l\" draws outlines: the sky shows between the lines below the horizon ($lowerSky)" \
    at_least "$lowerSky" 0.3
press l
settle
shot "$WORK/refilled.ppm"
lowerSky=$(fraction "$WORK/refilled.ppm" "$LOWER" sky)
expect "\"l\" again fills the polygons: no sky below the horizon ($lowerSky)" at_most "$lowerSky" 0.02
before=$(fraction "$WORK/filled.ppm" "$LOWER" ground)
after=$(fraction "$WORK/refilled.ppm" "$LOWER" ground)
expect "\"l\" twice restores the picture: ground share $before before, $after after" \
    at_most "$(awk -v a="$before" -v b="$after" 'BEGIN { d = a - b; print d < 0 ? -d : d }')" 0.1

# 0.8 rad down: over the city, clear of the horizon.
point_at 0 160
settle
shot "$WORK/above.ppm"
lookStats "$WORK/above.ppm"
upperSky=$(fraction "$WORK/above.ppm" "$UPPER" sky)
expect "moving the pointer down tilts the view to the ground: no sky on top ($upperSky)" \
    at_most "$upperSky" 0.02
expect "from above, the ground fills most of the view ($GROUND)" at_least "$GROUND" 0.5

press c
settle
shot "$WORK/culled.ppm"
lookStats "$WORK/culled.ppm"
expect "\"c\" culls the ground seen from above: no ground left ($GROUND)" at_most "$GROUND" 0.01
expect "\"c\" leaves the sky colour where the ground was ($SKY)" at_least "$SKY" 0.6
expect "\"c\" keeps the buildings' outer faces ($BUILDINGS)" at_least "$BUILDINGS" 0.01
press c
settle
shot "$WORK/unculled.ppm"
lookStats "$WORK/unculled.ppm"
expect "\"c\" again brings the ground back ($GROUND)" at_least "$GROUND" 0.5
quit_with_escape

# Without the building model only the ground is drawn, so the picture changes only when the
# camera moves. The view is turned off the texture's axes first, so that no step can move
# it by a whole number of texture tiles.
launch ground-only models/cubeTex.obj
point_at 70 50
settle
shot "$WORK/move0.ppm"
settle 1
shot "$WORK/still.ppm"
expect "without buildings and input the picture holds still" \
    equals "$(changed "$WORK/move0.ppm" "$WORK/still.ppm")" 0.0000
step=0
for key in w a s d; do
    hold "$key" 0.5
    settle
    shot "$WORK/move$((step + 1)).ppm"
    moved=$(changed "$WORK/move$step.ppm" "$WORK/move$((step + 1)).ppm" "$LOWER")
    expect "holding \"$key\" moves the view ($moved of the lower part changed)" at_least "$moved" 0.05
    step=$((step + 1))
done
quit_with_escape
finish
