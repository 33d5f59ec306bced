# Runs one conformance script the compiled way: "ozra /C" writes its
# compiled stream, and "ozra NAME.ozrabin" must then print, exit with and
# generate exactly what the source run does (its expectations next to the
# script). A loaded tree has no source positions, so run-time messages lose
# their " @ file line:column". A script that does not compile must fail the
# /C step with the source run's message instead.
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT}/files)
# Template files are read from the compiled script's folder.
file(CREATE_LINK ${CASES}/units ${OUTPUT}/units SYMBOLIC)
# Extra command-line words apply to the run; the data files they name
# (NAME*.xml) are read from the compiled script's folder too.
set(extra_args "")
if(EXISTS ${CASES}/${NAME}.args)
  file(STRINGS ${CASES}/${NAME}.args extra_args)
  file(GLOB data_files RELATIVE ${CASES} ${CASES}/${NAME}*.xml)
  foreach(data_file ${data_files})
    file(CREATE_LINK ${CASES}/${data_file} ${OUTPUT}/${data_file} SYMBOLIC)
  endforeach()
endif()

function(expect_same what expected actual)
  if(NOT "${expected}" STREQUAL "${actual}")
    message(SEND_ERROR "${NAME}: ${what} differs\n--- expected ---\n${expected}\n--- actual ---\n${actual}\n---")
  endif()
endfunction()

set(expected_out "")
if(EXISTS ${CASES}/${NAME}.out)
  file(READ ${CASES}/${NAME}.out expected_out)
endif()
set(expected_status 0)
set(expected_err "")
if(EXISTS ${CASES}/${NAME}.err)
  set(expected_status 1)
  file(READ ${CASES}/${NAME}.err expected_err)
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
string(REGEX REPLACE " @ [^ \n]+ [0-9]+:[0-9]+" "" expected_err "${expected_err}")
expect_same("standard output" "${expected_out}" "${actual_out}")
expect_same("standard error" "${expected_err}" "${actual_err}")
expect_same("exit status" "${expected_status}" "${status}")

set(actual_files "")
file(GLOB_RECURSE generated RELATIVE ${OUTPUT}/files ${OUTPUT}/files/*)
list(SORT generated)
foreach(path ${generated})
  file(READ ${OUTPUT}/files/${path} content)
  string(APPEND actual_files "== ${path}\n${content}")
endforeach()
set(expected_files "")
if(EXISTS ${CASES}/${NAME}.files)
  file(READ ${CASES}/${NAME}.files expected_files)
endif()
expect_same("generated files" "${expected_files}" "${actual_files}")
