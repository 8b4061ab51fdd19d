#!/usr/bin/env bash
# The first frames: title and size, sky over textured ground and buildings, no face drawn over
# a nearer one. Left alone, the city changes by whole generations and holds still in between,
# and it prints nothing; a later start grows another city.
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
e2e_init "$@"
# Faces turned from the light, which is beside the viewer, show their zone's ambient colour
# alone: from the start, only those drawn over nearer faces are seen.
UNLIT='(r-87)^2 + (g-74)^2 + (b-46)^2 <= 3 || (r-138)^2 + (g-105)^2 + (b-31)^2 <= 3 ||
    (r-36)^2 + (g-28)^2 + (b-23)^2 <= 3'
launch window
check "the window is titled \"$TITLE\"" [ "$(xdotool getwindowname "$WIN")" = "$TITLE" ]
size=$(xwininfo -id "$WIN" | awk '/Width:/ { w = $2 } /Height:/ { print w "x" $2 }')
check "the window is 1280x720 (got $size)" [ "$size" = 1280x720 ]
soon 0 "the lower part shows the ground" ge 0.2 share "$LOWER" "$GROUND"
soon 0 "the ground is textured: no one colour covers much of it" le 0.1 dominant "$LOWER"
soon 0 "no face turned from the light is seen" le 0.002 share "$WHOLE" "$UNLIT"
for generation in first second; do
    check "the city holds still between generations" wait_until 30 held_still
    cp "$WORK/still.ppm" "$WORK/$generation.ppm"
    soon 30 "the $generation generation changes the city" ge 0.01 changed "$WORK/still.ppm"
done
soon 0 "the city is still there after several generations" ge 0.05 share "$LOWER" "$BUILDING"
quit
check "a good run prints nothing on standard output" test ! -s "$RUN/stdout"
check "a good run prints nothing on standard error" test ! -s "$RUN/stderr"
launch again
check "started again, the city holds still" wait_until 30 held_still
for generation in first second; do
    soon 0 "it is not the first start's $generation generation" ge 0.01 changed "$WORK/$generation.ppm"
done
quit
finish
