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

# The null device is a legitimate output: written in place, with no file made and no temporary.
file(WRITE "${WORK}/plain.txt" "1234567897\r\nx\r\n")
execute_process(COMMAND ${RUNNER} "${SIPOCHECK}" file plain.txt --ok NUL --bad nul-bad.txt --single-column
  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE exit_code ERROR_VARIABLE err)
file(READ "${WORK}/nul-bad.txt" bad_lines HEX)
file(GLOB leftovers "${WORK}/.sipo-*" "${WORK}/NUL" "${WORK}/nul")
if(NOT exit_code EQUAL 0 OR NOT bad_lines STREQUAL "780d0a" OR leftovers)
  message(FATAL_ERROR "NUL as an output (exit ${exit_code}, bad '${bad_lines}', left ${leftovers}): ${err}")
endif()

# A symbolic link made on the host is no reparse point under Wine, yet the system follows it: the
# link stays and the file it points to is replaced.
file(MAKE_DIRECTORY "${WORK}/data")
file(WRITE "${WORK}/data/real.txt" "old\r\n")
file(REMOVE "${WORK}/link.txt")
file(CREATE_LINK "data/real.txt" "${WORK}/link.txt" SYMBOLIC)
execute_process(COMMAND ${RUNNER} "${SIPOCHECK}" file plain.txt --ok link.txt --bad link-bad.txt --single-column
  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE exit_code ERROR_VARIABLE err)
file(READ "${WORK}/data/real.txt" real HEX)
if(NOT exit_code EQUAL 0 OR NOT IS_SYMLINK "${WORK}/link.txt" OR NOT real STREQUAL "313233343536373839370d0a")
  message(FATAL_ERROR "a link as an output (exit ${exit_code}, target '${real}'): ${err}")
endif()

# A delimiter is a character of the console that becomes its Windows-1250 byte; one that
# Windows-1250 lacks is a usage error that names it.
string(ASCII 167 section)
string(ASCII 233 eacute)
file(WRITE "${WORK}/delimited.txt" "a${section}1234567897\r\nb${eacute}1234567897\r\nc;1234567897\r\n")
foreach(delimiter_case "§;61a7" "é;62e9")
  list(GET delimiter_case 0 delimiter)
  list(GET delimiter_case 1 good)
  execute_process(COMMAND ${RUNNER} "${SIPOCHECK}" file delimited.txt --ok d-ok.txt --bad d-bad.txt
                          --column 1 --delimiter "${delimiter}"
    WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE exit_code ERROR_VARIABLE err)
  file(READ "${WORK}/d-ok.txt" ok_lines HEX)
  if(NOT exit_code EQUAL 0 OR NOT ok_lines STREQUAL "${good}313233343536373839370d0a")
    message(FATAL_ERROR "--delimiter ${delimiter} (exit ${exit_code}, good '${ok_lines}'): ${err}")
  endif()
endforeach()
execute_process(COMMAND ${RUNNER} "${SIPOCHECK}" file delimited.txt --ok d-ok.txt --bad d-bad.txt
                        --column 1 --delimiter "Ж"
  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE exit_code ERROR_VARIABLE err)
if(NOT exit_code EQUAL 2 OR NOT err MATCHES "U\\+0416")
  message(FATAL_ERROR "--delimiter Ж (exit ${exit_code}): ${err}")
endif()

# Standard output appended to the input: the run would read back its own lines, so it is refused
# before anything is read (the two handles are on one volume with one file index).
file(WRITE "${WORK}/big.txt" "1234567897\r\nx\r\n")
string(REPLACE "/" "\\" windows_sipocheck "Z:${SIPOCHECK}")
execute_process(COMMAND ${RUNNER} cmd /c "${windows_sipocheck}" file big.txt --ok - --bad big-bad.txt
                        >> big.txt
  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE exit_code ERROR_VARIABLE err)
file(READ "${WORK}/big.txt" big HEX)
if(NOT exit_code EQUAL 2 OR NOT err MATCHES "--ok standard output is the same file as the input"
   OR NOT big STREQUAL "313233343536373839370d0a780d0a" OR EXISTS "${WORK}/big-bad.txt")
  message(FATAL_ERROR "standard output appended to the input (exit ${exit_code}, input '${big}'): ${err}")
endif()

# A second drive letter for the work folder, as subst or a mapped drive makes one (under Wine a
# link among the prefix's drives): a name not made yet is one file through either letter.
set(letter "")
foreach(candidate s t u v w x y)
  if(NOT letter AND NOT EXISTS "$ENV{WINEPREFIX}/dosdevices/${candidate}:")
    set(letter ${candidate})
  endif()
endforeach()
if(NOT DEFINED ENV{WINEPREFIX} OR NOT IS_DIRECTORY "$ENV{WINEPREFIX}/dosdevices" OR NOT letter)
  message(STATUS "skipped: no Wine prefix in which to add a drive letter")
else()
  file(CREATE_LINK "${WORK}" "$ENV{WINEPREFIX}/dosdevices/${letter}:" SYMBOLIC)
  execute_process(COMMAND ${RUNNER} "${SIPOCHECK}" file plain.txt --ok new.txt --bad "${letter}:\\new.txt"
                          --single-column
    WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE exit_code ERROR_VARIABLE err)
  file(REMOVE "$ENV{WINEPREFIX}/dosdevices/${letter}:")
  if(NOT exit_code EQUAL 2 OR NOT err MATCHES "are one file" OR EXISTS "${WORK}/new.txt")
    message(FATAL_ERROR "a second drive letter (exit ${exit_code}): ${err}")
  endif()
endif()
