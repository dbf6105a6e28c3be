# Runs the viewer on the sample project in the build's installation layout and checks its exit
# code and its report: every pass ran, and the example clock wrote its debug line.
# -DVIEWER=<program> -DEMULATOR=<emulator or empty> -DFRAMES=<n>
execute_process(COMMAND ${EMULATOR} ${VIEWER} --frames ${FRAMES} --stats sample/Sample.lmr
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${output}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the viewer exited with ${result}\n${errors}")
endif()
string(REPLACE "\r" "" output "${output}")
foreach(expected "Passes: ${FRAMES} in " "  0: Elapsed time: " "  1: Pass rate: " "Pass time: p50 ")
  string(FIND "${output}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the report lacks \"${expected}\"\n${errors}")
  endif()
endforeach()
