#!/usr/bin/env bash
# Shows that the README's test command works as written on a bare Debian 12: makes a minimal
# system with debootstrap (installing debootstrap where it is missing), copies the committed
# project into it and runs ./test there as root. Too slow for the test command (about twenty
# minutes); run it as root on a Debian machine. The system is kept in WORK_DIR to look at.
#   tools/fresh_debian_check.sh [WORK_DIR]   (default: a new folder under /var/tmp)
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "run this as root: debootstrap and chroot need it" >&2 && exit 1; }
project=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$(mktemp -d /var/tmp/fresh-debian.XXXXXX)}
system=$work/bookworm
mkdir -p "$work"
if ! command -v debootstrap >/dev/null; then
    apt-get update -qq && apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi

# The Debian archive that this machine's own package sources name, else debootstrap's default.
mirror=$(grep -rhoE '^(deb|URIs:) +https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list \
    /etc/apt/sources.list.d/ 2>/dev/null | head -n 1 | awk '{ print $2 }') || true
echo "making a minimal Debian 12 in $system"
debootstrap --variant=minbase bookworm "$system" ${mirror:+"$mirror"} \
    >"$work/debootstrap.log" 2>&1 || { tail -n 20 "$work/debootstrap.log" >&2; exit 1; }
cp /etc/resolv.conf "$system/etc/resolv.conf"
mkdir -p "$system/project" && git -C "$project" archive HEAD | tar -x -C "$system/project"

mounted=()
unmount() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || true; done
}
trap unmount EXIT
mount -t proc proc "$system/proc" && mounted+=("$system/proc")
mount -t sysfs sysfs "$system/sys" && mounted+=("$system/sys")
mount --bind /dev "$system/dev" && mounted+=("$system/dev")
mount --bind /dev/pts "$system/dev/pts" && mounted+=("$system/dev/pts")
# The chroot shares this machine's network and so the names of its X servers' sockets: with
# this machine's /tmp it sees their lock files too, and a test's X server picks a free number.
mount --bind /tmp "$system/tmp" && mounted+=("$system/tmp")

echo "running ./test in it"
chroot "$system" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    bash -c 'cd /project && if command -v make; then echo "make is there already" && exit 1; fi
        ./test'
