# Runs "ozra --check" on one script and compares its standard error and exit
# status (1 when errors are expected, 0 for an empty expectation).
execute_process(
  COMMAND ${OZRA} --check ${NAME}.ozra
  WORKING_DIRECTORY ${DIR}
  OUTPUT_VARIABLE actual_out
  ERROR_VARIABLE actual_err
  RESULT_VARIABLE status
  TIMEOUT 60)
file(READ ${DIR}/${NAME}.err expected_err)
set(expected_status 0)
if(NOT expected_err STREQUAL "")
  set(expected_status 1)
endif()
if(NOT "${expected_err}" STREQUAL "${actual_err}" OR NOT status EQUAL expected_status
   OR NOT actual_out STREQUAL "")
  message(FATAL_ERROR "${NAME}: expected status ${expected_status} and\n${expected_err}\n"
                      "got status ${status}, output\n${actual_out}\nand\n${actual_err}")
endif()
