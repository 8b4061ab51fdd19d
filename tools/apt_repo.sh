#!/usr/bin/env bash
# Writes a signed APT repository of varnock-hollenby for this machine's Debian release into
# REPO_DIR, which any static file host serves as it is:
#   dists/CODENAME/Release, InRelease, Release.gpg
#   dists/CODENAME/main/binary-ARCH/Packages, Packages.gz, Packages.xz
#   pool/CODENAME/   the packages; those of earlier runs stay, so a new version joins the old
#   varnock-hollenby-archive-keyring.gpg   the public key, for Signed-By
#   varnock-hollenby-CODENAME.sources      the source a user drops into /etc/apt/sources.list.d/
# The packages are the DEBs given, else this checkout's of the changelog's version: build/'s
# and each cross build's (build-ARCH/). Each goes into this release's suite alone, and one
# that needs a newer C library than this release's (built on a later Debian) is refused.
# It is signed by the key APT_SIGNING_KEY names in GNUPGHOME (the maintainer's; while a key is
# rotated, the old and the new, separated by a space, sign and go into the keyring); without one,
# by a throwaway key kept in build-apt/throwaway-gnupg, with a warning. No private key is
# ever written into REPO_DIR. The sources file points at APT_REPO_URL.
#   tools/apt_repo.sh REPO_DIR [DEB...]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 REPO_DIR [DEB...]" >&2 && exit 2; }
project=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1" && repo=$(cd "$1" && pwd)
shift
name=varnock-hollenby
url=${APT_REPO_URL:-https://packages.varnock-hollenby.example/apt/}
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] || { echo "$0: /etc/os-release names no release codename" >&2 && exit 1; }

debs=("$@")
if [ ${#debs[@]} -eq 0 ]; then
    version=$(sed -n "1s/^$name (\([^)]*\)).*/\1/p" "$project/packaging/changelog")
    shopt -s nullglob
    debs=("$project"/build{,-*}/"${name}_${version}"_*.deb)
    [ ${#debs[@]} -gt 0 ] ||
        { echo "$0: no $name $version package in build*/: make package first" >&2 && exit 1; }
fi

# A package is offered only to the release whose C library it was linked against, or a later
# one; the C library is the newest thing it needs from the release.
libc=$(dpkg-query -W -f='${Version}' libc6)
for deb in "${debs[@]}"; do
    [ "$(dpkg-deb -f "$deb" Package)" = "$name" ] || { echo "$0: $deb is no $name package" >&2 && exit 1; }
    needs=$(dpkg-deb -f "$deb" Depends | sed -n 's/.*\blibc6 (>= \([^)]*\)).*/\1/p')
    if [ -n "$needs" ] && dpkg --compare-versions "$needs" gt "$libc"; then
        echo "$0: $(basename "$deb") needs libc6 $needs, newer than Debian $codename's $libc:" \
            "it was built on a later release and is not offered to $codename" >&2
        exit 1
    fi
done

pool=pool/$codename
mkdir -p "$repo/$pool"
cp "${debs[@]}" "$repo/$pool/"

if [ -n "${APT_SIGNING_KEY:-}" ]; then
    key=$APT_SIGNING_KEY
    read -ra keys <<<"$key"
    gpg --batch --list-secret-keys "${keys[@]}" >/dev/null 2>&1 ||
        { echo "$0: no secret key for APT_SIGNING_KEY ($key) in ${GNUPGHOME:-~/.gnupg}" >&2 && exit 1; }
else
    export GNUPGHOME=$project/build-apt/throwaway-gnupg
    case "$GNUPGHOME/" in "$repo"/*)
        echo "$0: the throwaway key would be published inside $repo" >&2 && exit 1 ;;
    esac
    uid="Varnock | Hollenby throwaway test key <maintainers@varnock-hollenby.example>"
    mkdir -p "$GNUPGHOME" && chmod 700 "$GNUPGHOME"
    if ! gpg --batch --list-secret-keys "$uid" >/dev/null 2>&1; then
        gpg --batch --quiet --passphrase '' --quick-generate-key "$uid" ed25519 sign 1y
    fi
    key=$(gpg --batch --with-colons --list-secret-keys "$uid" | awk -F: '$1 == "fpr" { print $10; exit }')
    keys=("$key")
    cat >&2 <<WARNING
**************************************************************************************
WARNING: no APT_SIGNING_KEY given. $repo is signed by a throwaway key made for
local tests ($GNUPGHOME). No user should trust it: publish only a repository signed
by the maintainer's key (docs/packaging.md).
**************************************************************************************
WARNING
fi

# Packages for each architecture that the pool holds, in the compressions apt looks for.
cd "$repo"
dist=dists/$codename
rm -rf "$dist"
arches=$(for deb in "$pool"/*.deb; do dpkg-deb -f "$deb" Architecture; done | sort -u | xargs)
for arch in $arches; do
    mkdir -p "$dist/main/binary-$arch"
    apt-ftparchive --arch "$arch" packages "$pool" >"$dist/main/binary-$arch/Packages"
    gzip -9nk "$dist/main/binary-$arch/Packages"
    xz -k "$dist/main/binary-$arch/Packages"
done
apt-ftparchive \
    -o APT::FTPArchive::Release::Origin="Varnock | Hollenby" \
    -o APT::FTPArchive::Release::Label="Varnock | Hollenby" \
    -o APT::FTPArchive::Release::Suite="$codename" \
    -o APT::FTPArchive::Release::Codename="$codename" \
    -o APT::FTPArchive::Release::Architectures="$arches" \
    -o APT::FTPArchive::Release::Components=main \
    -o APT::FTPArchive::Release::Description="Varnock | Hollenby for Debian $codename" \
    release "$dist" >"$repo/Release.new"
mv "$repo/Release.new" "$dist/Release"
sign() { gpg --batch --yes "${keys[@]/#/--local-user=}" --digest-algo SHA512 "$@"; }
sign --clearsign --output "$dist/InRelease" "$dist/Release"
sign --detach-sign --armor --output "$dist/Release.gpg" "$dist/Release"

gpg --batch --yes --export-options export-minimal --output "$name-archive-keyring.gpg" \
    --export "${keys[@]}"
# Checked as apt will check it: against the published keyring alone (in a home of its own).
alone=$(mktemp -d) && trap 'rm -rf "$alone"' EXIT
gpg --homedir "$alone" --batch --no-default-keyring --keyring "$repo/$name-archive-keyring.gpg" \
    --verify "$dist/InRelease" 2>/dev/null ||
    { echo "$0: $dist/InRelease does not verify against $name-archive-keyring.gpg" >&2 && exit 1; }
cat >"$name-$codename.sources" <<SOURCES
Types: deb
URIs: $url
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/$name-archive-keyring.gpg
SOURCES
echo "$repo: Debian $codename, $arches, signed by $key"
