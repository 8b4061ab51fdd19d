# shellcheck shell=bash disable=SC2034  # the regions and colour classes serve the sourcing scripts
# Runs the program in copies of the run directory on a virtual display of its own, drives it
# with xdotool and judges the window by its pixels; tools/demo.sh and the end-to-end tests
# source it. Every check waits for its condition, within a time limit, so a slow machine only
# waits.
TITLE="Varnock | Hollenby"
SCREEN=1280x1024x24 # the virtual screen: the 1280x720 window fits with room to spare
PIDS=()
cleanup() {
    local pid
    # Some have ended already; a script under set -e must not fail on them.
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "${WORK:-}"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# shellcheck source=tools/lib/checks.sh
source "${BASH_SOURCE[0]%/*}/checks.sh"
ge() { [ -n "$1" ] && awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }
le() { [ -n "$1" ] && awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }'; }
wait_until() { # wait_until SECONDS COMMAND...
    local deadline=$((SECONDS + $1))
    until "${@:2}"; do ((SECONDS < deadline)) && sleep 0.2 || return 1; done
}

# e2e_init PROGRAM RUN_DIR
e2e_init() {
    [ $# -eq 2 ] && [ -x "$1" ] && [ -d "$2" ] || die "usage: $0 PROGRAM RUN_DIRECTORY"
    CITY_BIN=$(realpath "$1") && DATA_DIR=$(realpath "$2") && WORK=$(mktemp -d) || die "no $1"
    open_display 290
}
# open_display SECONDS: a virtual display of SCREEN's size, for SECONDS at most, as DISPLAY.
# Xvfb needs -noreset, or it resets when its last client leaves and a client connecting just
# then fails.
open_display() {
    timeout "$1" Xvfb -displayfd 3 -screen 0 "$SCREEN" -nolisten tcp -noreset \
        3>"$WORK/display" 2>"$WORK/xvfb.log" &
    PIDS+=($!)
    wait_until 20 test -s "$WORK/display" || die "no Xvfb: $(cat "$WORK/xvfb.log")"
    DISPLAY=":$(head -n 1 "$WORK/display")" && export DISPLAY
    wait_until 20 xwininfo -root >/dev/null 2>&1 || die "display $DISPLAY does not answer"
}
run_dir() { # run_dir NAME [FILE...]: sets RUN to a fresh copy of the run directory less FILEs
    RUN=$WORK/$1
    mkdir "$RUN" && cp -r "$DATA_DIR/." "$RUN/" || die "cannot copy $DATA_DIR"
    (($# < 2)) || (cd "$RUN" && rm "${@:2}") || die "cannot remove ${*:2}"
}
# start_city SECONDS: runs in $RUN under a hard time limit, through the command in RUN_WITH
# (a limit, another user) where a test sets one
start_city() {
    (cd "$RUN" && exec timeout -s KILL "$1" "${RUN_WITH[@]}" "${EMULATOR[@]}" "$CITY_BIN" \
        >stdout 2>stderr) &
    CITY_PID=$! && PIDS+=("$CITY_PID")
}
wait_exit() { # wait_exit SECONDS: sets STATUS if the program ends in time
    STATUS=
    wait_until "$1" ended || return 1
    wait "$CITY_PID"
    STATUS=$?
    local pid alive=() # a reaped pid may be reused: cleanup must not kill it
    for pid in "${PIDS[@]}"; do [ "$pid" = "$CITY_PID" ] || alive+=("$pid"); done
    PIDS=("${alive[@]}")
}
ended() { ! kill -0 "$CITY_PID" 2>/dev/null; }
# mapped: sets WIN to the program's window once it is shown, and moves it into the screen's
# corner: with no window manager to place it, the window opens at (-1, -1) and a shot of it
# would lose its top row and left column.
mapped() {
    WIN=$(xdotool search --onlyvisible --name "^${TITLE/|/\\|}$" 2>/dev/null | head -n 1) &&
        [ "$WIN" ] && xdotool windowmove --sync "$WIN" 0 0
}
launch() { run_dir "$@" && open_window; } # launch NAME [FILE...]: run_dir, then open_window
open_window() { # the program started in $RUN, its first frame drawn
    start_city 200
    wait_until 60 mapped || die "no window \"$TITLE\" in $RUN$(report)"
    wait_until 60 sky_on_top || die "the window never showed sky in $RUN$(report)"
    point_at 0 0 # the first report inside the window only sets where the pointer starts
}
sky_on_top() { shot && ge "$(share "$UPPER" "$SKY")" 0.5; }
report() { printf '\n--- stdout:\n%s\n--- stderr:\n%s' "$(<"$RUN/stdout")" "$(<"$RUN/stderr")"; }

# The pointer's window position (x, y) turns the camera to yaw -x/200 and pitch -y/200 rad.
point_at() { xdotool mousemove --window "$WIN" "$1" "$2"; }
press() { xdotool key --clearmodifiers "$1"; }
quit() { # quit [SECONDS]: Escape ends the program within SECONDS (20) with status 0
    press Escape
    wait_exit "${1:-20}"
    check "Escape ends the program with status 0 (got ${STATUS:-no end})" [ "$STATUS" = 0 ]
}

# Window regions: the sky above the horizon, the ground and city below it.
UPPER=1280x250+0+0 LOWER=1280x280+0+440 WHOLE=1280x720+0+0
# Colour classes of r, g, b and m (the largest): every ground texel has r <= 147, b <= 83 and
# m >= 123; lit walls are redder, unlit and industrial walls darker than any texel.
SKY='r >= 190 && r <= 218 && g >= 228 && b >= 240'
GROUND='r <= 150 && b <= 90 && g >= r && m >= 115'
BUILDING='(r >= 165 && b <= 150) || m <= 110'
shot() { xwd -silent -id "$WIN" | convert xwd:- -depth 8 "ppm:${1:-$WORK/now.ppm}"; } 2>/dev/null
histogram() { convert "$WORK/now.ppm" -crop "$1" +repage -depth 8 -format %c histogram:info:; }
share() { # share REGION CLASS: share of the region's pixels of the colour class, last shot
    histogram "$1" | awk -F '[:(,)]' '{ r = $3; g = $4; b = $5; m = r > g ? r : g
        m = m > b ? m : b; all += $1; if ('"$2"') hits += $1 }
        END { printf "%.4f\n", all ? hits / all : 0 }'
}
dominant() { histogram "$1" | awk '{ n = $1 + 0; all += n; top = n > top ? n : top }
    END { print top / all }'; } # the share of the region's most frequent colour
changed() { # changed EARLIER: share of the last shot's pixels that differ noticeably
    convert "$1" "$WORK/now.ppm" -compose difference -composite -colorspace gray \
        -threshold 8% -format "%[fx:mean]" info:
}
# Two shots half a second apart are the same; the later is kept in $WORK/still.ppm.
held_still() { shot "$WORK/still.ppm" && sleep 0.5 && shot && le "$(changed "$WORK/still.ppm")" 0; }
# soon SECONDS DESCRIPTION ge|le LIMIT MEASURE...: photographs and measures the window until
# the comparison holds or time runs out, then records the outcome.
soon() {
    local deadline=$((SECONDS + $1)) M
    until M= && shot && M=$("${@:5}") && "$3" "$M" "$4"; do
        ((SECONDS < deadline)) && sleep 0.2 || break
    done
    check "$2 ($M)" "$3" "$M" "$4"
}
