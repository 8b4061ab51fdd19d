#!/usr/bin/env bash
# The Windows installer as a user meets it, under Wine on Xvfb: a silent install into a fresh
# prefix; the installed program, started as its Start-menu shortcut starts it, shows the city,
# moves with a key and ends with Escape; without a shader file it fails with its message and
# a message box, or, started from a terminal, with its message there; a silent uninstall
# leaves nothing of ours behind.
#   test_windows_installed.sh PROGRAM DATA_DIRECTORY INSTALLER
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
e2e_init "$1" "$2" && setup=$(realpath "$3") || die "usage: $0 PROGRAM DATA_DIRECTORY INSTALLER"
export WINEPREFIX=$WORK/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
installed="$WINEPREFIX/drive_c/Program Files/Varnock Hollenby"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Varnock Hollenby"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnock Hollenby'
ours() {
    find "$WINEPREFIX/drive_c" -iname '*varnock*'
    ! wine reg query "$uninstall_key" >/dev/null 2>&1 || echo "$uninstall_key"
}
gone() { [ -z "$(ours)" ]; }
says() { x86_64-w64-mingw32-strings -el "$1" | grep -q "$2"; } # says FILE PATTERN: UTF-16 text
registered() { wine reg query "$uninstall_key" | grep -q "DisplayVersion.*[0-9]"; }
wine "$setup" /S && wineserver -w || die "the silent install failed"
for file in varnock-hollenby.exe vertex_shader.glsl textures/terrain.bmp LICENSE.txt; do
    check "installs $file" test -f "$installed/$file"
done
check "the program carries its product name" says "$installed/varnock-hollenby.exe" '^Varnock Hollenby$'
check "adds an Add/Remove Programs entry" registered

# As the shortcut starts it, in the install folder, where it finds its data. (Wine 10's
# "start /wait" of a shortcut does not return the program's status.) Wine reports the pointer
# where it is when the window opens: out of the way, that report only sets where it starts.
check "the shortcut starts the program in the install folder" \
    says "$menu/Varnock Hollenby.lnk" 'C:\\Program Files\\Varnock Hollenby$'
EMULATOR=(wine) CITY_BIN=$installed/varnock-hollenby.exe RUN=$installed
xdotool mousemove 1279 1023 && open_window
check "the window is titled \"$TITLE\"" [ "$(xdotool getwindowname "$WIN")" = "$TITLE" ]
size=$(xwininfo -id "$WIN" | awk '/Width:/ { w = $2 } /Height:/ { print w "x" $2 }')
check "the window is 1280x720 (got $size)" [ "$size" = 1280x720 ]
soon 0 "the upper part is sky" ge 0.95 share "$UPPER" "$SKY"
soon 0 "the lower part shows the ground" ge 0.2 share "$LOWER" "$GROUND"
wait_until 30 held_still || die "the picture never held still"
xdotool keydown w && sleep 0.5 && xdotool keyup w
soon 20 "holding \"w\" moves the view" ge 0.1 changed "$WORK/still.ppm"
quit 60

mv "$RUN/vertex_shader.glsl" "$WORK/" && start_city 60
box() { BOX=$(xdotool search --onlyvisible --name "^${TITLE/|/\\|}$" | while read -r id; do
    xwininfo -id "$id" | grep -q 'Width: 1280' || echo "$id"; done | grep -m 1 .); } # not the city's
check "without vertex_shader.glsl: shows a message box" wait_until 60 box &&
    xdotool windowfocus --sync "$BOX" key Return
check "closing the box ends the program" wait_exit 20
check "without vertex_shader.glsl: status 1 (got ${STATUS:-no end})" test "$STATUS" = 1
check "without vertex_shader.glsl: says so" grep -q "error loading vertex_shader.glsl" "$RUN/stdout"
check "without vertex_shader.glsl: says it cannot run" grep -q "Cannot run" "$RUN/stderr"
# From cmd in a terminal, the same lines show there, and no box waits to be closed.
(cd "$RUN" && timeout 60 script -qec "wine cmd /c varnock-hollenby.exe" /dev/null) >"$WORK/tty"
check "from a terminal: status 1 with no box (got $?)" test $? = 1
sed -E 's/\x1b\[1C/ /g; s/\x1b\[[0-9;?]*[A-Za-z]//g' "$WORK/tty" >"$WORK/tty.txt"
check "from a terminal: says it cannot run there" grep -q "Cannot run without a working" "$WORK/tty.txt"
mv "$WORK/vertex_shader.glsl" "$RUN/" && rm "$RUN/stdout" "$RUN/stderr"

wine "$RUN/Uninstall.exe" /S && wineserver -w && wait_until 30 gone
check "the silent uninstall leaves nothing of ours$(ours | sed 's/^/: /')" gone
wineserver -k
finish
