# The native build: the libvlc backend against Debian's real libvlc, and its tests.

# VELMORA_SANITIZE builds everything here with AddressSanitizer and UndefinedBehaviorSanitizer; any
# finding stops the test program with an error. libvlc and its plugins are not instrumented: what the
# interceptors see inside them is not ours (tests/sanitizers/asan.supp), and the
# leaks they leave at exit are not ours (tests/sanitizers/lsan.supp). Their plugins are unloaded before
# the leak check and have no frame pointers, so leaks are traced with the slow, full unwinder, which
# reaches the library that loaded them.
option(VELMORA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VELMORA_SANITIZE)
  set(sanitize -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${sanitize})
  add_link_options(${sanitize})
  set(VELMORA_SANITIZER_ENV
      "ASAN_OPTIONS=fast_unwind_on_malloc=0:detect_stack_use_after_return=1:strict_string_checks=1:suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizers/asan.supp"
      "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizers/lsan.supp:print_suppressions=0")
endif()

find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBVLC REQUIRED IMPORTED_TARGET libvlc)

add_library(velmora_vlc STATIC
  ${PROJECT_SOURCE_DIR}/playback/VlcPlayer.cpp
  ${PROJECT_SOURCE_DIR}/playback/FileUrl.cpp
  ${PROJECT_SOURCE_DIR}/playback/VlcApi.cpp
  ${PROJECT_SOURCE_DIR}/playback/VlcApiPosix.cpp
  ${PROJECT_SOURCE_DIR}/playback/VlcPlatformPosix.cpp)
target_include_directories(velmora_vlc PUBLIC ${PROJECT_SOURCE_DIR} ${LIBVLC_STAGED_INCLUDE})
target_link_libraries(velmora_vlc PUBLIC PkgConfig::LIBVLC)

include(cmake/Testing.cmake)
add_subdirectory(tests)
