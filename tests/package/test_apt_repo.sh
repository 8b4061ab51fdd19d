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
server=
stop() { unmount_all && [ -z "$server" ] || kill "$server"; }
trap stop EXIT
trap 'exit 130' INT TERM HUP
python3 -u -m http.server --bind 127.0.0.1 0 --directory "$work/www" >"$work/server.log" 2>&1 &
server=$!
port_served() { grep -oE 'port [0-9]+' "$work/server.log" | grep -oE '[0-9]+'; }
for _ in $(seq 50); do port=$(port_served) && break || sleep 0.2; done
[ -n "${port:-}" ] || die "the web server did not start: $(<"$work/server.log")"
url=http://127.0.0.1:$port

# The repository of this build, signed by the throwaway key; one signed by a key that the
# user never added; and one whose Packages were changed after signing, as a mirror might.
publish() { APT_REPO_URL=$url/good/ "$project/tools/apt_repo.sh" "$work/www/good" "$@"; }
publish "$deb" >"$work/good.log" 2>&1 || die "tools/apt_repo.sh failed: $(<"$work/good.log")"
export GNUPGHOME=$work/other-key-gnupg
mkdir -m 700 "$GNUPGHOME"
gpg --batch --quiet --passphrase '' --quick-generate-key "Someone else <someone@example.org>" \
    ed25519 sign 1d
APT_SIGNING_KEY=someone@example.org "$project/tools/apt_repo.sh" "$work/www/other-key" "$deb" \
    >"$work/other-key.log" 2>&1 || die "tools/apt_repo.sh failed: $(<"$work/other-key.log")"
cp -a "$work/www/good" "$work/www/changed"
for packages in "$work/www/changed/dists/$codename"/main/binary-*/Packages; do
    sed -i "s/^Maintainer: .*/Maintainer: Someone else <someone@example.org>/" "$packages"
    gzip -9nkf "$packages" && xz -kf "$packages"
done

# Nothing in the published tree is secret: the keyring holds the public key alone.
check "no private key in the repository" \
    [ -z "$(grep -rlE 'PRIVATE KEY|secret key packet' "$work/www/good")" ]
keyring_is_public() {
    local packets
    packets=$(gpg --list-packets "$work/www/good/$name-archive-keyring.gpg")
    grep -q "^:public key packet:" <<<"$packets" && ! grep -q "secret" <<<"$packets"
}
check "its keyring holds a public key and nothing secret" keyring_is_public
unset GNUPGHOME

system=$work/$codename
echo "making a minimal Debian $codename in $system"
make_minimal_debian "$codename" "$system" "$work/debootstrap.log"
mount_system "$system"
in_system() {
    chroot "$system" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "$@"
}
# As the repository's page tells a user: its keyring and its source file, here pointed at
# one of the served repositories (the lists apt kept from another are dropped).
cp "$work/www/good/$name-archive-keyring.gpg" "$system/usr/share/keyrings/"
use_repository() { # use_repository NAME
    sed "s|^URIs: .*|URIs: $url/$1/|" "$work/www/good/$name-$codename.sources" \
        >"$system/etc/apt/sources.list.d/$name.sources"
    rm -f "$system/var/lib/apt/lists/127.0.0.1_"*
}
not_installed() { ! in_system dpkg-query -W "$name" >/dev/null 2>&1; }
refused() { # refused NAME PATTERN: apt-get update fails, saying PATTERN, and nothing installs
    local log=$work/$1.apt.log
    use_repository "$1"
    ! in_system apt-get update >"$log" 2>&1 || return 1
    grep -E '^(E|W|Err):' "$log" | sed "s/^/    $1: /"
    grep -qE "$2" "$log" && ! in_system apt-get install -y "$name" >>"$log" 2>&1 && not_installed
}
check "apt refuses a repository signed by another key, and installs nothing" \
    refused other-key "NO_PUBKEY|is not signed"
check "apt refuses a repository changed after signing, and installs nothing" \
    refused changed "Hash Sum mismatch|unexpected size"

use_repository good
answers() { [ "$(in_system "$name" --version)" = "$name $1" ]; } # answers VERSION
in_system apt-get update >"$work/update.log" 2>&1 || die "apt-get update failed: $(<"$work/update.log")"
in_system apt-get install -y "$name" | tee "$work/install.log" | grep -E "^(Get|Setting up):.*$name" || true
check "apt-get install takes $name $version from the repository, and --version answers" \
    answers "$version"

# The next version: the project rebuilt from a copy with a new changelog entry, published
# beside the first.
tree=$work/next
mkdir "$tree" && (cd "$project" && tar --exclude='./build*' --exclude=./.git -c .) | tar -x -C "$tree"
signed_off=$(grep -m 1 '^ -- ' "$project/packaging/changelog" | sed 's/>  .*/>/')
{
    printf '%s (%s) unstable; urgency=medium\n\n' "$name" "$next"
    printf '  * Rebuilt as the next version, to be taken by apt-get upgrade.\n\n'
    printf '%s  %s\n\n' "$signed_off" "$(date -uR)"
    cat "$project/packaging/changelog"
} >"$tree/packaging/changelog"
echo "building $name $next in $tree"
(cd "$tree" && cmake --workflow --preset package) >"$work/next.log" 2>&1 ||
    die "the rebuild failed: $(tail -n 20 "$work/next.log")"
publish "$tree/build/${name}_${next}"_*.deb >>"$work/good.log" 2>&1 ||
    die "tools/apt_repo.sh failed: $(<"$work/good.log")"
in_system apt-get update >"$work/update.log" 2>&1 || die "apt-get update failed: $(<"$work/update.log")"
in_system apt-get upgrade -y | tee "$work/upgrade.log" | grep -E "upgraded|^Unpacking $name" || true
check "apt-get upgrade takes $next, and --version answers" answers "$next"
files=$(in_system dpkg-query -L "$name")

in_system apt-get remove -y "$name" >"$work/remove.log" 2>&1 || die "$(<"$work/remove.log")"
left_behind() { # the package's files (not the folders it shares) still there
    local file
    while read -r file; do
        [ ! -e "$system$file" ] || [ -d "$system$file" ] || echo "$file"
    done <<<"$files"
    for file in "/usr/lib/$name" "/usr/share/$name" "/usr/share/doc/$name"; do
        [ ! -e "$system$file" ] || echo "$file"
    done
}
check "apt-get remove leaves none of its files ($(left_behind | wc -l) left)" \
    [ -z "$(left_behind)" ]
finish
