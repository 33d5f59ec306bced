# Runs one hostile script, made here because it is too big to keep, through
# the ozra program: the run must end with exit status 1 and the expected
# message on standard error, never with a signal.
if(NAME STREQUAL "long_expression")
  # One expression of 80,001 terms.
  string(REPEAT " + 1" 80000 terms)
  set(script "<.var x = 1${terms}.>[.= x.]")
  set(expected "stack overflow\\. @ [^ ]+ 1:3")
elseif(NAME STREQUAL "long_argument")
  # The same expression as a library method's argument.
  string(REPEAT " + 1" 80000 terms)
  set(script "<.var x = 'a'.Replicate(1${terms}).>[.= x.]")
  set(expected "stack overflow\\. @ [^ ]+ 1:3")
elseif(NAME STREQUAL "nested_ifs")
  # 200,000 if blocks, each inside the one before.
  string(REPEAT "if (1) " 200000 heads)
  string(REPEAT "end if " 200000 ends)
  set(script "<.var x = 0 ${heads}x = 1 ${ends}.>[.= x.]")
  set(expected "stack overflow\\. @ [^ ]+ 1:[0-9]+")
elseif(NAME STREQUAL "nested_if_blocks")
  # The same nesting written as one code block per statement.
  string(REPEAT "<.if (1).>" 200000 heads)
  string(REPEAT "<.end if.>" 200000 ends)
  set(script "${heads}deep${ends}")
  set(expected "stack overflow\\. @ [^ ]+ 1:[0-9]+")
else()
  message(FATAL_ERROR "unknown hostile script ${NAME}")
endif()

file(MAKE_DIRECTORY ${OUTPUT})
file(WRITE ${OUTPUT}/${NAME}.ozra "${script}")
execute_process(
  COMMAND ${OZRA} ${NAME}.ozra
  WORKING_DIRECTORY ${OUTPUT}
  OUTPUT_QUIET
  ERROR_VARIABLE actual_err
  RESULT_VARIABLE status
  TIMEOUT 300)
if(NOT status STREQUAL "1")
  message(SEND_ERROR "${NAME}: exit status ${status}, expected 1\n${actual_err}")
endif()
if(NOT actual_err MATCHES "^Runtime error : ${expected}\n$")
  message(SEND_ERROR "${NAME}: standard error differs\n--- expected (pattern) ---\nRuntime error : ${expected}\n--- actual ---\n${actual_err}\n---")
endif()
