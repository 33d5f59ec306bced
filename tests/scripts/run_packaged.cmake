# A packaged program: a copy of the ozra runner with a compiled script
# appended runs that script, from a folder that holds none of its sources,
# and ignores a script named on its command line.
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT}/bin ${OUTPUT}/elsewhere)

execute_process(
  COMMAND ${OZRA} ${NAME}.ozra -C${OUTPUT}/${NAME}.ozrabin
  WORKING_DIRECTORY ${CASES}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NAME}: the compile failed")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E cat ${OZRA} ${OUTPUT}/${NAME}.ozrabin
  OUTPUT_FILE ${OUTPUT}/bin/generator)
file(CHMOD ${OUTPUT}/bin/generator PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
file(READ ${CASES}/${NAME}.out expected_out)

foreach(extra "" "${CASES}/error_runtime.ozra")
  execute_process(
    COMMAND ${OUTPUT}/bin/generator ${extra}
    WORKING_DIRECTORY ${OUTPUT}/elsewhere
    OUTPUT_VARIABLE actual_out
    ERROR_VARIABLE actual_err
    RESULT_VARIABLE status
    TIMEOUT 60)
  if(NOT status EQUAL 0 OR NOT actual_err STREQUAL "" OR NOT actual_out STREQUAL expected_out)
    message(FATAL_ERROR "packaged ${NAME} (${extra}): status ${status}\n"
                        "--- expected ---\n${expected_out}\n--- actual ---\n${actual_out}\n"
                        "--- error ---\n${actual_err}")
  endif()
endforeach()
