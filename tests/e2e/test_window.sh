#!/usr/bin/env bash
# The window as it first appears: its title and size, the sky above the horizon, buildings
# on the ground below it, a silent run and an immediate, clean end on Escape.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
start_display
launch window

expect "the window is titled \"$E2E_TITLE\"" equals "$(xdotool getwindowname "$WIN")" "$E2E_TITLE"
size=$(xwininfo -id "$WIN" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
expect "the window is 1280x720 (got $size)" equals "$size" 1280x720

shot "$WORK/start.ppm"
sky=$(fraction "$WORK/start.ppm" "$UPPER" sky)
expect "the upper part of the first frames is sky coloured ($sky)" at_least "$sky" 0.95
lowerSky=$(fraction "$WORK/start.ppm" "$LOWER" sky)
expect "the lower part is not sky ($lowerSky)" at_most "$lowerSky" 0.02
ground=$(fraction "$WORK/start.ppm" "$LOWER" ground)
expect "the lower part shows the textured ground ($ground)" at_least "$ground" 0.2
read -r share _ < <(dominant "$WORK/start.ppm" "$LOWER")
expect "the ground is textured: no one colour covers much of the lower part ($share)" \
    at_most "$share" 0.1
buildings=$(fraction "$WORK/start.ppm" "$LOWER" building)
expect "the lower part shows buildings ($buildings)" at_least "$buildings" 0.05

quit_with_escape
expect "a good run prints nothing on standard output" test ! -s "$RUN/stdout"
expect "a good run prints nothing on standard error" test ! -s "$RUN/stderr"
finish
