# Runs the real sipocheck binary on a fixture and compares both outputs byte for byte.
# -D: RUNNER (emulator, may be empty), SIPOCHECK, FIXTURES, WORK
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
configure_file("${FIXTURES}/collection.csv" "${WORK}/collection.csv" COPYONLY)
execute_process(
  COMMAND ${RUNNER} "${SIPOCHECK}" file "collection.csv" --ok "ok.csv" --bad "bad.csv" --column 1
  WORKING_DIRECTORY "${WORK}"
  RESULT_VARIABLE exit_code ERROR_VARIABLE stderr_text OUTPUT_QUIET)
if(NOT exit_code EQUAL 0)
  message(FATAL_ERROR "sipocheck exited with ${exit_code}: ${stderr_text}")
endif()
if(NOT stderr_text MATCHES "6 lines read, 2 good, 4 bad")
  message(FATAL_ERROR "unexpected summary: ${stderr_text}")
endif()
foreach(kind ok bad)
  file(READ "${WORK}/${kind}.csv" actual HEX)
  file(READ "${FIXTURES}/collection.${kind}.expected" expected HEX)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${kind}.csv differs from the expected bytes:\n${actual}\n${expected}")
  endif()
endforeach()
