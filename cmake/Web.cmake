# The web build's settings, read before any target: every object is built for threads (the
# worker's) and with C++ exceptions (a model that exhausts memory is caught, not fatal), and
# a failed allocation returns null as on the desktop instead of stopping the page. GLM and
# the OBJ reader come from Debian's own headers, seen through a folder of their own so that
# no other header of this machine's reaches the web build; the reader's code is compiled
# here from its header, as Debian has no web build of its library.
add_compile_options(-pthread -fexceptions)
# The main thread's stack is set as a desktop's would be: newer Emscripten gives it 64 kB,
# which the model reader's 64 kB block alone overflows.
add_link_options(-pthread -fexceptions -sABORTING_MALLOC=0 -sINITIAL_MEMORY=128MB
  -sTOTAL_STACK=5MB)

# The tests run under node. Node 18's fetch leads Emscripten 3.1.6 to fetch its .wasm instead
# of reading the file, which --no-experimental-fetch prevents; later nodes drop that flag (24
# refuses it), so it goes only to a node that takes it.
execute_process(COMMAND node --no-experimental-fetch -e "" RESULT_VARIABLE node_refuses_flag
  OUTPUT_QUIET ERROR_QUIET)
if(node_refuses_flag)
  set(CMAKE_CROSSCOMPILING_EMULATOR node)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR node --no-experimental-fetch)
endif()

set(debian_headers ${CMAKE_BINARY_DIR}/debian-headers)
file(MAKE_DIRECTORY ${debian_headers})
foreach(header glm tiny_obj_loader.h)
  if(NOT EXISTS /usr/include/${header})
    message(FATAL_ERROR "/usr/include/${header} is missing: install libglm-dev and libtinyobjloader-dev")
  endif()
  file(CREATE_LINK /usr/include/${header} ${debian_headers}/${header} SYMBOLIC)
endforeach()

add_library(glm::glm INTERFACE IMPORTED)
set_target_properties(glm::glm PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${debian_headers})

add_library(web_tinyobjloader STATIC ${CMAKE_CURRENT_LIST_DIR}/web/tinyobjloader.cpp)
target_include_directories(web_tinyobjloader SYSTEM PUBLIC ${debian_headers})
add_library(tinyobjloader::tinyobjloader ALIAS web_tinyobjloader)
