#!/usr/bin/env bash
# With the camera left alone, the city changes by whole generations, one every two seconds
# or so, and holds still in between; buildings that survive a generation take the colours
# of the commercial and industrial zones, and the city neither dies out nor vanishes.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
start_display
launch evolves

# The lower part photographed for about eight seconds: a checksum of its pixels per shot.
period=0.4
frames=()
deadline=$((SECONDS + 8))
while ((SECONDS < deadline)); do
    shot "$WORK/now.ppm" || die "could not photograph the window"
    frames+=("$(convert "$WORK/now.ppm" -crop "$LOWER" +repage rgb:- | md5sum | cut -c1-32)")
    sleep "$period"
done
cp "$WORK/now.ppm" "$WORK/later.ppm"

# A generation shows as a change in one or two frames in a row: changes in shots next to
# each other count as one.
changes=0
still=0
previousChanged=0
for ((i = 1; i < ${#frames[@]}; i++)); do
    if [ "${frames[i]}" != "${frames[i - 1]}" ]; then
        ((previousChanged)) || changes=$((changes + 1))
        previousChanged=1
    else
        still=$((still + 1))
        previousChanged=0
    fi
done
pairs=$((${#frames[@]} - 1))
expect "the city changes in 8 s at least twice ($changes changes in $pairs shot pairs)" \
    at_least "$changes" 2
expect "the city holds still between generations ($still of $pairs shot pairs unchanged)" \
    at_least "$still" $((pairs / 2))

for class in commercial industrial; do
    share=$(fraction "$WORK/later.ppm" "$LOWER" "$class")
    expect "$class buildings appear once buildings survived a generation ($share)" \
        at_least "$share" 0.005
done
buildings=$(fraction "$WORK/later.ppm" "$LOWER" building)
expect "the city is still there after several generations ($buildings)" at_least "$buildings" 0.05
sky=$(fraction "$WORK/later.ppm" "$UPPER" sky)
expect "the sky is unchanged by the generations ($sky)" at_least "$sky" 0.95

quit_with_escape
finish
