#!/usr/bin/env bash
# Installs varnock-hollenby from the APT repository at URL into a bare Debian of this
# machine's release, as the README tells a user: curl fetches the keyring and the source
# file, apt-get installs, and the program answers --version. With ARCH, the system is of that
# architecture, run by qemu through the kernel's binfmt_misc. Run it as root after publishing,
# against the published address; SYSTEM_DIR is made once and kept, so a second run tries
# the repository again there.
#   tools/try_apt_repo.sh URL SYSTEM_DIR [ARCH]
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 URL SYSTEM_DIR [ARCH]" >&2 && exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "run this as root: debootstrap and chroot need it" >&2 && exit 1; }
native=$(dpkg --print-architecture)
url=$1 system=$(realpath -m "$2") arch=${3:-$native}
# shellcheck source=tools/lib/debian.sh
source "$(dirname "$0")/lib/debian.sh"
trap unmount_all EXIT
trap 'exit 130' INT TERM HUP
if [ ! -e "$system/etc/os-release" ]; then
    [ "$arch" = "$native" ] || run_foreign "$arch"
    echo "making a minimal Debian for $arch in $system"
    make_minimal_debian "$(. /etc/os-release && echo "$VERSION_CODENAME")" "$system" \
        "$system.debootstrap.log" "$arch"
fi
mount_system "$system"
in_chroot "$system" sh -c 'apt-get update -qq && apt-get install -y -qq ca-certificates curl >/dev/null'
# shellcheck disable=SC2016 # expanded in the system, by the user's shell
in_chroot "$system" env REPOSITORY="$url" sh -ec '
    curl -fsSLo /usr/share/keyrings/varnock-hollenby-archive-keyring.gpg \
        "$REPOSITORY/varnock-hollenby-archive-keyring.gpg"
    curl -fsSLo /etc/apt/sources.list.d/varnock-hollenby.sources \
        "$REPOSITORY/varnock-hollenby-$(. /etc/os-release && echo "$VERSION_CODENAME").sources"
    apt-get update -qq && apt-get install -y varnock-hollenby
    echo "$(varnock-hollenby --version) ($(dpkg-query -W -f="\${Architecture}" varnock-hollenby))"'
