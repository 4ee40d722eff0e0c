# Shared by both builds: GoogleTest from Debian's source package, and libvlc's public headers.

set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# libvlc's headers come from Debian's libvlc-dev. The Windows build must not see /usr/include, so the
# vlc folder alone is copied into the build tree and put on the include path from there.
set(LIBVLC_HEADER_DIR /usr/include/vlc CACHE PATH "libvlc public headers")
if(NOT EXISTS ${LIBVLC_HEADER_DIR}/vlc.h)
  message(FATAL_ERROR "libvlc headers not found in ${LIBVLC_HEADER_DIR}; run scripts/install-deps.sh")
endif()
set(LIBVLC_STAGED_INCLUDE ${CMAKE_BINARY_DIR}/staged-include)
file(COPY ${LIBVLC_HEADER_DIR}/ DESTINATION ${LIBVLC_STAGED_INCLUDE}/vlc)

# Clips the tests play: generated with ffmpeg into the build tree by a fixture test.
set(TEST_CLIP_DIR ${CMAKE_BINARY_DIR}/clips)
