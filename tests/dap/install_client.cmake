# Installs the protocol client of the tests into TARGET with «npm ci»,
# unless the lock file installed there is the one in SOURCE already.
file(READ ${SOURCE}/package-lock.json wanted)
if(EXISTS ${TARGET}/package-lock.json AND EXISTS ${TARGET}/node_modules)
  file(READ ${TARGET}/package-lock.json installed)
  if(installed STREQUAL wanted)
    return()
  endif()
endif()
file(COPY ${SOURCE}/package.json ${SOURCE}/package-lock.json DESTINATION ${TARGET})
execute_process(
  COMMAND ${NPM} ci --prefer-offline --no-audit --no-fund --loglevel=error
  WORKING_DIRECTORY ${TARGET}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${TARGET}/package-lock.json)
  message(FATAL_ERROR "npm ci could not install the protocol client (status ${status}); "
                      "run scripts/setup once with the network to fill npm's cache")
endif()
