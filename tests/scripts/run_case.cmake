# Runs one conformance script through the ozra program and compares what it
# printed, its exit status and the files it generated with the expectations
# next to the script. Paths in messages are relative to the cases folder,
# which is the working folder of the run.
include(${CMAKE_CURRENT_LIST_DIR}/case_expectations.cmake)
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT})
read_expectations()

execute_process(
  COMMAND ${OZRA} ${NAME}.ozra -T${OUTPUT}/ ${extra_args}
  WORKING_DIRECTORY ${CASES}
  OUTPUT_VARIABLE actual_out
  ERROR_VARIABLE actual_err
  RESULT_VARIABLE status
  TIMEOUT 60)

expect_same("standard output" "${expected_out}" "${actual_out}")
expect_same("standard error" "${expected_err}" "${actual_err}")
expect_same("exit status" "${expected_status}" "${status}")
expect_generated_files(${OUTPUT})
