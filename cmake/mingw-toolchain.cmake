# What both MinGW-w64 toolchain files share; they set CMAKE_SYSTEM_PROCESSOR and MINGW_TRIPLE first.
# The posix thread model, so std::thread and std::mutex exist.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# How test programs run under Wine (scripts/wine-run with the build tree's session) is set by
# cmake/Windows.cmake, which knows the build tree.
