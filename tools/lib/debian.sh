# shellcheck shell=bash
# What this Debian machine's own package sources say, for tools that set up sources of their own.

# The Debian archive that the package sources name, one-line or deb822 style; empty if none.
debian_mirror() {
    grep -rhoE '^(deb|URIs:) +(\[[^]]*\] +)?https?://[^ ]+/debian/?( |$)' \
        /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null | head -n 1 |
        awk '{ print $NF }' || true
}

# A minimal Debian RELEASE in SYSTEM (of this machine's architecture, or ARCH), by debootstrap
# from the archive the package sources name (installed where it is missing), able to reach
# that archive; debootstrap's log goes to LOG.
make_minimal_debian() { # make_minimal_debian RELEASE SYSTEM LOG [ARCH]
    local mirror
    if ! command -v debootstrap >/dev/null; then
        apt-get -o DPkg::Lock::Timeout=600 update -qq
        apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends debootstrap >/dev/null
    fi
    mirror=$(debian_mirror)
    debootstrap --variant=minbase ${4:+--arch="$4"} "$1" "$2" ${mirror:+"$mirror"} >"$3" 2>&1 ||
        { tail -n 20 "$3" >&2 && return 1; }
    cp /etc/resolv.conf "$2/etc/resolv.conf"
    # A mirror may serve testing's Release file past its Valid-Until date; the stable
    # releases' dates are still checked. Testing, named by its codename too, has no version.
    if ! grep -q '^VERSION_ID=' "$2/etc/os-release"; then
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

# Runs COMMAND in SYSTEM as root, with a clean environment but for NAME=VALUEs given first.
in_chroot() { # in_chroot SYSTEM [NAME=VALUE...] COMMAND...
    chroot "$1" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "${@:2}"
}

# Lets the kernel run ARCH's programs through qemu, as systemd sets it up at boot: binfmt_misc
# mounted, and qemu's entry for the architecture's CPU (from qemu-user-static, or
# qemu-user-binfmt) registered there unless it is already. Its F flag opens the emulator
# once, here, so that it also runs in a system of that architecture.
run_foreign() { # run_foreign ARCH
    local binfmt=/proc/sys/fs/binfmt_misc cpu
    cpu=$(dpkg-architecture -a"$1" -qDEB_HOST_GNU_CPU 2>/dev/null)
    [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
    [ -e "$binfmt/qemu-$cpu" ] || cat "/usr/lib/binfmt.d/qemu-$cpu.conf" >"$binfmt/register"
}

# Removes FOLDER, after undoing what an interrupted run left mounted in it: never through a
# mount into this machine's own /dev.
clear_folder() { # clear_folder FOLDER
    findmnt -rn -o TARGET | { grep "^$1/" || true; } | sort -r | xargs -r umount --lazy
    rm -rf --one-file-system "$1"
}
