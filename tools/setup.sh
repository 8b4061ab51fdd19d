#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages that are missing.
# Usage: tools/setup.sh [--test | --package | --demo | --bench | --cross ARCH | --cross-arm64 |
#                        --cross-windows | --web | --apt-repo]
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
# --cross ARCH (arm64, armhf or riscv64; --cross-arm64 is --cross arm64) adds Debian's cross
# compiler for that architecture, qemu to run its tests, the X tools to see its window and
# first frame, and the architecture's builds of the libraries beside this machine's own
# (which needs it among dpkg's architectures: it is added then, and only then). The emulator
# is qemu-user-static's where the release has it, else qemu-user's (Debian testing, lately).
# --cross-windows adds Debian's mingw-w64 cross compiler, Wine to run its tests, NSIS for the
# installer, glad for the GL loader, GoogleTest's sources, dpkg-dev to unpack the freeglut and
# tinyobjloader sources that tools/windows_libraries.sh builds, and the X tools.
# --web adds Emscripten (whose compiler runs on node), GoogleTest's sources, GLM's and the OBJ
# reader's headers, npm to install the pinned browser driver, Chromium and Firefox ESR, and the
# X tools: Firefox draws WebGL only on a display, and the test reads captures with ImageMagick. node and npm are left out
# where a node of another origin (which brings its own npm) is there already.
# --apt-repo adds apt-ftparchive (apt-utils), gpg, xz, and for the repository's test
# debootstrap, python3, whose web server serves the repository to the test's systems, and
# qemu's registrations with the kernel, which run a foreign architecture's system.
[ "${1:-}" != --cross-arm64 ] || set -- --cross arm64
cross_arch=
case "${1:-}" in
  --test) packages+=(libgtest-dev "${x_tools[@]}" clang libclang-rt-dev file lintian devscripts
    desktop-file-utils appstream shellcheck) ;;
  --package) packages+=(file) ;;
  --demo) packages+=("${x_tools[@]}") ;;
  --bench) packages+=(libbenchmark-dev xvfb xauth python3) ;;
  --cross)
    cross_arch=${2:?"usage: $0 --cross ARCH"}
    case "$cross_arch" in # the GNU names that dpkg-architecture gives the compilers and qemu
      arm64) gnu_type=aarch64-linux-gnu gnu_cpu=aarch64 ;;
      armhf) gnu_type=arm-linux-gnueabihf gnu_cpu=arm ;;
      riscv64) gnu_type=riscv64-linux-gnu gnu_cpu=riscv64 ;;
      *) echo "$0: no cross build for $cross_arch (arm64, armhf or riscv64)" >&2 && exit 2 ;;
    esac
    packages=(cmake make libglm-dev "g++-$gnu_type" dpkg-dev file lintian "${x_tools[@]}"
      "libc6:$cross_arch" "libgtest-dev:$cross_arch" "${libraries[@]/%/:$cross_arch}")
    command -v "qemu-$gnu_cpu-static" >/dev/null || command -v "qemu-$gnu_cpu" >/dev/null ||
      packages+=(qemu) ;;
  --apt-repo) packages=(make dpkg-dev apt-utils gpg gpg-agent xz-utils debootstrap python3)
    [ -e /usr/lib/binfmt.d/qemu-aarch64.conf ] || packages+=(qemu-binfmt) ;;
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
  if [ -n "$cross_arch" ] && ! dpkg --print-foreign-architectures | grep -qx "$cross_arch"; then
    dpkg --add-architecture "$cross_arch"
  fi
  # Another apt-get may hold dpkg's lock for a while: wait for it rather than fail.
  apt_get() { apt-get -o DPkg::Lock::Timeout=600 "$@"; }
  apt_get update -qq
  # "qemu" stands for whichever of the two packages this release has, "qemu-binfmt" for
  # the one that registers it with the kernel.
  qemu="qemu-user" binfmt="qemu-user-binfmt"
  if [[ "$(apt-cache policy qemu-user-static)" == *"Candidate: "[0-9]* ]]; then
    qemu="qemu-user-static" binfmt="qemu-user-static"
  fi
  for i in "${!missing[@]}"; do
    [ "${missing[i]}" != qemu ] || missing[i]=$qemu
    [ "${missing[i]}" != qemu-binfmt ] || missing[i]=$binfmt
  done
  echo "Installing: ${missing[*]}"
  apt_get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
