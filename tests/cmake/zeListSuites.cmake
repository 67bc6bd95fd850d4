# Run at build time by ze_test_suites (zeTestSuites.cmake): lists the test
# suites of PROGRAM (those FILTER selects) and writes OUT, the CTest file
# that registers one test per suite.
set(filter_option)
if(FILTER)
  set(filter_option --gtest_filter=${FILTER})
endif()
execute_process(COMMAND ${PROGRAM} --gtest_list_tests ${filter_option}
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE listing RESULT_VARIABLE status TIMEOUT 60)
if(NOT status EQUAL 0)
  file(REMOVE ${OUT})
  message(FATAL_ERROR "${PROGRAM} --gtest_list_tests failed (${status}):\n${listing}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(text "")
set(count 0)
foreach(line IN LISTS lines)
  # A suite's line is its name and a dot, perhaps with a comment after it;
  # its cases follow, indented. Other lines (gtest_main's greeting) are not.
  if(line MATCHES "^([A-Za-z0-9_/]+)\\.( .*)?$")
    set(suite ${CMAKE_MATCH_1})
    string(APPEND text
      "add_test([=[${suite}]=] [==[${PROGRAM}]==] [==[--gtest_filter=${suite}.*]==])\n"
      "set_tests_properties([=[${suite}]=] PROPERTIES WORKING_DIRECTORY [==[${WORKDIR}]==] ${PROPERTIES})\n")
    math(EXPR count "${count} + 1")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} lists no test suite")
endif()
file(WRITE ${OUT} "${text}")
