#!/usr/bin/env bash
# Each row of docs/bad-input.md that a user can meet, through the program: started in a run
# folder with the fault, it says the row's lines on the row's streams, and either ends by
# itself with status 1 or keeps running until Escape, drawing plain ground, no buildings or
# the whole city.
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
e2e_init "$@"
V=vertex_shader.glsl F=fragment_shader.glsl T=textures/terrain.bmp M=models/cubeTex.obj
CANNOT_RUN="Cannot run without a working shader program; exiting."
NO_TRIANGLE="$M: no triangle to draw in its first shape"
# Root passes any permission by its capabilities; the program needs none of them.
((EUID)) && AS_USER=() || AS_USER=(setpriv --inh-caps=-all --bounding-set=-all --)
NO_LEAK_CHECK=${ASAN_OPTIONS:-}:detect_leaks=0
PLAIN='r == 96 && g == 128 && b == 72' # the ground without a usable texture
# For the user the process limit is tried on.
chmod a+rx "$WORK" && cp "$CITY_BIN" "$WORK/city"

limit() { [[ $1 == *.glsl ]] && echo 1048576 || echo 67108864; }
reason() { # reason FILE FAULT: what a refusal of FILE for FAULT says
    case $2 in
        missing) echo "No such file or directory" ;;
        unreadable) echo "Permission denied" ;;
        over-limit) echo "$(($(limit "$1") + 1)) bytes, over the limit of $(limit "$1")" ;;
        *) echo "a ${2/-/ }, not a regular file" ;;
    esac
}
UNDECLARED='void main() { gl_Position = vec4(undeclared); }'
NEVER_WRITTEN='varying vec3 unset;\nvoid main() { gl_FragColor = vec4(unset, 1.0); }'
spoil() { # spoil FILE FAULT, in $RUN; sets RUN_WITH to what the program runs under
    local file=$RUN/$1
    RUN_WITH=("${AS_USER[@]}")
    case $2 in
        missing | gl-1.4) rm "$file" ;;
        unreadable) chmod 0 "$file" ;;
        over-limit) truncate -s "$(($(limit "$1") + 1))" "$file" ;;
        directory) rm "$file" && mkdir "$file" ;;
        named-pipe) rm "$file" && mkfifo "$file" ;;
        character-device) ln -sf /dev/null "$file" ;;
        empty) : >"$file" ;;
        uncompilable) printf '#version 120\n%s\n' "$UNDECLARED" >"$file" ;;
        # Both compile, but the fragment shader reads a varying never written.
        unlinkable) printf "#version 120\n$NEVER_WRITTEN\n" >"$file" ;;
        png) convert -size 64x64 plasma: "png:$file" ;;
        odd-width) convert -size 63x63 plasma: -type TrueColor "bmp3:$file" ;;
        vertex-0) echo "f 0 1 2" >>"$file" ;;
        vertex-past-the-last) echo "f 1 2 99" >>"$file" ;;
        infinite-coordinate) printf 'v 1e39 0 0\nf 1 2 9\n' >>"$file" ;;
        coincident-points) sed -i 's/^v .*/v 1 2 3/' "$file" ;;
        8-bit) convert -size 64x64 plasma: -type Palette "bmp3:$file" ;;
        zero-wide) poke "$file" 18 '\0' ;;
        top-down) poke "$file" 22 '\x80\xff\xff\xff' ;; # height -128
        absurdly-wide) poke "$file" 18 '\xff\xff\xff\x7f' ;;
        pixels-in-the-header) poke "$file" 10 '\x35' ;;
        pixels-past-the-end) poke "$file" 10 '\0\0\1' ;;
        cut-short) truncate -s -1 "$file" ;;
        at-the-limit) { cat "$file" && yes ''; } | head -c "$(limit "$1")" >"$file.full" &&
            mv "$file.full" "$file" ;;
        long-header) convert -size 128x128 plasma: -type TrueColor "bmp:$file" ;;
        # A fragment shader that leaves out the specular term: ks and s are never used.
        without-ks) sed -i 's/ + ks \* specular//' "$file" ;;
    esac
    case $2 in
        gl-1.4) RUN_WITH=(env MESA_GL_VERSION_OVERRIDE=1.4 "${RUN_WITH[@]}") ;;
        # Three copies of over 2 GB each to read; Mesa's software renderer needs 1.2 GB, on
        # one thread of its own.
        out-of-memory)
            yes "f 1 1 1" | head -c 60M >"$file"
            RUN_WITH=(prlimit --as=1600000000 env LP_NUM_THREADS=1 "${RUN_WITH[@]}") ;;
        # Root is never held to the process limit: a user with no other process is, from a
        # copy of the program that any user reaches. Mesa starts no thread of its own, and the
        # leak check at exit none either.
        process-limit)
            RUN_WITH=(prlimit --nproc=1 env LP_NUM_THREADS=0 "ASAN_OPTIONS=$NO_LEAK_CHECK")
            ((EUID)) && RUN_WITH=(unshare --user --map-root-user "${RUN_WITH[@]}") ||
                RUN_WITH+=(setpriv --reuid=4000000 --regid=4000000 --clear-groups) ;;
    esac
}
poke() { printf "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; } # FILE AT BYTES
says() { # says STREAM LINE: a whole line of STREAM matches the glob LINE; "-": STREAM is empty
    [ "$2" != - ] || { test ! -s "$RUN/$1" && return; }
    local line
    # shellcheck disable=SC2053 # a glob, on purpose
    while IFS= read -r line; do [[ $line == $2 ]] && return; done <"$RUN/$1"
    return 1
}
says_all() { # says_all CASE STREAM LINE...
    while (($# > 2)); do
        if [ "$3" = - ]; then check "$1: nothing on $2" says "$2" -; else
            check "$1: \"$3\" on $2" says "$2" "$3"; fi
        set -- "$1" "${@:4}"
    done
}
# try FILE FAULT OUTCOME STREAM LINE...: OUTCOME ends (status 1), plain-ground, no-buildings
# or draws (textured ground and buildings)
try() {
    local name="${1/#-/at the} $2"
    run_dir "${name//[\/ ]/-}" && spoil "$1" "$2"
    if [ "$3" = ends ]; then
        start_city 60
        check "$name: ends by itself" wait_exit 60 || return
        check "$name: with status 1 ($STATUS)" [ "$STATUS" = 1 ]
        says_all "$name" "${@:4}"
        return
    fi
    open_window
    if [ "$3" = plain-ground ]; then
        soon 0 "$name: the ground is plain green, (96, 128, 72)" ge 0.4 share "$LOWER" "$PLAIN"
        soon 0 "$name: the ground is still drawn" le 0.02 share "$LOWER" "$SKY"
    elif [ "$3" = draws ]; then
        soon 0 "$name: the ground is textured" le 0.1 dominant "$LOWER"
        soon 0 "$name: buildings are drawn" ge 0.05 share "$LOWER" "$BUILDING"
    else
        soon 0 "$name: no building is drawn" le 0.002 share "$LOWER" "$BUILDING"
        soon 0 "$name: the ground is still drawn" ge 0.75 share "$LOWER" "$GROUND"
    fi
    # Said while it runs: standard output, here a file, goes out line by line.
    says_all "$name" "${@:4}"
    quit
}

for fault in missing unreadable over-limit directory named-pipe character-device; do
    for shader in "$V" "$F"; do
        try "$shader" "$fault" ends stdout "error loading $shader: $(reason "$shader" "$fault")" \
            stderr "$CANNOT_RUN"
    done
    [ "$fault" = missing ] && said="File Not Found : $T ($(reason "$T" "$fault"))" ||
        said="Cannot read $T: $(reason "$T" "$fault")"
    try "$T" "$fault" plain-ground stdout "$said" stdout "Error loading texture image"
    try "$M" "$fault" no-buildings stderr "$M: not read, $(reason "$M" "$fault")" \
        stderr "$NO_TRIANGLE"
done
for shader in "$V" "$F"; do
    try "$shader" at-the-limit draws
    try "$shader" empty ends stdout - stderr "$CANNOT_RUN"
    try "$shader" uncompilable ends stdout "Error compiling ${shader%%_*} shader $shader" \
        stderr "$CANNOT_RUN"
done
try "$F" unlinkable ends stdout "Error linking shaders $V and $F" stderr "$CANNOT_RUN"
# Without a shader file, so that building one first would show.
try "$V" gl-1.4 ends stderr - \
    stdout "This shader example will not work due to opengl version, which is 1 4"
# Odd-width rows cannot upload as they are stored.
try "$T" odd-width plain-ground stdout "Rows of $T are not a multiple of 4 bytes long" \
    stdout "Error loading texture image"
try "$F" without-ks draws stderr "WARN: ks cannot be bound *" stderr "WARN: s cannot be bound *"
try "$T" png plain-ground stdout "Planes from $T is not 1: *" stdout "Error loading texture image"
try "$T" empty plain-ground stdout "Planes from $T is not 1: *" stdout "Error loading texture image"
try "$T" 8-bit plain-ground stdout "Bpp from $T is not 24: 8" stdout "Error loading texture image"
unusable="Image size of $T is not usable:"
try "$T" zero-wide plain-ground stdout "$unusable 0 by 128"
try "$T" top-down plain-ground stdout "$unusable 128 by -128"
try "$T" absurdly-wide plain-ground stdout "$unusable 2147483647 by 128"
try "$T" pixels-in-the-header plain-ground \
    stdout "Pixel data of $T does not start past its headers and inside the file: 53"
try "$T" pixels-past-the-end plain-ground \
    stdout "Pixel data of $T does not start past its headers and inside the file: 65536"
try "$T" cut-short plain-ground stdout "Error reading image data from $T."
try "$T" long-header draws stdout -
try "$M" empty no-buildings stderr "$NO_TRIANGLE"
try "$M" vertex-past-the-last draws stderr -
try "$M" infinite-coordinate draws stderr -
try "$M" coincident-points no-buildings stderr -
try "$M" vertex-0 no-buildings stderr "Failed*parse \`f' line*" stderr "$NO_TRIANGLE"
# Sanitizers reserve terabytes of address space for themselves.
if grep -qa __asan_init "$CITY_BIN"; then
    echo "skipped: a model that needs more memory than it may have, under AddressSanitizer"
else
    try "$M" out-of-memory no-buildings stderr "$M: not enough memory to read it"
fi
CITY_BIN=$WORK/city try - process-limit ends \
    stderr "Cannot start the generation worker: Resource temporarily unavailable; exiting."
finish
