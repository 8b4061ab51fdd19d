#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages that are missing.
# Usage: tools/setup.sh [--test | --package | --demo]   (--test adds what the test suite needs,
# --package what builds the Debian package, --demo what films the city under Xvfb)
set -euo pipefail

packages=(cmake g++ make libglm-dev libtinyobjloader-dev freeglut3-dev libglu1-mesa-dev libgl-dev
  libgl1-mesa-dri libx11-dev)
if [ "${1:-}" = "--test" ]; then
  packages+=(libgtest-dev xvfb xauth xdotool x11-apps x11-utils imagemagick clang libclang-rt-dev)
fi
# dpkg-shlibdeps (in dpkg-dev) and file work out the package's Depends; the tests hold the
# package to lintian and its desktop entry to desktop-file-validate.
case "${1:-}" in
  --package) packages+=(dpkg-dev file) ;;
  --test) packages+=(dpkg-dev file lintian desktop-file-utils) ;;
  --demo) packages+=(xvfb xauth xdotool x11-apps x11-utils imagemagick) ;;
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
