# Replays one console debugger session: NAME.in on standard input, the
# transcript compared with NAME.out, standard error and the exit status
# with NAME.err (status 1 when it exists, 0 and silence otherwise).
execute_process(
  COMMAND ${OZRA} --debug ${NAME}.ozra
  WORKING_DIRECTORY ${DIR}
  INPUT_FILE ${DIR}/${NAME}.in
  OUTPUT_VARIABLE actual_out
  ERROR_VARIABLE actual_err
  RESULT_VARIABLE status
  TIMEOUT 60)
file(READ ${DIR}/${NAME}.out expected_out)
set(expected_err "")
set(expected_status 0)
if(EXISTS ${DIR}/${NAME}.err)
  file(READ ${DIR}/${NAME}.err expected_err)
  set(expected_status 1)
endif()
if(NOT "${expected_out}" STREQUAL "${actual_out}" OR NOT "${expected_err}" STREQUAL "${actual_err}"
   OR NOT status EQUAL expected_status)
  message(FATAL_ERROR "${NAME}: expected status ${expected_status},\n${expected_out}\nand\n"
                      "${expected_err}\ngot status ${status},\n${actual_out}\nand\n${actual_err}")
endif()
