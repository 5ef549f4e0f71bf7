# Helpers that give every library and test program of the project the same settings.

# The project's warnings, for its own code only (GoogleTest is built without them). With
# SIPO_WERROR, as the presets that CI builds set it, a warning fails the build.
option(SIPO_WERROR "Treat the project's warnings as errors" OFF)
add_library(sipo_warnings INTERFACE)
target_compile_options(sipo_warnings INTERFACE -Wall -Wextra $<$<BOOL:${SIPO_WERROR}>:-Werror>)

# The Windows API as every Windows target of the project uses it: the wide (UTF-16) calls, no
# min/max macros, and the calls of Windows 10 (GetDpiForWindow and its kin).
add_library(sipo_windows_api INTERFACE)
target_compile_definitions(sipo_windows_api INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                      _WIN32_WINNT=0x0A00 WINVER=0x0A00)

# sipo_library(NAME source... [LINKS lib...]): a static library whose headers are included as
# "folder/name.h" from the project's root, built with the project's warnings.
function(sipo_library name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE sipo_warnings)
  if(ARG_LINKS)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  endif()
endfunction()

# sipo_gtest(NAME source... LINKS lib...): a GoogleTest program whose tests CTest lists one by
# one (under Wine in the Windows build, where the first start of a program can take a while).
function(sipo_gtest name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest_main)
  target_link_libraries(${name} PRIVATE sipo_warnings)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
endfunction()
