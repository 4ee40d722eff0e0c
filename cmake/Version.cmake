# The player's version: set once, by project() in CMakeLists.txt. It reaches the version resource and the
# about box through a generated header, and the package names through CPack (cmake/Packaging.cmake).
# Numbers the version leaves out count as 0 ("1.0" is 1.0.0.0).
foreach(part MAJOR MINOR PATCH)
  set(VELMORA_VERSION_${part} "${PROJECT_VERSION_${part}}")
  if("${VELMORA_VERSION_${part}}" STREQUAL "")
    set(VELMORA_VERSION_${part} 0)
  endif()
endforeach()
set(VELMORA_VERSION_TEXT ${PROJECT_VERSION})

set(VELMORA_GENERATED_INCLUDE ${CMAKE_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/resources/VelmoraVersion.h.in
               ${VELMORA_GENERATED_INCLUDE}/VelmoraVersion.h @ONLY)
