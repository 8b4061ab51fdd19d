#!/usr/bin/env bash
# Without working shaders or GL 2.0 the program says why and soon ends with a failure status;
# without a usable texture it draws plain ground, without the model only the ground.
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
e2e_init "$@"
has() { grep -qF -- "$2" "$RUN/$1"; }
fails_to_start() { # fails_to_start CASE [MESSAGE], for the program in $RUN
    start_city 60
    check "$1: ends by itself" wait_exit 60 || return
    [ -z "${2:-}" ] || check "$1: prints \"$2\"" has stdout "$2"
    check "$1: says on standard error that it cannot run" has stderr "Cannot run"
    check "$1: fails, not by a signal (got $STATUS)" test "$STATUS" -ge 1 -a "$STATUS" -lt 128
}
for kind in vertex fragment; do
    file=${kind}_shader.glsl
    run_dir "no-$kind" "$file"
    fails_to_start "without $file" "error loading $file"
    run_dir "empty-$kind" && : >"$RUN/$file"
    fails_to_start "an empty $file"
    run_dir "uncompilable-$kind"
    printf '#version 120\nvoid main() { gl_Position = vec4(undeclared); }\n' >"$RUN/$file"
    fails_to_start "an uncompilable $file" "Error compiling $kind shader $file"
    run_dir "huge-$kind" && yes "// a comment" | head -c 2M >"$RUN/$file"
    fails_to_start "a 2 MB $file" "error loading $file: 2097152 bytes, over the limit"
done
run_dir unlinkable # both compile, but the fragment shader reads a varying never written
printf '#version 120\nvarying vec3 unset;\nvoid main() { gl_FragColor = vec4(unset, 1.0); }\n' \
    >"$RUN/fragment_shader.glsl"
fails_to_start "unlinkable shaders" \
    "Error linking shaders vertex_shader.glsl and fragment_shader.glsl"
# Without a shader file, so that building one first would show.
run_dir gl-1.4 vertex_shader.glsl && MESA_GL_VERSION_OVERRIDE=1.4 start_city 60
check "GL 1.4: ends by itself" wait_exit 60 && check "GL 1.4: status 1 ($STATUS)" test "$STATUS" = 1
checks_version_first() {
    has stdout "opengl version, which is 1 4" && ! has stdout "error loading" &&
        ! has stderr "Cannot run"
}
check "GL 1.4: names the version it found, before any shader is built" checks_version_first

# Odd-width rows cannot upload as they are stored; a named pipe must not be waited on.
for texture in missing png odd-width fifo; do
    run_dir "$texture-texture" textures/terrain.bmp
    case $texture in
        fifo) mkfifo "$RUN/textures/terrain.bmp" ;;
        png) convert -size 64x64 plasma: "png:$RUN/textures/terrain.bmp" ;;
        odd-width) convert -size 63x63 plasma: -type TrueColor "bmp3:$RUN/textures/terrain.bmp" ;;
    esac
    open_window
    soon 0 "texture $texture: the ground is one plain colour" ge 0.4 dominant "$LOWER"
    soon 0 "texture $texture: the ground is still drawn" le 0.02 share "$LOWER" "$SKY"
    # Said while it runs: standard output, here a file, goes out line by line.
    check "texture $texture: reported" has stdout "Error loading texture image"
    quit
    [ "$texture" != fifo ] || check "texture fifo: named" has stdout "terrain.bmp: a named pipe"
done
launch no-model models/cubeTex.obj
soon 0 "without the model no building is drawn" le 0.002 share "$LOWER" "$BUILDING"
soon 0 "without the model the ground is still drawn" ge 0.75 share "$LOWER" "$GROUND"
quit
check "without the model: the reader names the file on standard error" has stderr models/cubeTex.obj
finish
