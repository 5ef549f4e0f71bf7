# Helpers that give every library and test program of the project the same settings.

# sipo_library(NAME source... [LINKS lib...]): a static library whose headers are included as
# "folder/name.h" from the project's root, built with the project's warnings.
function(sipo_library name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${SIPO_WARNINGS})
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
  target_compile_options(${name} PRIVATE ${SIPO_WARNINGS})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
endfunction()
