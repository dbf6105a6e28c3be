# vexilon_add_test(<target> SOURCES <src>... [LINK_LIBRARIES <lib>...])
# A GoogleTest executable in bin/, linked to gtest_main. Tests are listed when ctest runs
# (PRE_TEST), so that a cross build lists them through the emulator (Wine) at test time
# instead of at build time. Tests run in bin/, beside the libraries they load.
function(vexilon_add_test target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LINK_LIBRARIES")
  if(NOT arg_SOURCES)
    message(FATAL_ERROR "vexilon_add_test(${target}): SOURCES is required")
  endif()
  add_executable(${target} ${arg_SOURCES})
  target_link_libraries(${target} PRIVATE GTest::gtest_main ${arg_LINK_LIBRARIES})
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY "${CMAKE_BINARY_DIR}/bin"
    PROPERTIES TIMEOUT 300)
endfunction()
