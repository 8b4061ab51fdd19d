# Debian's aarch64 cross compiler (g++-aarch64-linux-gnu), with the arm64 libraries that
# dpkg installs beside this machine's own under /usr/lib/aarch64-linux-gnu (the ':arm64'
# packages). Programs built here run under qemu, so test discovery and ctest work too.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# Libraries, CMake package files and pkg-config files are looked for in the arm64
# multiarch folders: the host's, under /usr/lib/x86_64-linux-gnu, would never run there.
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
# qemu loads the arm64 loader and libraries from the multiarch root, /, where libc6:arm64 put
# them; the cross compiler's own copy of the C library under /usr/aarch64-linux-gnu, mixed
# with the others there, left threaded tests spinning forever. The emulator is
# qemu-user-static's where the release has it, else qemu-user's.
find_program(QEMU_AARCH64 NAMES qemu-aarch64-static qemu-aarch64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_AARCH64} -L /)
