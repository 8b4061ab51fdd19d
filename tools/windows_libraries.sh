#!/usr/bin/env bash
# Builds, for Windows x64, the libraries that Debian ships no mingw build of, from Debian's
# own source packages of the running release, fetched and checked by apt through a
# deb-src line of its own that mirrors this system's Debian archive (the system's apt
# configuration is left as it is): freeglut and tinyobjloader, static. GoogleTest comes
# from the sources that the googletest package installs, and glad generates the GL 2.0
# loader from the GL registry it ships. All of it goes into build-windows/libraries,
# where the cross-windows preset's toolchain looks; a second run builds nothing again.
set -euo pipefail
cd "$(dirname "$0")/.."
toolchain=$PWD/cmake/toolchains/x86_64-w64-mingw32.cmake
prefix=$PWD/build-windows/libraries
work=$PWD/build-windows/library-sources
[ -e "$prefix/done" ] && exit 0
rm -rf "$prefix" "$work" && mkdir -p "$prefix" "$work/apt/lists/partial" "$work/apt/parts"

# shellcheck source=tools/lib/debian.sh
source tools/lib/debian.sh
mirror=$(debian_mirror)
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:?}")
# Debian 12's sources as well: an archive mirror may lack a newer release's freeglut source
# package while it has Debian 12's, of the same upstream release, 3.4.0.
for suite in "$codename" bookworm; do
    echo "deb-src ${mirror:-http://deb.debian.org/debian} $suite main"
done | sort -u >"$work/apt/parts/src.list"
apt_options=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$work/apt/parts"
    -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache"
    -o APT::Sandbox::User=root)
apt-get "${apt_options[@]}" update -qq
source_of() { (cd "$work" && apt-get "${apt_options[@]}" source -qq "$@" >/dev/null); }
source_of "tinyobjloader/$codename"
source_of "freeglut/$codename" || {
    echo "freeglut's source package of $codename cannot be had here: building Debian 12's" >&2
    rm -rf "$work"/freeglut* && source_of freeglut/bookworm
}

# Their own warnings are theirs to fix: each build's output goes to a log, shown if it fails.
build() { # build SOURCE_DIR CMAKE_OPTIONS...
    local dir
    dir=$work/build-$(basename "$1")
    echo "building $(basename "$1") for Windows"
    if ! { cmake -S "$1" -B "$dir" -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
        "${@:2}" && cmake --build "$dir" -j "${JOBS:-2}" && cmake --install "$dir"; } \
        >"$dir.log" 2>&1; then
        tail -n 30 "$dir.log" >&2 && exit 1
    fi
}
build "$work"/freeglut-*/ -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_DEMOS=OFF
build "$work"/tinyobjloader-*/
build /usr/src/googletest -DBUILD_GMOCK=OFF

# glad's C loader, from the GL registry that Debian's package carries, not downloaded.
glad --api gl:compatibility=2.0 --reproducible --quiet --out-path "$work/glad" c --loader
x86_64-w64-mingw32-gcc-posix -O2 -I"$work/glad/include" -c "$work/glad/src/gl.c" \
    -o "$work/glad/gl.o"
x86_64-w64-mingw32-ar rcD "$prefix/lib/libglad.a" "$work/glad/gl.o"
cp -r "$work/glad/include/." "$prefix/include/"

# GLM is headers only: the host's copy serves, found through the libraries' folder.
ln -s /usr/include/glm "$prefix/include/glm"
mkdir -p "$prefix/share/cmake" && cp -r /usr/share/cmake/glm "$prefix/share/cmake/"
touch "$prefix/done"
