# Runs the test host and checks both its exit code and what it printed.
# -DHOST=<program> -DEMULATOR=<emulator or empty> -DPASSES=<n>
execute_process(COMMAND ${EMULATOR} ${HOST} ${PASSES}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${output}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "test host exited with ${result}\n${errors}")
endif()
string(REPLACE "\r" "" output "${output}")
set(expected "engine version 57\npasses ${PASSES}\nframe counter ${PASSES}\nstart channel calls ${PASSES}\nevent 0 dispatches ${PASSES}\nshut down\n")
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "unexpected output; expected:\n${expected}")
endif()
