# shellcheck shell=bash
# What this Debian machine's own package sources say, for tools that set up sources of their own.

# The Debian archive that the package sources name, one-line or deb822 style; empty if none.
debian_mirror() {
    grep -rhoE '^(deb|URIs:) +(\[[^]]*\] +)?https?://[^ ]+/debian/?( |$)' \
        /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null | head -n 1 |
        awk '{ print $NF }' || true
}

# A minimal Debian RELEASE in SYSTEM, by debootstrap from the archive the package sources name
# (installed where it is missing), able to reach that archive; debootstrap's log goes to LOG.
make_minimal_debian() { # make_minimal_debian RELEASE SYSTEM LOG
    local mirror
    if ! command -v debootstrap >/dev/null; then
        apt-get -o DPkg::Lock::Timeout=600 update -qq
        apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends debootstrap >/dev/null
    fi
    mirror=$(debian_mirror)
    debootstrap --variant=minbase "$1" "$2" ${mirror:+"$mirror"} >"$3" 2>&1 ||
        { tail -n 20 "$3" >&2 && return 1; }
    cp /etc/resolv.conf "$2/etc/resolv.conf"
    # A mirror may serve testing's Release file past its Valid-Until date; the stable
    # releases' dates are still checked.
    if [ "$1" = testing ]; then
        echo 'Acquire::Check-Valid-Until "false";' >"$2/etc/apt/apt.conf.d/99testing-valid-until"
    fi
}

# Mounts into a system, undone newest first by unmount_all (a script's EXIT trap); one still
# in use (an X server left running in it) is detached lazily rather than left behind.
mounted=()
mount_into() { # mount_into SYSTEM PATH MOUNT_ARGUMENTS...
    mount "${@:3}" "$1$2" && mounted+=("$1$2")
}
unmount_all() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount --lazy "${mounted[i]}" || true
    done
    mounted=()
}
mount_system() { # mount_system SYSTEM: its /proc, /sys, /dev and /dev/pts
    mount_into "$1" /proc -t proc proc
    mount_into "$1" /sys -t sysfs sysfs
    mount_into "$1" /dev --bind /dev
    mount_into "$1" /dev/pts --bind /dev/pts
}
