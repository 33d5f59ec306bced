# What a conformance script must do, read from the files next to it, and the
# comparisons both ways of running it (from source and compiled) make.
# NAME.out: the exact standard output; NAME.err: the exact standard error,
# which also means exit status 1 (0 otherwise); NAME.args: extra
# command-line words, one per line; NAME.files: the generated files.

function(expect_same what expected actual)
  if(NOT "${expected}" STREQUAL "${actual}")
    message(SEND_ERROR "${NAME}: ${what} differs\n--- expected ---\n${expected}\n--- actual ---\n${actual}\n---")
  endif()
endfunction()

# Sets expected_out, expected_err, expected_status and extra_args.
macro(read_expectations)
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
  set(extra_args "")
  if(EXISTS ${CASES}/${NAME}.args)
    file(STRINGS ${CASES}/${NAME}.args extra_args)
  endif()
endmacro()

# Compares every file under `folder` (each as a "== path" line followed by
# its bytes, in path order) with NAME.files.
function(expect_generated_files folder)
  set(actual_files "")
  file(GLOB_RECURSE generated RELATIVE ${folder} ${folder}/*)
  list(SORT generated)
  foreach(path ${generated})
    file(READ ${folder}/${path} content)
    string(APPEND actual_files "== ${path}\n${content}")
  endforeach()
  set(expected_files "")
  if(EXISTS ${CASES}/${NAME}.files)
    file(READ ${CASES}/${NAME}.files expected_files)
  endif()
  expect_same("generated files" "${expected_files}" "${actual_files}")
endfunction()
