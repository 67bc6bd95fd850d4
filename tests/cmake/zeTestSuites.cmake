# Registers a GoogleTest program's tests with CTest one test suite at a
# time: one CTest test per suite, running `PROGRAM --gtest_filter=Suite.*`.
# A test process of the sanitized build costs about a tenth of a second of
# CPU time to start and end, whatever it runs; one per case made that a
# seventh of the suite's time. The suites are listed when the program is
# built, as gtest_discover_tests lists the cases.
#
#   ze_test_suites(TARGET [NAME KEY] [TEST_FILTER FILTER] [PROPERTIES ...])
#
# TEST_FILTER restricts the suites (a --gtest_filter pattern that names
# whole suites, such as "Pipeline.*" or "-Pipeline.*"); NAME tells apart two
# calls for one program; PROPERTIES are set on every test registered.
set(ZE_TEST_SUITES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/zeListSuites.cmake)

function(ze_test_suites target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "NAME;TEST_FILTER" "PROPERTIES")
  set(key ${target}${arg_NAME})
  set(suites_file ${CMAKE_CURRENT_BINARY_DIR}/${key}_suites.cmake)
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${key}_include.cmake)
  string(REPLACE ";" " " properties "${arg_PROPERTIES}")
  add_custom_command(TARGET ${target} POST_BUILD
    BYPRODUCTS ${suites_file}
    COMMAND ${CMAKE_COMMAND} -D PROGRAM=$<TARGET_FILE:${target}> -D FILTER=${arg_TEST_FILTER}
            -D OUT=${suites_file} -D WORKDIR=${CMAKE_CURRENT_BINARY_DIR}
            -D PROPERTIES=${properties} -P ${ZE_TEST_SUITES_SCRIPT}
    VERBATIM)
  file(WRITE ${include_file}
    "if(EXISTS \"${suites_file}\")\n"
    "  include(\"${suites_file}\")\n"
    "else()\n"
    "  add_test(${key}_NOT_BUILT ${key}_NOT_BUILT)\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
