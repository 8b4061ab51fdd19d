# Shared helpers for the end-to-end tests, sourced by every test_*.sh.
# Each test runs the program in a throw-away copy of the run directory, on a virtual X
# display of its own, drives it with xdotool and judges the window by its pixels.
# Usage from a test: source lib.sh; e2e_init "$@" (the program and the run directory).

E2E_TITLE="Varnock | Hollenby"
E2E_PIDS=()
E2E_DIRS=()
E2E_FAILURES=0

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    for pid in "${E2E_PIDS[@]}"; do
        wait "$pid" 2>/dev/null
    done
    if ((${#E2E_DIRS[@]})); then
        rm -rf "${E2E_DIRS[@]}"
    fi
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM HUP

e2e_init() {
    if [ $# -ne 2 ] || [ ! -x "$1" ] || [ ! -d "$2" ]; then
        echo "usage: $0 PROGRAM RUN_DIRECTORY" >&2
        exit 2
    fi
    CITY_BIN=$(realpath "$1")
    DATA_DIR=$(realpath "$2")
    WORK=$(mktemp -d)
    E2E_DIRS+=("$WORK")
}

pass() { echo "ok: $*"; }
fail() {
    echo "FAIL: $*" >&2
    E2E_FAILURES=$((E2E_FAILURES + 1))
}
# expect DESCRIPTION COMMAND...: records a pass or a failure without stopping the test.
expect() {
    local description=$1
    shift
    if "$@"; then pass "$description"; else fail "$description"; fi
}
finish() {
    if ((E2E_FAILURES)); then
        echo "$E2E_FAILURES check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
}
# Aborts the test: later checks make no sense without what just failed.
die() {
    fail "$*"
    finish
}

# Numeric comparisons of decimal fractions, usable as expect commands; no value fails both.
at_least() { [ -n "$1" ] && awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }
at_most() { [ -n "$1" ] && awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }'; }
equals() { [ "$1" = "$2" ]; }

# wait_until SECONDS COMMAND...: polls the command until it succeeds or time runs out.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}

# Starts an Xvfb that picks a free display number itself, and exports DISPLAY. Like the
# program, it has a hard time limit, should the test itself be killed. Without -noreset the
# server restarts when its last client leaves, and a client connecting just then fails.
start_display() {
    local numberFile="$WORK/display.$RANDOM"
    timeout 290 Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$numberFile" 2>"$WORK/xvfb.log" &
    E2E_PIDS+=($!)
    wait_until 20 test -s "$numberFile" || die "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$numberFile")"
    wait_until 20 xwininfo -root >/dev/null 2>&1 || die "display $DISPLAY does not answer"
}

# make_run_dir NAME: a fresh copy of the run directory; prints its path.
make_run_dir() {
    local dir="$WORK/$1"
    mkdir -p "$dir"
    cp -r "$DATA_DIR/." "$dir/"
    echo "$dir"
}

# start_city RUN_DIR [SECONDS]: runs the program there, its output captured beside it,
# under a hard time limit; sets CITY_PID.
start_city() {
    (cd "$1" && exec timeout -s KILL "${2:-100}" "$CITY_BIN" >"$1/stdout" 2>"$1/stderr") &
    CITY_PID=$!
    E2E_PIDS+=("$CITY_PID")
}

city_ended() { ! kill -0 "$CITY_PID" 2>/dev/null; }

# wait_exit SECONDS: waits for the program to end; sets CITY_STATUS (empty if it did not).
wait_exit() {
    CITY_STATUS=
    wait_until "$1" city_ended || return 1
    wait "$CITY_PID"
    CITY_STATUS=$?
    local pid alive=()
    for pid in "${E2E_PIDS[@]}"; do
        [ "$pid" = "$CITY_PID" ] || alive+=("$pid")
    done
    E2E_PIDS=("${alive[@]}")
}

window_mapped() {
    WIN=$(xdotool search --onlyvisible --name "^Varnock \| Hollenby$" 2>/dev/null | head -n 1)
    [ -n "$WIN" ]
}

# find_window: waits for the program's window to be mapped; sets WIN.
find_window() { wait_until 30 window_mapped; }

# shot FILE: the window's current content as a PPM image.
shot() { xwd -silent -id "$WIN" 2>/dev/null | convert xwd:- -depth 8 "ppm:$1" 2>/dev/null; }

# Regions of the 1280x720 window: the sky above the horizon, the ground and city below it.
UPPER=1280x250+0+0
LOWER=1280x280+0+440
WHOLE=1280x720+0+0

# fraction IMAGE REGION CLASS: share of the region's pixels that are of the colour class.
# Every ground texel has red <= 147, blue <= 83 and a largest channel >= 123, and the
# "ground" class takes its greens (its brown paths look too much like shaded walls); the
# sky is (204, 242, 255); lit residential and commercial walls are redder than any texel,
# and unlit walls and industrial buildings are darker than any texel.
fraction() {
    convert "$1" -crop "$2" +repage -depth 8 -format %c histogram:info: | awk -v class="$3" '
        function biggest(r, g, b) { return r > g ? (r > b ? r : b) : (g > b ? g : b) }
        function sky(r, g, b) { return r >= 190 && r <= 218 && g >= 228 && b >= 240 }
        function ground(r, g, b) { return r <= 150 && b <= 90 && g >= r && biggest(r, g, b) >= 115 }
        function commercial(r, g, b) { return r >= 200 && g >= 150 && b <= 130 && r - b >= 110 }
        function industrial(r, g, b) { return biggest(r, g, b) <= 72 }
        function building(r, g, b) { return (r >= 165 && b <= 150) || biggest(r, g, b) <= 110 }
        function member(r, g, b) {
            if (class == "sky") return sky(r, g, b)
            if (class == "ground") return ground(r, g, b)
            if (class == "commercial") return commercial(r, g, b)
            if (class == "industrial") return industrial(r, g, b)
            if (class == "building") return building(r, g, b)
            print "unknown colour class " class > "/dev/stderr"
            exit 2
        }
        {
            count = $1 + 0
            sub(/^[^(]*\(/, "")
            split($0, c, /[,)]/)
            total += count
            if (member(c[1] + 0, c[2] + 0, c[3] + 0)) hits += count
        }
        END { printf "%.4f\n", total ? hits / total : 0 }'
}

# dominant IMAGE REGION: the region's most frequent colour as "share r g b".
dominant() {
    convert "$1" -crop "$2" +repage -depth 8 -format %c histogram:info: |
        awk '{ n = $1 + 0; total += n; if (n > best) { best = n; line = $0 } }
             END { sub(/^[^(]*\(/, "", line); split(line, c, /[,)]/)
                   printf "%.4f %d %d %d\n", best / total, c[1], c[2], c[3] }'
}

# changed A B [REGION]: share of the pixels that differ noticeably between two images.
changed() {
    convert "$1" "$2" -crop "${3:-$WHOLE}" +repage -compose difference -composite \
        -colorspace gray -threshold 8% -format "%[fx:mean]" info: | awk '{ printf "%.4f\n", $1 }'
}

sky_on_top() { shot "$WORK/first.ppm" && at_least "$(fraction "$WORK/first.ppm" "$UPPER" sky)" 0.5; }

# expect_soon SECONDS DESCRIPTION COMPARE LIMIT MEASURE...: photographs the window into
# $WORK/now.ppm and measures it until COMPARE (at_least or at_most) holds against LIMIT or
# time runs out, then records the outcome; MEASURED keeps the last measure.
expect_soon() {
    local deadline=$((SECONDS + $1)) description=$2 compare=$3 limit=$4
    shift 4
    while :; do
        MEASURED=
        shot "$WORK/now.ppm" && MEASURED=$("$@") && "$compare" "$MEASURED" "$limit" && break
        ((SECONDS < deadline)) || break
        sleep 0.2
    done
    expect "$description ($MEASURED)" "$compare" "$MEASURED" "$limit"
}
# Measures of the latest photograph: share_now REGION CLASS, change_now EARLIER [REGION].
share_now() { fraction "$WORK/now.ppm" "$1" "$2"; }
change_now() { changed "$1" "$WORK/now.ppm" "${2:-$WHOLE}"; }

# wait_for_frame: waits for the first drawn frame (the window is black before it).
wait_for_frame() { wait_until 30 sky_on_top; }

# launch NAME [FILE...]: the program started in a run directory copy named NAME, less the
# files named, and its first frame drawn; sets RUN, CITY_PID and WIN.
launch() {
    RUN=$(make_run_dir "$1")
    shift
    local file
    for file in "$@"; do
        rm "$RUN/$file"
    done
    start_city "$RUN"
    find_window || die "no window titled \"$E2E_TITLE\" appeared in $RUN$(city_report)"
    wait_for_frame || die "the window never showed a frame with sky in $RUN$(city_report)"
}

# city_report: what the program printed, and whether it still runs, for a failure message.
city_report() {
    city_ended && echo "; the program ended" || echo "; the program still runs"
    echo "--- its standard output:"
    cat "$RUN/stdout"
    echo "--- its standard error:"
    cat "$RUN/stderr"
}

# Input. The pointer and the keys reach the window through the XTEST extension.
# The camera turns by the pointer's movement since its last tick, counted from (0, 0) at
# start, so the pointer's window position (x, y) sets yaw -x/200 and pitch -y/200 radians.
point_at() { xdotool mousemove --window "$WIN" "$1" "$2"; }
press() { xdotool key --clearmodifiers "$1"; }
hold() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

# settle: lets the program take in the last input and draw at least a frame or two.
settle() { sleep "${1:-1.5}"; }

# quit_with_escape: Escape must end the program with status 0 within a few seconds.
quit_with_escape() {
    press Escape
    wait_exit 10 || {
        fail "the program was still running 10 s after Escape"
        return 1
    }
    expect "Escape ends the program with status 0 (got $CITY_STATUS)" equals "$CITY_STATUS" 0
}
