# Runs the bundled main job as a user would: creates the sample SQLite
# database from its SQL script, runs the template project on it, and
# compares every generated file with the committed expected files.
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT}/generated)
execute_process(COMMAND ${SQLITE3} ${OUTPUT}/shop.db
  INPUT_FILE ${EXAMPLE}/shop.sql RESULT_VARIABLE status ERROR_VARIABLE error)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "creating the sample database failed: ${error}")
endif()
execute_process(
  COMMAND ${OZRA} ${EXAMPLE}/shop.ozraproj -PConnectionString=${OUTPUT}/shop.db
    -T${OUTPUT}/generated/
  OUTPUT_VARIABLE out ERROR_VARIABLE error RESULT_VARIABLE status TIMEOUT 60)
if(NOT status EQUAL 0 OR NOT error STREQUAL "")
  message(FATAL_ERROR "the example run failed (${status}): ${error}")
endif()
if(NOT out STREQUAL "Generated 7 files.\n")
  message(SEND_ERROR "unexpected output: ${out}")
endif()
file(GLOB expected RELATIVE ${EXAMPLE}/expected ${EXAMPLE}/expected/*)
file(GLOB actual RELATIVE ${OUTPUT}/generated ${OUTPUT}/generated/*)
list(SORT expected)
list(SORT actual)
if(NOT expected STREQUAL actual)
  message(SEND_ERROR "generated files differ: expected ${expected}, got ${actual}")
endif()
foreach(name ${expected})
  file(READ ${EXAMPLE}/expected/${name} want)
  file(READ ${OUTPUT}/generated/${name} got)
  if(NOT want STREQUAL got)
    message(SEND_ERROR "${name} differs\n--- expected ---\n${want}\n--- actual ---\n${got}")
  endif()
endforeach()
