# Debian's mingw-w64 cross compiler for Windows x64 (g++-mingw-w64-x86-64-posix: its POSIX
# thread model gives std::thread and pthreads through winpthreads). Libraries are looked
# for only among mingw's own and those that tools/windows_libraries.sh built into the build
# folder: this machine's would never run there. Programs built here run under Wine, so test
# discovery and ctest work too.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
get_filename_component(libraries ${CMAKE_CURRENT_LIST_DIR}/../../build-windows/libraries ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${libraries})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
