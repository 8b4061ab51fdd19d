#!/usr/bin/env bash
# The first frames: title and size, sky above the horizon, textured ground and buildings
# below it. Left alone, the city changes by whole generations and holds still in between,
# and it prints nothing (the GL tests show each zone's colour).
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
e2e_init "$@"
launch window
check "the window is titled \"$TITLE\"" [ "$(xdotool getwindowname "$WIN")" = "$TITLE" ]
size=$(xwininfo -id "$WIN" | awk '/Width:/ { w = $2 } /Height:/ { print w "x" $2 }')
check "the window is 1280x720 (got $size)" [ "$size" = 1280x720 ]
soon 0 "the upper part is sky" ge 0.95 share "$UPPER" "$SKY"
soon 0 "the lower part is not sky" le 0.02 share "$LOWER" "$SKY"
soon 0 "the lower part shows the ground" ge 0.2 share "$LOWER" "$GROUND"
soon 0 "the ground is textured: no one colour covers much of it" le 0.1 dominant "$LOWER"
for generation in first second; do
    check "the city holds still between generations" wait_until 30 held_still
    soon 30 "the $generation generation changes the city" ge 0.01 changed "$WORK/still.ppm"
done
soon 0 "the city is still there after several generations" ge 0.05 share "$LOWER" "$BUILDING"
quit
check "a good run prints nothing on standard output" test ! -s "$RUN/stdout"
check "a good run prints nothing on standard error" test ! -s "$RUN/stderr"
finish
