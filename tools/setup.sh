#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages that are missing.
# Usage: tools/setup.sh [--test | --package | --demo | --bench]   (what each adds is below)
set -euo pipefail

# dpkg-dev gives the hardened build its flags (dpkg-buildflags) and the package its Depends.
packages=(cmake g++ make libglm-dev libtinyobjloader-dev freeglut3-dev libglu1-mesa-dev libgl-dev
  libgl1-mesa-dri libx11-dev dpkg-dev)
# --test adds the test suite's tools: file, which dpkg-shlibdeps needs for the package's
# Depends, lintian, hardening-check (in devscripts), desktop-file-validate and
# appstreamcli hold it to Debian's, freedesktop's and AppStream's rules, clang and its
# runtime build the fuzzers.
case "${1:-}" in
  --test) packages+=(libgtest-dev xvfb xauth xdotool x11-apps x11-utils imagemagick clang
    libclang-rt-dev file lintian devscripts desktop-file-utils appstream) ;;
  --package) packages+=(file) ;;
  --demo) packages+=(xvfb xauth xdotool x11-apps x11-utils imagemagick) ;;
  --bench) packages+=(libbenchmark-dev xvfb xauth python3) ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}; run this as root to install them." >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
