#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages that are missing.
# Usage: tools/setup.sh [--test]   (--test adds what the test suite needs)
set -euo pipefail

packages=(cmake g++ make libglm-dev libtinyobjloader-dev freeglut3-dev libglu1-mesa-dev libgl-dev
  libgl1-mesa-dri)
if [ "${1:-}" = "--test" ]; then
  packages+=(libgtest-dev xvfb xauth xdotool x11-apps x11-utils imagemagick)
fi
# --bench adds what `make bench` needs: Google Benchmark, an X server and the driver's Python.
if [ "${1:-}" = "--bench" ]; then
  packages+=(libbenchmark-dev xvfb xauth python3)
fi

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
