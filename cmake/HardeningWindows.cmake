# CITY_HARDENED for Windows, where dpkg-buildflags knows no architecture: fortify, which
# mingw implements in libssp, the stack protector, ASLR with 64-bit entropy and DEP. The
# C++ run-time and winpthreads are linked in, so the program needs no DLL of mingw's, and
# the linker stamps no time, so that a rebuild gives the same bytes. The build folder is
# mapped away as on Linux.
string(PREPEND CMAKE_CXX_FLAGS "-O2 -D_FORTIFY_SOURCE=2 -fstack-protector-strong \
-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=. ")
string(PREPEND CMAKE_EXE_LINKER_FLAGS "-static -fstack-protector-strong \
-Wl,--dynamicbase,--high-entropy-va,--nxcompat,--no-insert-timestamp ")
link_libraries(ssp)
