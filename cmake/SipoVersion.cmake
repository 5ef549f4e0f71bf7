# The version header and the manifests, written from resources/*.in with the version that the top
# CMakeLists.txt's project() states. Code includes "resources/version.h"; the resource scripts name
# "resources/<exe>.manifest"; both are found in the build folder's generated/.
if(PROJECT_VERSION_TWEAK STREQUAL "")
  # A version resource holds four numbers, and the About window shows all four.
  message(FATAL_ERROR "project() needs a version of four numbers: major.minor.release.build")
endif()

set(SIPO_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/resources/version.h.in
               ${SIPO_GENERATED_DIR}/resources/version.h @ONLY)
foreach(exe sipo sipocheck)
  configure_file(${PROJECT_SOURCE_DIR}/resources/${exe}.manifest.in
                 ${SIPO_GENERATED_DIR}/resources/${exe}.manifest @ONLY)
endforeach()
include_directories(BEFORE ${SIPO_GENERATED_DIR})
