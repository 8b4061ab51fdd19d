#!/usr/bin/env bash
# The signed APT repository as a user meets it, in a minimal Debian of this machine's release
# (debootstrap) with the repository served over http on 127.0.0.1: the key and the source
# added, apt-get update and install, --version; the next version (the project rebuilt with a
# new changelog entry) published and taken by apt-get upgrade; a repository changed after
# signing, and one signed by another key, refused with nothing installed; apt-get remove
# leaving none of the program's files. Needs root; what it made is kept in WORK_DIR.
#   tests/package/test_apt_repo.sh DEB WORK_DIR
set -euo pipefail
project=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tools/lib/checks.sh
source "$project/tools/lib/checks.sh"
# shellcheck source=tools/lib/debian.sh
source "$project/tools/lib/debian.sh"
[ $# -eq 2 ] && [ -f "$1" ] || die "usage: $0 DEB WORK_DIR"
[ "$(id -u)" -eq 0 ] || die "run this as root: debootstrap and chroot need it"
deb=$(realpath "$1") work=$(realpath -m "$2")
name=varnock-hollenby
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
version=$(sed -n "1s/^$name (\([^)]*\)).*/\1/p" "$project/packaging/changelog")
next=${version%.*}.$((${version##*.} + 1))

# What an interrupted run left mounted is undone before its folder is made afresh.
findmnt -rn -o TARGET | { grep "^$work/" || true; } | sort -r | xargs -r umount --lazy
rm -rf --one-file-system "$work" && mkdir -p "$work/www"
quietly() { "${@:2}" >>"$work/$1.log" 2>&1 || die "$2 failed: $(tail -n 20 "$work/$1.log")"; } # LOG COMMAND...
server=
trap 'unmount_all && [ -z "$server" ] || kill "$server"' EXIT
trap 'exit 130' INT TERM HUP
python3 -u -m http.server --bind 127.0.0.1 0 --directory "$work/www" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do port=$(grep -oE 'port [0-9]+' "$work/server.log" | cut -d' ' -f2) && break || sleep 0.2; done
url=http://127.0.0.1:${port:?the web server did not start}

# The repository of this build, signed by the throwaway key; one signed by a key that the
# user never added; and one whose Packages were changed after signing, as a mirror might.
publish() { APT_REPO_URL=$url/good/ quietly good "$project/tools/apt_repo.sh" "$work/www/good" "$@"; }
publish "$deb"
export GNUPGHOME=$work/other-key-gnupg
mkdir -m 700 "$GNUPGHOME"
quietly other-key gpg --batch --passphrase '' --quick-generate-key "Else <else@example.org>" ed25519 sign 1d
APT_SIGNING_KEY=else@example.org quietly other-key "$project/tools/apt_repo.sh" "$work/www/other-key" "$deb"
cp -a "$work/www/good" "$work/www/changed"
for packages in "$work/www/changed/dists/$codename"/main/binary-*/Packages; do
    sed -i "s/^Maintainer: .*/Maintainer: Else <else@example.org>/" "$packages"
    gzip -9nkf "$packages" && xz -kf "$packages"
done
check "signed by the throwaway key, it says that no user should trust it" \
    grep -q "No user should trust it" "$work/good.log"
public_alone() { # no private key anywhere in the tree; a public key in the keyring
    [ -z "$(grep -rlE 'PRIVATE KEY|secret key packet' "$work/www/good")" ] &&
        gpg --list-packets "$work/www/good/$name-archive-keyring.gpg" >"$work/packets" &&
        grep -q "^:public key packet:" "$work/packets" && ! grep -q secret "$work/packets"
}
check "the repository holds its public key and no private key" public_alone
unset GNUPGHOME
# A package linked against a later release's C library is never offered to this one.
dpkg-deb -R "$deb" "$work/later" && sed -i 's/libc6 (>= [^)]*)/libc6 (>= 99)/' "$work/later/DEBIAN/control"
quietly later dpkg-deb -b "$work/later" "$work/later.deb"
refuses_later() { ! "$project/tools/apt_repo.sh" "$work/later-repo" "$work/later.deb" 2>"$work/later.log" &&
    grep -q "needs libc6 99" "$work/later.log" && [ ! -e "$work/later-repo/dists" ]; }
check "a package needing a later release's C library is refused" refuses_later

system=$work/$codename
echo "making a minimal Debian $codename in $system"
make_minimal_debian "$codename" "$system" "$work/debootstrap.log"
mount_system "$system"
in_system() {
    chroot "$system" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "$@"
}
# The keyring and the source file, fetched as the README tells a user.
quietly apt in_system apt-get update && quietly apt in_system apt-get install -y ca-certificates curl
# shellcheck disable=SC2016 # expanded in the system, by the user's shell
quietly apt in_system env REPOSITORY="$url/good" sh -c '
    curl -fsSLo /usr/share/keyrings/varnock-hollenby-archive-keyring.gpg \
        "$REPOSITORY/varnock-hollenby-archive-keyring.gpg"
    curl -fsSLo /etc/apt/sources.list.d/varnock-hollenby.sources \
        "$REPOSITORY/varnock-hollenby-$(. /etc/os-release && echo "$VERSION_CODENAME").sources"'
use_repository() { # use_repository NAME: the source names it (the lists of another dropped)
    sed -i "s|^URIs: .*|URIs: $url/$1/|" "$system/etc/apt/sources.list.d/$name.sources"
    rm -f "$system/var/lib/apt/lists/127.0.0.1_"*
}
refused() { # refused NAME PATTERN: apt-get update fails, saying PATTERN, and nothing installs
    local log=$work/$1.apt.log
    use_repository "$1"
    ! in_system apt-get update >"$log" 2>&1 && grep -E '^(E|W|Err):' "$log" | sed "s/^/    $1: /" &&
        grep -qE "$2" "$log" && ! in_system apt-get install -y "$name" >>"$log" 2>&1 &&
        ! in_system dpkg-query -W "$name" >/dev/null 2>&1
}
check "apt refuses a repository signed by another key, and installs nothing" \
    refused other-key "NO_PUBKEY|is not signed"
check "apt refuses a repository changed after signing, and installs nothing" \
    refused changed "Hash Sum mismatch|unexpected size"

use_repository good
quietly apt in_system apt-get update && quietly apt in_system apt-get install -y "$name"
grep -E "^(Get|Setting up):.*$name" "$work/apt.log"
answers() { [ "$(in_system "$name" --version)" = "$name $1" ]; } # answers VERSION
check "apt-get install takes $name $version from the repository, and --version answers" \
    answers "$version"

# The next version: the project rebuilt from a copy with a new changelog entry, published
# beside the first.
tree=$work/next
mkdir "$tree" && (cd "$project" && tar --exclude='./build*' --exclude=./.git -c .) | tar -x -C "$tree"
signed_off=$(grep -m 1 '^ -- ' "$project/packaging/changelog" | sed 's/>  .*/>/')
printf '%s (%s) unstable; urgency=medium\n\n  * Rebuilt, to be taken by apt-get upgrade.\n\n%s  %s\n\n' \
    "$name" "$next" "$signed_off" "$(date -uR)" | cat - "$project/packaging/changelog" >"$tree/packaging/changelog"
echo "building $name $next in $tree"
(cd "$tree" && quietly next cmake --workflow --preset package)
publish "$tree/build/${name}_${next}"_*.deb
quietly upgrade in_system apt-get update && quietly upgrade in_system apt-get upgrade -y
grep -E "upgraded,|^Unpacking $name" "$work/upgrade.log"
check "apt-get upgrade takes $next, and --version answers" answers "$next"
files=$(in_system dpkg-query -L "$name")

quietly remove in_system apt-get remove -y "$name"
left_behind() { # the package's files, and the folders named after it, still there
    local file
    while read -r file; do
        [ ! -e "$system$file" ] || { [ -d "$system$file" ] && [[ $file != *$name* ]]; } || echo "$file"
    done <<<"$files"
}
check "apt-get remove leaves none of its files ($(left_behind | wc -l) left)" [ -z "$(left_behind)" ]
finish
