# Debian's cross compiler for the architecture that DEB_HOST_ARCH names (arm64, armhf,
# riscv64), with that architecture's libraries that dpkg installs beside this machine's own
# under /usr/lib/<multiarch> (the ':<arch>' packages). Programs built here run under qemu, so
# test discovery and ctest work too. dpkg-architecture gives every name from the one.
if(DEFINED ENV{DEB_HOST_ARCH})
  set(CITY_DEB_HOST_ARCH $ENV{DEB_HOST_ARCH} CACHE STRING "The Debian architecture built for")
elseif(NOT CITY_DEB_HOST_ARCH)
  message(FATAL_ERROR "A cross build needs DEB_HOST_ARCH to name its Debian architecture")
endif()
# Later steps (cpack's dpkg-shlibdeps, a rebuild that configures again) find it there too.
set(ENV{DEB_HOST_ARCH} ${CITY_DEB_HOST_ARCH})

function(debian_arch_name variable query)
  execute_process(COMMAND dpkg-architecture -a${CITY_DEB_HOST_ARCH} -q${query}
    OUTPUT_VARIABLE name OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(failed OR NOT name)
    message(FATAL_ERROR "dpkg-architecture (package dpkg-dev) knows no ${CITY_DEB_HOST_ARCH}")
  endif()
  set(${variable} ${name} PARENT_SCOPE)
endfunction()
debian_arch_name(gnu_type DEB_HOST_GNU_TYPE) # arm-linux-gnueabihf: the compilers' prefix
debian_arch_name(gnu_cpu DEB_HOST_GNU_CPU) # arm: qemu's name for it
debian_arch_name(multiarch DEB_HOST_MULTIARCH)

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${gnu_cpu})
set(CMAKE_C_COMPILER ${gnu_type}-gcc)
set(CMAKE_CXX_COMPILER ${gnu_type}-g++)
# Libraries, CMake package files and pkg-config files are looked for in the architecture's
# multiarch folders: the host's, under /usr/lib/x86_64-linux-gnu, would never run there.
set(CMAKE_LIBRARY_ARCHITECTURE ${multiarch})
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${multiarch}/pkgconfig:/usr/share/pkgconfig)
# qemu loads the loader and libraries from the multiarch root, /, where libc6:<arch> put
# them; the cross compiler's own copy of the C library under /usr/<gnu type>, mixed with the
# others there, left threaded tests spinning forever. The emulator is qemu-user-static's
# where the release has it, else qemu-user's.
find_program(CITY_QEMU NAMES qemu-${gnu_cpu}-static qemu-${gnu_cpu} REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CITY_QEMU} -L /)
