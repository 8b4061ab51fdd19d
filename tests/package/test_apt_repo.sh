#!/usr/bin/env bash
# The signed APT repository as a user meets it, served on 127.0.0.1 to a bare Debian of this
# release: installed; the next version refused from a repository signed by another key or
# changed after signing, then taken by apt-get upgrade; removed without a trace; installed
# in FOREIGN_DEB's architecture under qemu. As root; its files stay in WORK_DIR.
#   tests/package/test_apt_repo.sh WORK_DIR DEB [FOREIGN_DEB]
set -euo pipefail
project=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tools/lib/checks.sh
source "$project/tools/lib/checks.sh"
# shellcheck source=tools/lib/debian.sh
source "$project/tools/lib/debian.sh"
[ $# -ge 2 ] && [ -f "$2" ] || die "usage: $0 WORK_DIR DEB [FOREIGN_DEB]"
work=$(realpath -m "$1") foreign=${3:+$(realpath "$3")}
debs=("$(realpath "$2")" ${foreign:+"$foreign"})
name=varnock-hollenby
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
version=$(sed -n "1s/^$name (\([^)]*\)).*/\1/p" "$project/packaging/changelog")
next=${version%.*}.$((${version##*.} + 1))

clear_folder "$work" && mkdir -p "$work/www"
quietly() { "${@:2}" >>"$work/$1.log" 2>&1 || die "$2 failed: $(tail -n 20 "$work/$1.log")"; } # LOG CMD...
server=
trap 'unmount_all && [ -z "$server" ] || kill "$server"' EXIT
trap 'exit 130' INT TERM HUP
python3 -u -m http.server --bind 127.0.0.1 0 --directory "$work/www" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do port=$(grep -oE 'port [0-9]+' "$work/server.log" | cut -d' ' -f2) && break || sleep 0.2; done
url=http://127.0.0.1:${port:?the web server did not start}

publish() { APT_REPO_URL=$url/$1/ quietly "$1" "$project/tools/apt_repo.sh" "$work/www/$1" "${@:2}"; }
publish good "${debs[@]}" # signed by the throwaway key
public_alone() {
    grep -q "No user should trust it" "$work/good.log" &&
        ! grep -rqE 'PRIVATE KEY|secret key' "$work/www/good" &&
        ! gpg --list-packets "$work/www/good/$name-archive-keyring.gpg" | grep -q secret
}
check "signed by a throwaway key, it says so, and publishes no private key" public_alone
# A package linked against a later release's C library is never offered to this one.
dpkg-deb -R "${debs[0]}" "$work/later" && sed -i 's/libc6 (>= [^)]*)/libc6 (>= 99)/' "$work/later/DEBIAN/control"
quietly later dpkg-deb -b "$work/later" "$work/later.deb"
refuses_later() {
    ! "$project/tools/apt_repo.sh" "$work/later-repo" "$work/later.deb" 2>"$work/later.log" &&
        grep -q "needs libc6 99" "$work/later.log" && [ ! -e "$work/later-repo/dists" ]
}
check "a package needing a later release's C library is refused" refuses_later

system=$work/$codename
quietly try "$project/tools/try_apt_repo.sh" "$url/good" "$system"
answers() { [ "$(in_chroot "$system" "$name" --version)" = "$name $1" ]; } # answers VERSION
check "apt-get install takes $name $version from the repository; --version answers" \
    answers "$version"

tree=$work/next # the next version: the project rebuilt with a new changelog entry
mkdir "$tree"
(cd "$project" && tar --exclude='./build*' --exclude=./.git -c .) | tar -x -C "$tree"
signed_off=$(grep -m 1 '^ -- ' "$project/packaging/changelog" | sed 's/>  .*/>/')
printf '%s (%s) unstable; urgency=medium\n\n  * Rebuilt, to be taken by apt-get upgrade.\n\n%s  %s\n\n' \
    "$name" "$next" "$signed_off" "$(date -uR)" | cat - "$project/packaging/changelog" >"$tree/packaging/changelog"
(cd "$tree" && quietly next cmake --workflow --preset package)
next_deb=$(echo "$tree/build/${name}_${next}"_*.deb)

# Offered by a repository signed by a key the user never added, or changed after signing.
export GNUPGHOME=$work/other-key-gnupg
mkdir -m 700 "$GNUPGHOME"
quietly other-key gpg --batch --passphrase '' --quick-generate-key "Else <else@example.org>" ed25519 sign 1d
APT_SIGNING_KEY=else@example.org publish other-key "$next_deb"
unset GNUPGHOME
cp -a "$work/www/good" "$work/www/changed" && publish changed "$next_deb"
for packages in "$work/www/changed/dists/$codename"/main/binary-*/Packages; do
    sed -i "s/^Maintainer: .*/Maintainer: Else <else@example.org>/" "$packages"
    gzip -9nkf "$packages" && xz -kf "$packages"
done
mount_system "$system"
use_repository() { # use_repository NAME: the source names it (the lists of another dropped)
    sed -i "s|^URIs: .*|URIs: $url/$1/|" "$system/etc/apt/sources.list.d/$name.sources"
    rm -f "$system/var/lib/apt/lists/127.0.0.1_"*
}
refused() { # refused NAME PATTERN: apt-get update fails, saying PATTERN, and upgrade takes nothing
    local log=$work/$1.apt.log
    use_repository "$1"
    ! in_chroot "$system" apt-get update >"$log" 2>&1 && grep -E '^(E|W|Err):' "$log" | sed "s/^/    $1: /" &&
        grep -qE "$2" "$log" && in_chroot "$system" apt-get upgrade -y >>"$log" 2>&1 && answers "$version"
}
check "apt refuses a repository signed by another key" refused other-key "NO_PUBKEY|is not signed"
check "apt refuses a repository changed after signing" refused changed "Hash Sum mismatch|unexpected size"

use_repository good
publish good "$next_deb"
quietly upgrade in_chroot "$system" apt-get update && quietly upgrade in_chroot "$system" apt-get upgrade -y
check "apt-get upgrade takes $next, and --version answers" answers "$next"
files=$(in_chroot "$system" dpkg-query -L "$name")
quietly remove in_chroot "$system" apt-get remove -y "$name"
left_behind() { # the package's files, and the folders named after it, still there
    while read -r f; do
        [ ! -e "$system$f" ] || { [ -d "$system$f" ] && [[ $f != *$name* ]]; } || echo "$f"
    done <<<"$files"
}
check "apt-get remove leaves none of its files ($(left_behind | wc -l) left)" [ -z "$(left_behind)" ]

if [ -n "$foreign" ]; then
    arch=$(dpkg-deb -f "$foreign" Architecture)
    quietly "try-$arch" "$project/tools/try_apt_repo.sh" "$url/good" "$work/$codename-$arch" "$arch"
    check "an $arch system installs $name $version" grep -qx "$name $version ($arch)" "$work/try-$arch.log"
fi
finish
