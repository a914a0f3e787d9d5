# Registration of the libFuzzer targets with CTest: each one a short fuzz run
# with the label "fuzz" (`ctest -L fuzz`, one run per core with -j2).
#
# fax_add_fuzz(<target> SECONDS <n> [MAX_LEN <n>] [DICT <file>]
#              [SEEDS <folder-or-file> ...] [FIXTURE <name>])
#
# The target gets the fuzzer's main and the sanitizers. A run starts from the
# inputs earlier runs of this tree kept (fuzz-corpus/<target>/, where the
# fuzzer writes what it finds) and the SEEDS, which it only reads. A crash or
# a broken check fails the test; the reproducer is left in
# fuzz-out/<target>/ of the build tree. FIXTURE names a CTest fixture that
# makes seeds first.
set(FAX_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
# CI's short smoke runs give every target the same few seconds; left at 0,
# each target runs as long as its registration says.
set(FAX_FUZZ_SECONDS 0 CACHE STRING "Seconds for every fuzz run (0: each target's own)")

function(fax_add_fuzz target)
  cmake_parse_arguments(ARG "" "SECONDS;MAX_LEN;DICT;FIXTURE" "SEEDS" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS OR NOT ARG_SECONDS)
    message(FATAL_ERROR "fax_add_fuzz(${target}): SECONDS is required; unknown: ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  target_compile_options(${target} PRIVATE ${FAX_FUZZ_FLAGS})
  target_link_options(${target} PRIVATE ${FAX_FUZZ_FLAGS})

  set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${target})
  set(out ${CMAKE_BINARY_DIR}/fuzz-out/${target})
  file(MAKE_DIRECTORY ${corpus} ${out})
  if(FAX_FUZZ_SECONDS GREATER 0)
    set(ARG_SECONDS ${FAX_FUZZ_SECONDS})
  endif()
  set(args -max_total_time=${ARG_SECONDS} -artifact_prefix=${out}/)
  if(ARG_MAX_LEN)
    list(APPEND args -max_len=${ARG_MAX_LEN})
  endif()
  if(ARG_DICT)
    list(APPEND args -dict=${ARG_DICT})
  endif()
  set(folders "")
  set(files "")
  foreach(seed ${ARG_SEEDS})
    if(IS_DIRECTORY ${seed})
      list(APPEND folders ${seed})
    elseif(EXISTS ${seed} OR ARG_FIXTURE)
      list(APPEND files ${seed})
    else()
      message(FATAL_ERROR "fax_add_fuzz(${target}): no seed ${seed}")
    endif()
  endforeach()
  if(files)
    # Files named among the folders would be run once each, not fuzzed.
    string(REPLACE ";" "," files "${files}")
    list(APPEND args -seed_inputs=${files})
  endif()
  add_test(NAME fuzz.${target} COMMAND ${target} ${args} ${corpus} ${folders})
  math(EXPR limit "${ARG_SECONDS} + 120")
  set_tests_properties(fuzz.${target} PROPERTIES LABELS fuzz TIMEOUT ${limit})
  if(ARG_FIXTURE)
    set_tests_properties(fuzz.${target} PROPERTIES FIXTURES_REQUIRED ${ARG_FIXTURE})
  endif()
endfunction()
