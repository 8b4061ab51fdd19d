#!/usr/bin/env bash
# Without a working shader program the program says why and soon ends with a failure
# status; without the texture it draws plain ground, without the model only the ground.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
has() { grep -qF -- "$2" "$RUN/$1"; }
fails_to_start() { # fails_to_start CASE MESSAGE, for the program in $RUN
    start_city 30
    check "$1: ends by itself" wait_exit 40 || return
    check "$1: prints \"$2\"" has stdout "$2"
    check "$1: fails, not by a signal (got $STATUS)" test "$STATUS" -ge 1 -a "$STATUS" -lt 128
}
for kind in vertex fragment; do
    file=${kind}_shader.glsl
    run_dir "no-$kind" "$file"
    fails_to_start "without $file" "error loading $file"
    check "without $file: says on standard error that it cannot run" test -s "$RUN/stderr"
    run_dir "uncompilable-$kind"
    printf '#version 120\nvoid main() { gl_Position = vec4(undeclared); }\n' >"$RUN/$file"
    fails_to_start "an uncompilable $file" "Error compiling $kind shader $file"
done
run_dir unlinkable # both compile, but the fragment shader reads a varying never written
printf '#version 120\nvarying vec3 unset;\nvoid main() { gl_FragColor = vec4(unset, 1.0); }\n' \
    >"$RUN/fragment_shader.glsl"
fails_to_start "unlinkable shaders" \
    "Error linking shaders vertex_shader.glsl and fragment_shader.glsl"

launch no-texture textures/terrain.bmp
soon 0 "without the texture the ground is one plain colour" ge 0.4 dominant "$LOWER"
soon 0 "without the texture the ground is still drawn" le 0.02 share "$LOWER" "$SKY"
quit
check "without the texture: names the file" has stdout "File Not Found : textures/terrain.bmp"
check "without the texture: reports the failed texture" has stdout "Error loading texture image"
launch no-model models/cubeTex.obj
soon 0 "without the model no building is drawn" le 0.002 share "$LOWER" "$BUILDING"
soon 0 "without the model the ground is still drawn" ge 0.75 share "$LOWER" "$GROUND"
quit
check "without the model: the reader names the file on standard error" has stderr models/cubeTex.obj
finish
