#!/usr/bin/env bash
# Run directories with a file missing or a broken shader. Without a working shader program
# the program reports why and ends with a failure status, by itself and soon; without the
# ground texture it draws plain ground, without the building model it draws no buildings,
# and both times it runs on until Escape.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
start_display

# has FILE TEXT: the program's captured output holds the text.
has() { grep -qF -- "$2" "$1"; }

# expect_failed_start CASE MESSAGE: the program in $RUN must print MESSAGE on standard
# output and end by itself with a failure status, not by a signal.
expect_failed_start() {
    start_city "$RUN" 30
    if ! wait_exit 40; then
        fail "$1: the program did not end by itself"
        return
    fi
    expect "$1: prints \"$2\"" has "$RUN/stdout" "$2"
    expect "$1: ends with a failure status, not by a signal (got $CITY_STATUS)" \
        eval '((CITY_STATUS >= 1 && CITY_STATUS < 128))'
}

for shader in vertex_shader.glsl fragment_shader.glsl; do
    RUN=$(make_run_dir "no-$shader")
    rm "$RUN/$shader"
    expect_failed_start "without $shader" "error loading $shader"
    expect "without $shader: says on standard error that it cannot run" test -s "$RUN/stderr"
done

for kind in vertex fragment; do
    RUN=$(make_run_dir "uncompilable-$kind")
    printf '#version 120\nvoid main() { gl_Position = vec4(notDeclaredAnywhere); }\n' \
        >"$RUN/${kind}_shader.glsl"
    expect_failed_start "a $kind shader that does not compile" \
        "Error compiling $kind shader ${kind}_shader.glsl"
done

# Both compile, but the fragment shader reads a varying that the vertex shader never writes.
RUN=$(make_run_dir unlinkable)
cat >"$RUN/fragment_shader.glsl" <<'GLSL'
#version 120
varying vec3 neverWritten;
void main() { gl_FragColor = vec4(neverWritten, 1.0); }
GLSL
expect_failed_start "shaders that do not link" \
    "Error linking shaders vertex_shader.glsl and fragment_shader.glsl"

launch no-texture textures/terrain.bmp
shot "$WORK/plain.ppm"
read -r share r g b < <(dominant "$WORK/plain.ppm" "$LOWER")
expect "without the texture the ground is drawn in one plain colour ($share of the lower part)" \
    at_least "$share" 0.4
expect "without the texture the plain ground is not sky coloured ($r,$g,$b)" \
    eval '! ((r >= 190 && g >= 228 && b >= 240))'
quit_with_escape
expect "without the texture: reports the missing file" has "$RUN/stdout" \
    "File Not Found : textures/terrain.bmp"
expect "without the texture: reports the failed texture" has "$RUN/stdout" \
    "Error loading texture image"

launch no-model models/cubeTex.obj
shot "$WORK/bare.ppm"
buildings=$(fraction "$WORK/bare.ppm" "$LOWER" building)
expect "without the model no building is drawn ($buildings)" at_most "$buildings" 0.002
ground=$(fraction "$WORK/bare.ppm" "$LOWER" ground)
expect "without the model the ground is still drawn ($ground)" at_least "$ground" 0.75
quit_with_escape
expect "without the model: the reader names the file on standard error" has "$RUN/stderr" \
    "models/cubeTex.obj"
finish
