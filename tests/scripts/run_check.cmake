# Runs "ozra --check" on one script and compares its standard error and exit
# status (1 when an error is expected, 0 when nothing or only warnings are).
execute_process(
  COMMAND ${OZRA} --check ${NAME}.ozra
  WORKING_DIRECTORY ${DIR}
  OUTPUT_VARIABLE actual_out
  ERROR_VARIABLE actual_err
  RESULT_VARIABLE status
  TIMEOUT 60)
file(READ ${DIR}/${NAME}.err expected_err)
set(expected_status 0)
string(REGEX REPLACE "[^\n]*: warning: [^\n]*\n" "" expected_errors "${expected_err}")
if(NOT expected_errors STREQUAL "")
  set(expected_status 1)
endif()
if(NOT "${expected_err}" STREQUAL "${actual_err}" OR NOT status EQUAL expected_status
   OR NOT actual_out STREQUAL "")
  message(FATAL_ERROR "${NAME}: expected status ${expected_status} and\n${expected_err}\n"
                      "got status ${status}, output\n${actual_out}\nand\n${actual_err}")
endif()
