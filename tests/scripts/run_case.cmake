# Runs one conformance script through the ozra program and compares what it
# printed, its exit status and the files it generated with the expectations
# next to the script. Paths in messages are relative to the cases folder,
# which is the working folder of the run.
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT})

set(extra_args "")
if(EXISTS ${CASES}/${NAME}.args)
  file(STRINGS ${CASES}/${NAME}.args extra_args)
endif()

execute_process(
  COMMAND ${OZRA} ${NAME}.ozra -T${OUTPUT}/ ${extra_args}
  WORKING_DIRECTORY ${CASES}
  OUTPUT_VARIABLE actual_out
  ERROR_VARIABLE actual_err
  RESULT_VARIABLE status
  TIMEOUT 60)

set(failed FALSE)
function(expect_same what expected actual)
  if(NOT "${expected}" STREQUAL "${actual}")
    message(SEND_ERROR "${NAME}: ${what} differs\n--- expected ---\n${expected}\n--- actual ---\n${actual}\n---")
  endif()
endfunction()

set(expected_out "")
if(EXISTS ${CASES}/${NAME}.out)
  file(READ ${CASES}/${NAME}.out expected_out)
endif()
expect_same("standard output" "${expected_out}" "${actual_out}")

set(expected_status 0)
set(expected_err "")
if(EXISTS ${CASES}/${NAME}.err)
  set(expected_status 1)
  file(READ ${CASES}/${NAME}.err expected_err)
endif()
expect_same("standard error" "${expected_err}" "${actual_err}")
expect_same("exit status" "${expected_status}" "${status}")

set(actual_files "")
file(GLOB_RECURSE generated RELATIVE ${OUTPUT} ${OUTPUT}/*)
list(SORT generated)
foreach(path ${generated})
  file(READ ${OUTPUT}/${path} content)
  string(APPEND actual_files "== ${path}\n${content}")
endforeach()
set(expected_files "")
if(EXISTS ${CASES}/${NAME}.files)
  file(READ ${CASES}/${NAME}.files expected_files)
endif()
expect_same("generated files" "${expected_files}" "${actual_files}")
