# CITY_HARDENED: Debian's hardening flags (fortify, stack protector, relro, bindnow, PIE)
# from dpkg-buildflags, which follows DEB_HOST_ARCH when cross-building, plus x86's
# control-flow protection where dpkg-buildflags leaves it out, and no build path in the
# program, so that the package's bytes do not depend on the folder it was built in.
option(CITY_HARDENED "Build with Debian's hardening flags (for the package)" OFF)
if(NOT CITY_HARDENED)
  return()
elseif(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/HardeningWindows.cmake)
  return()
endif()

function(dpkg_buildflags variable)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            dpkg-buildflags --get ${variable}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "CITY_HARDENED needs dpkg-buildflags (package dpkg-dev)")
  endif()
  set(${variable} "${flags}" PARENT_SCOPE)
endfunction()

dpkg_buildflags(CPPFLAGS)
dpkg_buildflags(CXXFLAGS)
dpkg_buildflags(LDFLAGS)

include(CheckCXXCompilerFlag)
if(NOT CXXFLAGS MATCHES "-fcf-protection")
  check_cxx_compiler_flag(-fcf-protection CITY_HAS_CF_PROTECTION)
  if(CITY_HAS_CF_PROTECTION)
    string(APPEND CXXFLAGS " -fcf-protection")
  endif()
endif()
# dpkg-buildflags maps the folder it runs in, the sources, unless told not to. The later
# map wins, so a build folder inside the sources maps as a whole.
string(FIND "${CXXFLAGS}" "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=" mapped)
if(mapped EQUAL -1)
  string(APPEND CXXFLAGS " -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.")
endif()
string(APPEND CXXFLAGS " -ffile-prefix-map=${CMAKE_BINARY_DIR}=.")

# Ahead of any flags given on the command line, which can still override them. The
# optimisation comes with them (-O2), which fortification needs to take effect.
set(CMAKE_CXX_FLAGS "${CPPFLAGS} ${CXXFLAGS} ${CMAKE_CXX_FLAGS}")
string(PREPEND CMAKE_EXE_LINKER_FLAGS "${LDFLAGS} ")
