#!/usr/bin/env bash
# Shows that the README's test command works as written on a bare Debian: makes a minimal
# system of the given release with debootstrap (installing debootstrap where it is missing),
# copies the committed project into root's home, /root/project, as a user would keep it, and
# runs ./test there as root, every cross stage, the Windows and web stages (each where the
# release has its packages) and the APT repository's test included, then builds the package
# and prints its Depends. Too slow for the test command (half an hour on two cores); run it
# as root on a Debian machine. The system is kept in WORK_DIR to look at.
#   tools/fresh_debian_check.sh RELEASE [WORK_DIR]   (RELEASE: bookworm, trixie or testing;
#   WORK_DIR defaults to a new folder under /var/tmp)
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "run this as root: debootstrap and chroot need it" >&2 && exit 1; }
release=${1:-}
case "$release" in
    bookworm | trixie | testing) ;;
    *) echo "usage: $0 bookworm|trixie|testing [WORK_DIR]" >&2 && exit 2 ;;
esac
project=$(cd "$(dirname "$0")/.." && pwd)
work=${2:-$(mktemp -d /var/tmp/fresh-debian.XXXXXX)}
system=$work/$release
mkdir -p "$work"

# shellcheck source=tools/lib/debian.sh
source "$project/tools/lib/debian.sh"
echo "making a minimal Debian $release in $system"
clear_folder "$system"
make_minimal_debian "$release" "$system" "$work/debootstrap.log"
checkout=$system/root/project # root's home keeps its mode 700: no other user reaches the build
mkdir -p "$checkout" && git -C "$project" archive HEAD | tar -x -C "$checkout"

trap unmount_all EXIT
trap 'exit 130' INT TERM HUP
mount_system "$system"
# The chroot shares this machine's network and so the names of its X servers' sockets: with
# this machine's /tmp it sees their lock files too, and a test's X server picks a free number.
mount_into "$system" /tmp --bind /tmp

# npm reaches its registry through this machine's network, whose certificate authorities
# beyond Debian's own are trusted here only: the system takes them when its ca-certificates
# package is installed.
if [ -d /usr/local/share/ca-certificates ]; then
    cp -r /usr/local/share/ca-certificates/. "$system/usr/local/share/ca-certificates/"
fi

# A stage whose packages the release lacks (Debian testing has been without Wine at times,
# and may be without Emscripten or a browser) is left out there, and the check says so.
chroot "$system" apt-get -qq update
has_packages() { # has_packages PACKAGE...: each has a candidate in the release
    local package policy
    for package in "$@"; do
        policy=$(chroot "$system" apt-cache policy "$package") # whole: a pipe into grep -q may break
        [[ "$policy" == *"Candidate: "[0-9]* ]] || return 1
    done
}
windows=yes web=yes
if ! has_packages wine; then
    windows=no && echo "Debian $release has no wine to install: the Windows stage is left out"
fi
if ! has_packages emscripten chromium firefox-esr; then
    web=no && echo "Debian $release lacks emscripten, chromium or firefox-esr: the web stage is left out"
fi
echo "running ./test in it"
start=$SECONDS
in_chroot "$system" CROSS_ARCHES=all CROSS_WINDOWS=$windows CROSS_WEB=$web APT_REPO_TEST=yes \
    bash -c 'cd /root/project && if command -v make; then echo "make is there already" && exit 1; fi
        ./test && make --no-print-directory package >/dev/null &&
        echo "Depends: $(dpkg-deb -f build/varnock-hollenby_*.deb Depends)"'
took=$((SECONDS - start))
stages="the cross stages"
[ "$windows" = no ] || stages+=", Windows"
[ "$web" = no ] || stages+=", web"
stages+=", the APT repository's test"
echo "Debian $release: ./test (stages $stages included) and make package passed" \
    "in $((took / 60)) min $((took % 60)) s"
