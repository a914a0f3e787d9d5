# Registration of test programs with CTest, the same call on every system.
#
# fax_add_gtest(<target> [PATHS <NAME> <target-or-path> ...] [WINE_NATIVE <dll> ...])
#
# On Linux each GoogleTest case becomes a test of its own. In a Windows build
# the program is one test, run under wine through the toolchain's emulator
# (cmake/wine-run.sh); finding the cases would mean starting wine at build
# time for every program, and a failing case still names itself in the
# output.
#
# PATHS gives the program compile definitions NAME="<path>": a target stands
# for its built file (and is built first), anything else is a path as it is.
# Under wine the Unix root is drive Z:, so the paths get that prefix there.
#
# WINE_NATIVE names libraries that wine must load from the program's own
# files rather than take its own (the stand-in address book libraries).

if(WIN32)
  set(FAX_TEST_PATH_PREFIX "Z:")
else()
  set(FAX_TEST_PATH_PREFIX "")
endif()

function(fax_add_gtest target)
  cmake_parse_arguments(ARG "" "" "PATHS;WINE_NATIVE" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "fax_add_gtest(${target}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  fax_test_paths(${target} ${ARG_PATHS})
  target_precompile_headers(${target} REUSE_FROM fax_gtest_pch)

  if(NOT WIN32)
    gtest_discover_tests(${target})
    return()
  endif()
  add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
  fax_wine_test_properties(${target} WINE_NATIVE ${ARG_WINE_NATIVE})
endfunction()

# fax_test_paths(<target> <NAME> <target-or-path> ...): the PATHS of
# fax_add_gtest, for test programs that are no test of their own.
function(fax_test_paths target)
  set(pairs ${ARGN})
  list(LENGTH pairs n)
  math(EXPR odd "${n} % 2")
  if(odd)
    message(FATAL_ERROR "${target}: the paths are NAME value pairs: ${pairs}")
  endif()
  while(pairs)
    list(POP_FRONT pairs name value)
    if(TARGET ${value})
      add_dependencies(${target} ${value})
      set(value "$<TARGET_FILE:${value}>")
    endif()
    target_compile_definitions(${target} PRIVATE ${name}="${FAX_TEST_PATH_PREFIX}${value}")
  endwhile()
endfunction()

# fax_wine_test_properties(<test> [WINE_NATIVE <dll> ...])
# What every test run under wine shares: one at a time (the programs share
# the prefix and its one desktop, where a window of one test could take the
# focus from another), a time limit, and the label "wine".
function(fax_wine_test_properties test)
  cmake_parse_arguments(ARG "" "" "WINE_NATIVE" ${ARGN})
  set_tests_properties(${test} PROPERTIES RESOURCE_LOCK wine_prefix TIMEOUT 300 LABELS wine)
  if(ARG_WINE_NATIVE)
    string(REPLACE ";" "," native "${ARG_WINE_NATIVE}")
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "FAX_WINE_NATIVE=${native}")
  endif()
endfunction()
