#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages that are missing.
# Usage: tools/setup.sh [--test | --package | --demo | --bench | --cross-arm64 | --cross-windows |
#                        --web]
# (what each adds is below)
set -euo pipefail

# dpkg-dev gives the hardened build its flags (dpkg-buildflags) and the package its Depends.
libraries=(libtinyobjloader-dev freeglut3-dev libglu1-mesa-dev libgl-dev libgl1-mesa-dri libx11-dev)
packages=(cmake g++ make libglm-dev dpkg-dev "${libraries[@]}")
# A virtual display, and the tools that drive the program's window and photograph it.
x_tools=(xvfb xauth xdotool x11-apps x11-utils imagemagick)
# --test adds the test suite's tools: file, which dpkg-shlibdeps needs for the package's
# Depends, lintian, hardening-check (in devscripts), desktop-file-validate and
# appstreamcli hold it to Debian's, freedesktop's and AppStream's rules, clang and its
# runtime build the fuzzers, shellcheck holds the scripts to its rules.
# --cross-arm64 adds Debian's aarch64 cross compiler, qemu to run its tests, the X tools to
# see its window and first frame, and the arm64 builds of the libraries beside this
# machine's own (which needs arm64 among dpkg's architectures: it is added then, and only then).
# The emulator is qemu-user-static's where the release has it, else qemu-user's (Debian
# testing, lately).
# --cross-windows adds Debian's mingw-w64 cross compiler, Wine to run its tests, NSIS for the
# installer, glad for the GL loader, GoogleTest's sources, dpkg-dev to unpack the freeglut and
# tinyobjloader sources that tools/windows_libraries.sh builds, and the X tools.
# --web adds Emscripten (whose compiler runs on node), GoogleTest's sources, GLM's and the OBJ
# reader's headers, npm to install the pinned browser driver, Chromium and Firefox ESR, and the
# X tools: Firefox draws WebGL only on a display, and the test reads captures with ImageMagick. node and npm are left out
# where a node of another origin (which brings its own npm) is there already.
case "${1:-}" in
  --test) packages+=(libgtest-dev "${x_tools[@]}" clang libclang-rt-dev file lintian devscripts
    desktop-file-utils appstream shellcheck) ;;
  --package) packages+=(file) ;;
  --demo) packages+=("${x_tools[@]}") ;;
  --bench) packages+=(libbenchmark-dev xvfb xauth python3) ;;
  --cross-arm64) packages=(cmake make libglm-dev g++-aarch64-linux-gnu dpkg-dev file lintian
    "${x_tools[@]}" libc6:arm64 libgtest-dev:arm64 "${libraries[@]/%/:arm64}")
    command -v qemu-aarch64-static >/dev/null || command -v qemu-aarch64 >/dev/null ||
      packages+=(qemu) ;;
  --cross-windows) packages=(cmake make libglm-dev g++-mingw-w64-x86-64-posix wine wine64 nsis
    python3-glad googletest dpkg-dev "${x_tools[@]}") ;;
  --web) packages=(cmake make emscripten googletest libglm-dev libtinyobjloader-dev chromium
    firefox-esr fonts-dejavu-core "${x_tools[@]}")
    command -v node >/dev/null || packages+=(nodejs)
    command -v npm >/dev/null || packages+=(npm) ;;
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
  export DEBIAN_FRONTEND=noninteractive
  if [ "${1:-}" = --cross-arm64 ] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
    dpkg --add-architecture arm64
  fi
  # Another apt-get may hold dpkg's lock for a while: wait for it rather than fail.
  apt_get() { apt-get -o DPkg::Lock::Timeout=600 "$@"; }
  apt_get update -qq
  # "qemu" stands for whichever of the two packages this release has.
  qemu="qemu-user"
  [[ "$(apt-cache policy qemu-user-static)" != *"Candidate: "[0-9]* ]] || qemu="qemu-user-static"
  for i in "${!missing[@]}"; do
    [ "${missing[i]}" != qemu ] || missing[i]=$qemu
  done
  echo "Installing: ${missing[*]}"
  apt_get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
