#!/usr/bin/env bash
# What a user installs: the build installed into a temporary prefix, and the Debian package,
# held to lintian, hardening-check, desktop-file-validate and appstreamcli, built again in
# another folder to the same bytes, and run from a copy unpacked without installing it. Each
# launcher, started from /, opens the titled window on the city; Escape ends it.
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
[ $# -eq 1 ] && [ -f "$1/CPackConfig.cmake" ] || die "usage: $0 BUILD_DIRECTORY"
BUILD=$(realpath "$1") SRC=$(realpath "$(dirname "$0")/../..")
e2e_init "$BUILD/city" "$SRC/data"
version=$(sed -n '1s/.*(\(.*\)).*/\1/p' "$SRC/packaging/changelog")
opens_from_root() { # opens_from_root LAUNCHER NAME
    RUN=$WORK/$2 && mkdir "$RUN"
    (cd / && exec timeout -s KILL 100 "$1" >"$RUN/stdout" 2>"$RUN/stderr") &
    CITY_PID=$! && PIDS+=("$CITY_PID")
    wait_until 30 mapped && wait_until 30 sky_on_top || die "$2: no window on the city$(report)"
    quit
    check "$2: the program found all its data files" test ! -s "$RUN/stderr"
}
cmake --install "$BUILD" --prefix "$WORK/prefix" >/dev/null || die "cmake --install failed"
launcher=$WORK/prefix/bin/varnock-hollenby
opens_from_root "$launcher" installed
# With no display, unset or not answering, one line on standard error says what works there.
no_display() { # no_display FOLDER PROGRAM ADVICE
    for display in "-u DISPLAY" "DISPLAY=:7919"; do
        read -ra env_args <<<"$display"
        status=$(cd "$1" && env "${env_args[@]}" "$2" >"$WORK/out" 2>"$WORK/err"; echo $?)
        lines=$(wc -l <"$WORK/err") naming=$(grep -cF -- "$3" "$WORK/err")
        check "env $display $2: status 1, one line on stderr, naming $3 ($status $lines $naming)" \
            [ "$status $lines $naming" = "1 1 1" -a ! -s "$WORK/out" ]
    done
}
no_display / "$launcher" xvfb-run
no_display "$SRC/data" "$BUILD/city" '"make demo"'
check "--version, without a display, names the changelog's version" \
    [ "$(env -u DISPLAY "$launcher" --version)" = "varnock-hollenby $version" ]
helps() {
    env -u DISPLAY "$launcher" --help >"$WORK/help" && grep -q "man varnock-hollenby" "$WORK/help" &&
        grep -qx "Data folder: $WORK/prefix/share/varnock-hollenby" "$WORK/help"
}
passes_on() { ! (cd / && "$launcher" -display :7919 2>"$WORK/err") && grep -q '":7919"' "$WORK/err"; }
lacks() { ! grep -q "$@"; } # lacks GREP-ARGUMENT...: no line matches
check "--help, without a display, names the data folder and the manual page" helps
check "the launcher passes its arguments on and keeps the status" passes_on

(cd "$BUILD" && cpack -G DEB -B "$WORK/deb" >"$WORK/cpack.log" 2>&1) || die "$(<"$WORK/cpack.log")"
deb=$(echo "$WORK"/deb/varnock-hollenby_*.deb)
dpkg-deb -x "$deb" "$WORK/x" || die "cannot unpack $deb"
info=$(dpkg-deb --info "$deb")
field() { sed -n "s/^ $1: //p" <<<"$info"; }
check "its version is the changelog's ($version)" [ "$(field Version)" = "$version" ]
for library in libc6 libstdc++6 libglut3.12 libglu1 libopengl0 libglx0 libx11-6; do
    check "Depends names $library" grep -q "\b$library\b" <<<"$(field Depends)"; done
id=example.varnock_hollenby.city
contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }')
# The program, its data, desktop file and metainfo show below, run and validated from the copy.
for path in share/man/man1/varnock-hollenby.1.gz share/doc/varnock-hollenby/copyright \
    share/icons/hicolor/256x256/apps/varnock-hollenby.png; do
    check "the package holds /usr/$path" grep -qx "./usr/$path" <<<"$contents"
done
program=$WORK/x/usr/lib/varnock-hollenby/city
check "the packaged program keeps its assertions" grep -q __assert_fail <(nm -D "$program")
check "no build path in the program" lacks -F -e "$SRC" -e "$BUILD" "$program"
# x86's control-flow marker needs it in the C start files too; arm64's is asked of all by Debian 13.
skip=()
readelf -n "$(c++ -print-file-name=crti.o)" | grep -q "IBT, SHSTK" || skip+=(--nocfprotection)
if [ "$(dpkg --print-architecture)" != arm64 ] &&
    hardening-check --help | grep -q -- --nobranchprotection; then
    skip+=(--nobranchprotection)
fi
check "hardening-check passes" hardening-check "${skip[@]}" "$program"
lintian -I "$deb" 2>/dev/null | tee "$WORK/lintian"
check "lintian finds no error and no hardening tag" lacks -E "^E:|hardening" "$WORK/lintian"
check "desktop-file-validate finds nothing to report" \
    [ -z "$(desktop-file-validate "$WORK/x/usr/share/applications/$id.desktop")" ]
metainfo=$WORK/x/usr/share/metainfo/$id.metainfo.xml
appstreamcli validate --no-net --pedantic "$metainfo" | tee "$WORK/appstream"
check "appstreamcli finds no error and no warning" lacks "^[EW]:" "$WORK/appstream"
for shot in city city-below; do
    said=$(sed -n "s|.*width=\"\([0-9]*\)\" height=\"\([0-9]*\)\">.*/$shot.png<.*|\1x\2|p" "$metainfo")
    check "the metainfo gives docs/$shot.png's size" [ "$said" = "$(identify -format %wx%h "$SRC/docs/$shot.png")" ]
done
releases() { sed -n 's/.*<release version="\([^"]*\)" date="\([^"]*\)".*/\1 \2/p' "$metainfo"; }
entries() { sed -n 's/^varnock-hollenby (\(.*\)).*/\1/p; s/^ -- .*>  //p' "$SRC/packaging/changelog" |
    while read -r v && read -r d; do echo "$v $(date -u -d "$d" +%F)"; done; }
check "a <release> for each changelog entry, its version and day" [ "$(releases)" = "$(entries)" ]
opens_from_root "$WORK/x/usr/bin/varnock-hollenby" unpacked

(cmake -S "$SRC" -B "$WORK/again" -DCITY_HARDENED=ON -DBUILD_TESTING=OFF &&
    cmake --build "$WORK/again" -j2 && cd "$WORK/again" && cpack -G DEB -B "$WORK/deb2") \
    >"$WORK/again.log" 2>&1 || die "the second build failed: $(tail "$WORK/again.log")"
check "built again in another folder, later, the package has the same bytes" \
    cmp "$deb" "$WORK"/deb2/*.deb
finish
