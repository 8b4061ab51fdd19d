#!/bin/sh
# Starts the city from its installed data folder, since the program opens its shaders, model
# and texture by relative path. Both are found from this script's own place, so an installed
# tree still runs after it is moved or unpacked elsewhere. --help and --version are answered
# here, without a window; every other argument goes on to the program and GLUT.
here=$(dirname "$(readlink -f "$0")")
data=$(cd "$here/@DATA_FROM_BIN@" && pwd) || exit 1
for argument in "$@"; do
    case $argument in
    --version)
        echo "varnock-hollenby @VERSION@"
        exit 0
        ;;
    --help)
        cat <<USAGE
Usage: varnock-hollenby [--help | --version | GLUT-OPTION...]
Fly over a city that grows by the Game of Life rule B3/S23, in a window on an X
display with OpenGL 2.0. Other arguments go to GLUT, such as -display NAME.

Keys: pointer motion turns the view; w and s move forward and back, a and d left
and right; c toggles back-face culling, l wireframe; Escape quits.

Data folder: $data
Manual page: man varnock-hollenby
USAGE
        exit 0
        ;;
    esac
done
cd "$data" || exit 1
exec "$here/@PROGRAM_FROM_BIN@/city" "$@"
