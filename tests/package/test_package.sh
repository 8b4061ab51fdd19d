#!/usr/bin/env bash
# What a user installs: the build installed into a temporary prefix, and the Debian package,
# held to lintian and desktop-file-validate and run from a copy unpacked without installing
# it. Each launcher, started from /, opens the titled window on the city; Escape ends it.
source "$(dirname "$0")/../e2e/lib.sh"
[ $# -eq 1 ] && [ -f "$1/CPackConfig.cmake" ] || die "usage: $0 BUILD_DIRECTORY"
BUILD=$(realpath "$1")
e2e_init "$BUILD/city" "$(dirname "$0")/../../data"
opens_from_root() { # opens_from_root LAUNCHER NAME
    RUN=$WORK/$2 && mkdir "$RUN"
    (cd / && exec timeout -s KILL 100 "$1" >"$RUN/stdout" 2>"$RUN/stderr") &
    CITY_PID=$! && PIDS+=("$CITY_PID")
    wait_until 30 mapped && wait_until 30 sky_on_top || die "$2: no window on the city$(report)"
    quit
    check "$2: the program found all its data files" test ! -s "$RUN/stderr"
}
cmake --install "$BUILD" --prefix "$WORK/prefix" >/dev/null || die "cmake --install failed"
opens_from_root "$WORK/prefix/bin/varnock-hollenby" installed
# With no display, unset or not answering, one line on standard error names the demo.
for display in "-u DISPLAY" "DISPLAY=:7919"; do
    status=$(cd / && env $display "$WORK/prefix/bin/varnock-hollenby" >"$WORK/out" 2>"$WORK/err"
        echo $?)
    check "env $display: the program's failure status, kept by the launcher (got $status)" \
        [ "$status" = 1 ]
    check "env $display: one line on standard error only, naming \"make demo\"" \
        [ ! -s "$WORK/out" -a "$(grep -c '"make demo"' "$WORK/err")" = 1 -a "$(wc -l <"$WORK/err")" = 1 ]
done
status=$(cd / && "$WORK/prefix/bin/varnock-hollenby" -display :7919 2>"$WORK/err"; echo $?)
check "the launcher passes its arguments on" grep -q '":7919"' "$WORK/err"

(cd "$BUILD" && cpack -G DEB -B "$WORK/deb" >"$WORK/cpack.log" 2>&1) || die "$(<"$WORK/cpack.log")"
deb=$(echo "$WORK"/deb/varnock-hollenby_*.deb)
dpkg-deb -x "$deb" "$WORK/x" || die "cannot unpack $deb"
version=$(zcat "$WORK/x/usr/share/doc/varnock-hollenby/changelog.gz" | sed -n '1s/.*(\(.*\)).*/\1/p')
info=$(dpkg-deb --info "$deb")
field() { sed -n "s/^ $1: //p" <<<"$info"; }
check "the package is named varnock-hollenby" [ "$(field Package)" = varnock-hollenby ]
check "its version is the changelog's ($version)" [ "$(field Version)" = "$version" ]
for library in libc6 libstdc++6 libglut3.12 libglu1 libopengl0 libglx0 libx11-6; do
    check "Depends names $library" grep -q "\b$library\b" <<<"$(field Depends)"
done
contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }')
for path in bin/varnock-hollenby lib/varnock-hollenby/city share/varnock-hollenby/models/cubeTex.obj \
    share/varnock-hollenby/textures/terrain.bmp share/varnock-hollenby/vertex_shader.glsl \
    share/applications/varnock-hollenby.desktop share/man/man1/varnock-hollenby.1.gz \
    share/icons/hicolor/256x256/apps/varnock-hollenby.png share/doc/varnock-hollenby/copyright; do
    check "the package holds /usr/$path" grep -qx "./usr/$path" <<<"$contents"
done
check "the packaged program keeps its assertions" \
    grep -q __assert_fail <(nm -D "$WORK/x/usr/lib/varnock-hollenby/city")
lintian "$deb" 2>/dev/null | tee "$WORK/lintian"
check "lintian reports no error" test -z "$(grep '^E:' "$WORK/lintian")"
check "desktop-file-validate finds nothing to report" \
    [ -z "$(desktop-file-validate "$WORK/x/usr/share/applications/varnock-hollenby.desktop")" ]
opens_from_root "$WORK/x/usr/bin/varnock-hollenby" unpacked
finish
