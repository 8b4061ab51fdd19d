# Windows: one folder holds the program, beside its data as the program opens it (by relative
# path, from the folder it starts in), and the licence. The installer puts it under Program
# Files with a Start-menu shortcut that starts there, and the zip holds it as it is.
enable_language(RC)
set(PUBLISHER "Varnock Hollenby Maintainers")
set_target_properties(city PROPERTIES OUTPUT_NAME ${NAME} WIN32_EXECUTABLE ON)

set(ICON ${CMAKE_CURRENT_BINARY_DIR}/${NAME}.ico)
add_custom_command(OUTPUT ${ICON}
  COMMAND convert ${CMAKE_CURRENT_SOURCE_DIR}/${NAME}.png
    -define icon:auto-resize=256,48,32,16 ${ICON}
  DEPENDS ${NAME}.png)
add_custom_target(icon DEPENDS ${ICON})
add_dependencies(city icon)
string(REGEX MATCH "^[0-9]+\\.[0-9]+\\.[0-9]+" numbers "${VERSION}")
string(REPLACE "." "," VERSION_NUMBERS "${numbers}")
configure_file(windows/${NAME}.rc.in ${NAME}.rc @ONLY)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${NAME}.rc PROPERTIES
  OBJECT_DEPENDS ${ICON})
target_sources(city PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${NAME}.rc)

install(TARGETS city RUNTIME DESTINATION .)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME ${NAME})
set(CPACK_PACKAGE_VERSION ${VERSION})
set(CPACK_PACKAGE_VENDOR ${PUBLISHER})
set(CPACK_PACKAGE_FILE_NAME ${NAME}-${VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Varnock Hollenby")
set(CPACK_PACKAGE_EXECUTABLES ${NAME} "Varnock Hollenby")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# NSIS writes a 32-bit installer unless told otherwise, which a 64-bit-only system cannot run.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "Varnock Hollenby")
set(CPACK_NSIS_DISPLAY_NAME "Varnock Hollenby")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME ${NAME}.exe)
set(CPACK_NSIS_MUI_ICON ${ICON})
set(CPACK_NSIS_MUI_UNIICON ${ICON})
# Read by cpack itself: the installer's name says what it is, the zip's does not need to.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/CPackProject.cmake
  "if(CPACK_GENERATOR STREQUAL NSIS)\n  string(APPEND CPACK_PACKAGE_FILE_NAME -setup)\nendif()\n")
set(WINDOWS_INSTALLER ${CMAKE_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME}-setup.exe PARENT_SCOPE)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/CPackProject.cmake)
include(CPack)
