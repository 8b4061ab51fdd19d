# The web: one folder, site/, that any static file host serves as it is. The page and its
# scripts (app/web/) sit beside the program's .js, its .wasm and its .data, which holds the
# run folder's files; the program opens them from the root of its own file system, as from
# data/. The zip holds the same folder.
set(SITE ${CMAKE_BINARY_DIR}/site)
set_target_properties(city PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SITE})
file(GLOB_RECURSE data_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
set_property(TARGET city APPEND PROPERTY LINK_DEPENDS ${data_files})
target_link_options(city PRIVATE
  --preload-file ${CMAKE_SOURCE_DIR}/data@/
  -sENVIRONMENT=web,worker -sMAX_WEBGL_VERSION=2 -sEXIT_RUNTIME=1 -sPTHREAD_POOL_SIZE=1
  # The page's buttons and its canvas's size reach the program through these two.
  -sEXPORTED_FUNCTIONS=_main,_pressKey,_resizeView)

set(page_files index.html page.css page.js view.js manifest.webmanifest)
set(site_files)
foreach(file ${page_files})
  add_custom_command(OUTPUT ${SITE}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/app/web/${file} ${SITE}/${file}
    DEPENDS ${CMAKE_SOURCE_DIR}/app/web/${file})
  list(APPEND site_files ${SITE}/${file})
endforeach()
add_custom_command(OUTPUT ${SITE}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/LICENSE ${SITE}/LICENSE.txt
  DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
# The manifest's icons, made from the desktop's icon; ImageMagick comes with the web stage.
find_program(CONVERT convert REQUIRED)
foreach(side 192 512)
  add_custom_command(OUTPUT ${SITE}/icon-${side}.png
    COMMAND ${CONVERT} ${CMAKE_SOURCE_DIR}/packaging/varnock-hollenby.png -resize ${side}x${side}
      -strip PNG24:${SITE}/icon-${side}.png
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/varnock-hollenby.png)
  list(APPEND site_files ${SITE}/icon-${side}.png)
endforeach()
list(APPEND site_files ${SITE}/LICENSE.txt)
# The service worker last, stamped with every other file's hash.
add_custom_command(OUTPUT ${SITE}/service-worker.js
  COMMAND ${CMAKE_COMMAND} -DSITE=${SITE} -DTEMPLATE=${CMAKE_SOURCE_DIR}/app/web/service-worker.js
    -P ${CMAKE_SOURCE_DIR}/cmake/web/StampSite.cmake
  DEPENDS city ${site_files} ${CMAKE_SOURCE_DIR}/app/web/service-worker.js
    ${CMAKE_SOURCE_DIR}/cmake/web/StampSite.cmake)
add_custom_target(site ALL DEPENDS ${SITE}/service-worker.js)

install(DIRECTORY ${SITE}/ DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${NAME})
set(CPACK_PACKAGE_VERSION ${VERSION})
set(CPACK_PACKAGE_FILE_NAME ${NAME}-${VERSION}-web)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
