# The same commit gives the same bytes, whatever folder it is built in and whenever: no build
# folder or source folder in the objects (__FILE__, debug information), no link time in the
# executables' headers, archives without dates, owners or modes. tools/release.sh sets
# SOURCE_DATE_EPOCH to the commit's time for whatever else would read the clock.

# GCC applies the last matching map first, so the build folder (inside the source folder for the
# presets) is named after the source folder.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=build/)

if(WIN32)
  # The PE header's TimeDateStamp: 0 instead of the link time.
  add_link_options(-Wl,--no-insert-timestamp)
endif()

foreach(lang C CXX)
  set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
endforeach()
