#!/usr/bin/env bash
# The pointer coming into the window, first at its centre and again at another edge, leaves
# the horizon where it was (test_controls shows that moving inside it still turns the view).
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
e2e_init "$@"
horizon_held() {
    soon 0 "$1: sky above the horizon" ge 0.95 share "$UPPER" "$SKY"
    soon 0 "$1: no sky below it" le 0.02 share "$LOWER" "$SKY"
}
xdotool mousemove 640 1000 # below the window, which opens at the screen's top-left corner
run_dir pointer-entry && start_city 200
wait_until 30 mapped && wait_until 30 sky_on_top || die "no window with sky$(report)"
point_at 640 360 && sleep 0.5 && wait_until 30 held_still
horizon_held "the pointer's first report, at the window's centre, turns nothing"
xdotool mousemove 640 1000 && sleep 0.5 && point_at 0 200 && sleep 0.5
wait_until 30 held_still
horizon_held "coming back in at the left edge turns nothing"
quit
finish
