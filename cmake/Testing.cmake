# Test helpers for both builds.
#
# velmora_add_test(NAME name SOURCES ... [LIBS ...] [CLIPS] [TIMEOUT s])
#   One GoogleTest program and one ctest entry (a Windows program runs under Wine as a whole, which is
#   far quicker than one Wine process per test case). CLIPS makes it wait for the generated media clips
#   and tells it where they are through VELMORA_CLIP_DIR.

add_test(NAME make_clips COMMAND ${PROJECT_SOURCE_DIR}/scripts/make-clips.sh ${TEST_CLIP_DIR})
set_tests_properties(make_clips PROPERTIES FIXTURES_SETUP clips)

function(velmora_add_test)
  cmake_parse_arguments(T "CLIPS" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gmock gtest gtest_main)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_CLIPS)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED clips
                         ENVIRONMENT "VELMORA_CLIP_DIR=${TEST_CLIP_DIR}")
  endif()
  if(VELMORA_SANITIZER_ENV)
    set_property(TEST ${T_NAME} APPEND PROPERTY ENVIRONMENT ${VELMORA_SANITIZER_ENV})
  endif()
endfunction()
