# What ships and how it is packed (`make dist`, scripts/dist.sh): a zip and an installer per bitness,
# both named from the project's version, into BUILD/dist beside the build trees.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VELMORA_BITS 64)
  set(VELMORA_OTHER_BITS 32)
  set(VELMORA_PACKAGE_ARCH win64)
  set(VELMORA_INSTALL_NAME "Velmora Player (64-bit)")
else()
  set(VELMORA_BITS 32)
  set(VELMORA_OTHER_BITS 64)
  set(VELMORA_PACKAGE_ARCH win32)
  set(VELMORA_INSTALL_NAME "Velmora Player")
endif()
get_filename_component(VELMORA_DIST_DIR ${CMAKE_BINARY_DIR}/../dist ABSOLUTE)
set(VELMORA_PACKAGE_NAME VelmoraPlayer-${PROJECT_VERSION}-${VELMORA_PACKAGE_ARCH})

# The readme in the player's folder: Windows line ends, so any editor shows it right.
string(REGEX REPLACE "." "=" VELMORA_README_RULE "${VELMORA_INSTALL_NAME} ${PROJECT_VERSION}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/ReadMe.txt.in ${CMAKE_BINARY_DIR}/packaging/ReadMe.txt
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS VelmoraPlayer libads RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/packaging/ReadMe.txt DESTINATION .)
# Packing builds only what it packs (scripts/dist.sh), not every test program.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(CPACK_GENERATOR ZIP NSIS)
# Shipped without the debugging information the build keeps.
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PACKAGE_NAME VelmoraPlayer)
set(CPACK_PACKAGE_VENDOR Corvanta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${VELMORA_PACKAGE_NAME})
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${VELMORA_INSTALL_NAME})
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${VELMORA_INSTALL_NAME})
set(CPACK_NSIS_DISPLAY_NAME ${VELMORA_INSTALL_NAME})
set(CPACK_OUTPUT_FILE_PREFIX ${VELMORA_DIST_DIR})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/cpack)
# The installer's own template (packaging/NSIS.template.in) and what it needs besides CPack's values.
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging)
set(CPACK_VELMORA_BITS ${VELMORA_BITS})
set(CPACK_VELMORA_ICON ${PROJECT_SOURCE_DIR}/resources/player.ico)
set(CPACK_VELMORA_VERSION_QUAD
    ${VELMORA_VERSION_MAJOR}.${VELMORA_VERSION_MINOR}.${VELMORA_VERSION_PATCH}.0)
include(CPack)
