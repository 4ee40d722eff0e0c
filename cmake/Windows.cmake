# The 32-bit Windows build: the player, its advertisement library, and the Windows test programs.

add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
# The MinGW runtime (libstdc++, libgcc, winpthread) is linked in, so nothing but system DLLs is needed.
add_link_options(-static)

include(cmake/Version.cmake)

# Test programs run under Wine, in the private prefix that scripts/wine-session prepares for a test run.
set(WINE_SESSION_ENV ${CMAKE_BINARY_DIR}/wine-session.env)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run;${WINE_SESSION_ENV})
# A 64-bit build needs a 64-bit prefix; scripts/wine-session reads which one from here.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  file(WRITE ${CMAKE_BINARY_DIR}/wine-arch "win64\n")
else()
  file(WRITE ${CMAKE_BINARY_DIR}/wine-arch "win32\n")
endif()

# Where the shipped program and its DLLs land.
set(PRODUCT_BIN_DIR ${CMAKE_BINARY_DIR}/bin)

# A shipped binary carries no debug sections: the loader would read them into the process's memory with
# the program (4 MB of the player's). They go to NAME.debug beside it, which a debugger finds through the
# debug link. Called in the folder that defines the target.
function(velmora_split_debug target)
  set(binary $<TARGET_FILE:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${binary} ${binary}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=${binary}.debug ${binary}
    VERBATIM)
endfunction()

add_subdirectory(libads)
add_subdirectory(resources)

# Everything of the player except its entry point, so the tests link the same code: one static library
# per layer, each naming only the layers below it (app -> ui -> playback), so that a call pointing up
# does not link. tests/CMakeLists.txt links the playback layer on its own to prove it.
function(velmora_layer target folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "(Posix\\.cpp|/app/main\\.cpp)$")
  add_library(${target} STATIC ${sources})
endfunction()
velmora_layer(velmora_playback playback)
target_include_directories(velmora_playback PUBLIC ${PROJECT_SOURCE_DIR})
# libvlc's header is for the library's own files (playback/Vlc*) alone: the rest of the playback layer,
# ui/, app/ and the tests that include them are built without it, so that one including it fails.
file(GLOB vlc_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/playback/Vlc*.cpp)
set_source_files_properties(${vlc_sources} PROPERTIES INCLUDE_DIRECTORIES ${LIBVLC_STAGED_INCLUDE})
target_link_libraries(velmora_playback PUBLIC user32 advapi32)
velmora_layer(velmora_ui ui)
target_include_directories(velmora_ui PUBLIC ${PROJECT_SOURCE_DIR}/resources)
target_link_libraries(velmora_ui PUBLIC velmora_playback gdiplus comctl32 shell32 ole32 uuid gdi32 user32)
velmora_layer(velmora_app app)
target_include_directories(velmora_app PUBLIC ${VELMORA_GENERATED_INCLUDE})
target_link_libraries(velmora_app PUBLIC velmora_ui libads comctl32 comdlg32 shell32 ole32 gdi32 user32 advapi32)
add_library(velmora_core INTERFACE)
target_link_libraries(velmora_core INTERFACE velmora_app)

add_executable(VelmoraPlayer WIN32 ${PROJECT_SOURCE_DIR}/app/main.cpp $<TARGET_OBJECTS:velmora_resources>)
target_link_libraries(VelmoraPlayer PRIVATE velmora_core)
# Sections aligned to pages in the file too: Wine then maps the program instead of reading it whole into
# memory of its own, so the pictures of display scales not in use take no memory.
target_link_options(VelmoraPlayer PRIVATE -municode -Wl,--file-alignment,4096)
set_target_properties(VelmoraPlayer PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PRODUCT_BIN_DIR})
velmora_split_debug(VelmoraPlayer)

include(cmake/Packaging.cmake)
include(cmake/Testing.cmake)
add_subdirectory(tests)
add_subdirectory(bench)
