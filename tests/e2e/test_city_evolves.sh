#!/usr/bin/env bash
# Left alone, the city changes by whole generations, one every two seconds or so, holds
# still in between, and its survivors take the commercial and industrial colours.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
launch evolves
frames=() # a checksum of the lower part, photographed for eight seconds
for ((end = SECONDS + 8; SECONDS < end; )); do
    shot || die "could not photograph the window"
    frames+=("$(convert "$WORK/now.ppm" -crop "$LOWER" +repage rgb:- | md5sum)")
    sleep 0.4
done
changes=0 still=0 # a generation may show in two shot pairs in a row: they count once
for ((i = 1; i < ${#frames[@]}; i++)); do
    if [ "${frames[i]}" = "${frames[i - 1]}" ]; then
        still=$((still + 1))
    elif ((i == 1)) || [ "${frames[i - 1]}" = "${frames[i - 2]}" ]; then
        changes=$((changes + 1))
    fi
done
check "the city changes at least twice in 8 s (got $changes)" ge "$changes" 2
check "the city holds still in between ($still of $((i - 1)) unchanged)" ge "$still" $((i / 2))
soon 0 "commercial buildings appear" ge 0.005 share "$LOWER" "$COMMERCIAL"
soon 0 "industrial buildings appear" ge 0.005 share "$LOWER" "$INDUSTRIAL"
soon 0 "the city is still there after several generations" ge 0.05 share "$LOWER" "$BUILDING"
quit
finish
