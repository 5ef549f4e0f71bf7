# Runs the Windows build of sipocheck under Wine as a console program: standard input in binary
# mode (a byte 0x1A is a byte like any other) and file names outside Windows-1250.
# -D: RUNNER, SIPOCHECK, WORK
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# Text mode would end standard input at 0x1A and report the first number's success alone.
string(ASCII 26 sub)
file(WRITE "${WORK}/stdin.txt" "1234567897\n${sub}\n1234567890\n")
execute_process(COMMAND ${RUNNER} "${SIPOCHECK}" check
  INPUT_FILE "${WORK}/stdin.txt" RESULT_VARIABLE exit_code OUTPUT_VARIABLE out)
if(NOT exit_code EQUAL 1 OR NOT out MATCHES "\"1234567890\";")
  message(FATAL_ERROR "0x1A ended standard input (exit ${exit_code}):\n${out}")
endif()
string(REGEX MATCHALL "\n" records "${out}")
list(LENGTH records count)
if(NOT count EQUAL 3 OR out MATCHES "\r")
  message(FATAL_ERROR "expected three records ended by LF alone:\n${out}")
endif()

# Cyrillic and Japanese letters have no Windows-1250 byte.
set(input "vstup-данные-日本.txt")
set(ok "správné-ок.txt")
set(bad "chybné-плохо.txt")
file(WRITE "${WORK}/${input}" "1234567897\r\nx\r\n")
execute_process(COMMAND ${RUNNER} "${SIPOCHECK}" file "${input}" --ok "${ok}" --bad "${bad}" --single-column
  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE exit_code ERROR_VARIABLE err)
if(NOT exit_code EQUAL 0 OR NOT EXISTS "${WORK}/${ok}" OR NOT EXISTS "${WORK}/${bad}")
  message(FATAL_ERROR "names outside Windows-1250 (exit ${exit_code}): ${err}")
endif()
file(READ "${WORK}/${ok}" good HEX)
if(NOT good STREQUAL "313233343536373839370d0a")
  message(FATAL_ERROR "unexpected good lines: ${good}")
endif()
