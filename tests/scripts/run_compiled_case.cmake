# Runs one conformance script the compiled way: "ozra /C" writes its
# compiled stream, and "ozra NAME.ozrabin" must then print, exit with and
# generate exactly what the source run does (its expectations next to the
# script). A loaded tree has no source positions, so a run-time error reads
# «ozra: message», without the calls it left; NAME.compiled.err, when it
# exists, holds the standard error instead (a script compiled at run time
# from source keeps its positions). A script that does not compile must fail
# the /C step with the source run's message instead.
include(${CMAKE_CURRENT_LIST_DIR}/case_expectations.cmake)
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT}/files)
read_expectations()
# Template files are read from the compiled script's folder, and so are the
# data files (NAME*.xml) that the extra command-line words name.
file(CREATE_LINK ${CASES}/units ${OUTPUT}/units SYMBOLIC)
if(extra_args)
  file(GLOB data_files RELATIVE ${CASES} ${CASES}/${NAME}*.xml)
  foreach(data_file ${data_files})
    file(CREATE_LINK ${CASES}/${data_file} ${OUTPUT}/${data_file} SYMBOLIC)
  endforeach()
endif()

execute_process(
  COMMAND ${OZRA} ${NAME}.ozra -C${OUTPUT}/${NAME}.ozrabin
  WORKING_DIRECTORY ${CASES}
  OUTPUT_VARIABLE compile_out
  ERROR_VARIABLE compile_err
  RESULT_VARIABLE compile_status
  TIMEOUT 60)
expect_same("compile output" "" "${compile_out}")
if(NOT compile_status EQUAL 0)
  expect_same("compile error" "${expected_err}" "${compile_err}")
  if(EXISTS ${OUTPUT}/${NAME}.ozrabin)
    message(SEND_ERROR "${NAME}: a failed compile wrote ${NAME}.ozrabin")
  endif()
  return()
endif()

execute_process(
  COMMAND ${OZRA} ${NAME}.ozrabin -T${OUTPUT}/files/ ${extra_args}
  WORKING_DIRECTORY ${OUTPUT}
  OUTPUT_VARIABLE actual_out
  ERROR_VARIABLE actual_err
  RESULT_VARIABLE status
  TIMEOUT 60)
if(EXISTS ${CASES}/${NAME}.compiled.err)
  file(READ ${CASES}/${NAME}.compiled.err expected_err)
else()
  string(REGEX REPLACE "[^\n]+:[0-9]+:[0-9]+: called from here\n" "" expected_err "${expected_err}")
  string(REPLACE "ozra: ... more calls ...\n" "" expected_err "${expected_err}")
  string(REGEX REPLACE "(^|\n)[^\n]+:[0-9]+:[0-9]+: " "\\1ozra: " expected_err "${expected_err}")
endif()
expect_same("standard output" "${expected_out}" "${actual_out}")
expect_same("standard error" "${expected_err}" "${actual_err}")
expect_same("exit status" "${expected_status}" "${status}")

expect_generated_files(${OUTPUT}/files)
