# The native build: the libvlc backend against Debian's real libvlc, and its tests.

find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBVLC REQUIRED IMPORTED_TARGET libvlc)

add_library(velmora_vlc STATIC
  ${PROJECT_SOURCE_DIR}/playback/VlcPlayer.cpp
  ${PROJECT_SOURCE_DIR}/playback/VlcApi.cpp
  ${PROJECT_SOURCE_DIR}/playback/VlcApiPosix.cpp
  ${PROJECT_SOURCE_DIR}/playback/VlcPlatformPosix.cpp)
target_include_directories(velmora_vlc PUBLIC ${PROJECT_SOURCE_DIR} ${LIBVLC_STAGED_INCLUDE})
target_link_libraries(velmora_vlc PUBLIC PkgConfig::LIBVLC)

include(cmake/Testing.cmake)
add_subdirectory(tests)
