# Runs a shell test script with the path of tenkora-cli; fails when the script fails.
execute_process(COMMAND bash ${SCRIPT} ${CLI} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${SCRIPT} failed (${rc})")
endif()
