# Runs sipocheck (natively, or the Windows build under Wine) on a UTF-16 LE input as a
# spreadsheet's "Unicode text" export writes it: the mark, tab-delimited fields; then a unit 0
# and more units, which leave part of the input unchecked: status 3.
# -D: RUNNER, SIPOCHECK, FIXTURES, WORK
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
configure_file("${FIXTURES}/unicode-export.txt" "${WORK}/in.txt" COPYONLY)
execute_process(COMMAND ${RUNNER} "${SIPOCHECK}" file in.txt --ok ok.txt --bad bad.txt
                        --column 1 --delimiter "\t"
  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE exit_code ERROR_VARIABLE err)
if(NOT exit_code EQUAL 3 OR NOT err MATCHES "3 lines read, 2 good, 1 bad"
   OR NOT err MATCHES "NUL character on line 4")
  message(FATAL_ERROR "UTF-16 input (exit ${exit_code}): ${err}")
endif()
# The mark, then each line's units and CR LF as units: "a<TAB>1234567897", "c<TAB>9876543213".
set(ok_expected "fffe6100090031003200330034003500360037003800390037000d000a006300090039003800370036003500340033003200310033000d000a00")
set(bad_expected "fffe6200090031003200330034003500360037003800390030000d000a00")
file(READ "${WORK}/ok.txt" ok HEX)
file(READ "${WORK}/bad.txt" bad HEX)
if(NOT ok STREQUAL ok_expected OR NOT bad STREQUAL bad_expected)
  message(FATAL_ERROR "unexpected outputs:\nok  ${ok}\nbad ${bad}")
endif()
