# SPDX-License-Identifier: GPL-3.0-or-later
# Runs from ctest (see CMakeLists.txt in this folder):
#   MODE=build        configure and build the clang fuzz build in BINARY_DIR/fuzz
#   MODE=regressions  run TARGET once over every file of its seed corpus and
#                     regression folder
#   MODE=fuzz         fuzz TARGET for RUNS inputs from SEED, starting from its
#                     seed corpus and regressions (open-ended fuzzing: tools/fuzz)
set(fuzz_build ${BINARY_DIR}/fuzz)
set(fuzz_source ${SOURCE_DIR}/tests/fuzz)

# A finding is a crash: sanitizer reports end the run with the stack.
set(ENV{ASAN_OPTIONS} "abort_on_error=1:detect_leaks=1:symbolize=1")
set(ENV{UBSAN_OPTIONS} "print_stacktrace=1:halt_on_error=1")
# Leaks inside the system's picture libraries are theirs (see the file).
set(ENV{LSAN_OPTIONS} "suppressions=${fuzz_source}/leak_suppressions.txt:print_suppressions=0")

if(MODE STREQUAL "build")
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${fuzz_source}/clang -B ${fuzz_build} -G ${GENERATOR} -C ${SETTINGS}
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "configuring the fuzz build failed")
  endif()
  execute_process(COMMAND nice ${CMAKE_COMMAND} --build ${fuzz_build} -j 2 RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "building the fuzz targets failed")
  endif()
  return()
endif()

set(program ${fuzz_build}/fuzz_${TARGET})
if(NOT EXISTS ${program})
  message(FATAL_ERROR "${program} is missing: the test fuzz_build makes it")
endif()
set(artifacts ${fuzz_build}/artifacts/${TARGET})
file(MAKE_DIRECTORY ${artifacts})
# Hostile inputs that take seconds or gigabytes are findings too.
set(limits -timeout=10 -rss_limit_mb=2048 -artifact_prefix=${artifacts}/)

if(MODE STREQUAL "regressions")
  file(GLOB inputs LIST_DIRECTORIES false ${fuzz_source}/corpus/${TARGET}/* ${fuzz_source}/regressions/${TARGET}/*)
  list(FILTER inputs EXCLUDE REGEX "/README[^/]*$")
  list(LENGTH inputs count)
  message(STATUS "fuzz_${TARGET}: running ${count} saved inputs")
  execute_process(COMMAND ${program} ${limits} ${inputs} RESULT_VARIABLE result)
elseif(MODE STREQUAL "fuzz")
  # The same verdict on every run of the same code: a fixed seed, a fixed
  # number of inputs, no time limit, and a corpus that starts from the saved
  # inputs every time (what this run finds goes to a folder emptied first, and
  # the folders are not reread meanwhile). Nothing that differs from run to
  # run may reach the code or the fuzzer's comparisons: Qt's hash seed is
  # fixed, addresses are not randomised (setarch -R, where the system allows
  # it), and the recovery target works in a folder of a fixed name. The
  # fuzzer also learns from the values its target compares, pointers among
  # them, and the stack's addresses shift with the size of the environment
  # and the arguments: the target gets a fixed environment and paths
  # relative to the fuzz build, the same whoever runs it and wherever the
  # tree lies.
  set(scratch suite-corpus/${TARGET})
  file(REMOVE_RECURSE ${fuzz_build}/${scratch})
  file(MAKE_DIRECTORY ${fuzz_build}/${scratch})
  string(MD5 build_id "${fuzz_build}")
  string(SUBSTRING ${build_id} 0 12 build_id)
  if(IS_DIRECTORY /dev/shm)
    set(work /dev/shm/pomurina-fuzz-${build_id}-${TARGET})
  else()
    set(work /tmp/pomurina-fuzz-${build_id}-${TARGET})
  endif()
  set(fixed_addresses)
  execute_process(COMMAND uname -m OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND setarch ${arch} -R true RESULT_VARIABLE no_setarch OUTPUT_QUIET ERROR_QUIET)
  if(no_setarch EQUAL 0)
    set(fixed_addresses setarch ${arch} -R)
  else()
    message(STATUS "setarch -R is not allowed here: addresses stay randomised")
  endif()
  file(RELATIVE_PATH saved ${fuzz_build} ${fuzz_source})
  # The saved inputs the run starts from; with a longest input for the run,
  # only those no longer than it (longer ones, such as a record of thousands
  # of sections, are run whole by the regressions run and fuzzed by
  # tools/fuzz: their mutations would take this run many times its time).
  set(starting ${saved}/corpus/${TARGET} ${saved}/regressions/${TARGET})
  set(max_len)
  if(MAX_LEN)
    set(max_len -max_len=${MAX_LEN})
    set(seeds suite-seeds/${TARGET})
    file(REMOVE_RECURSE ${fuzz_build}/${seeds})
    file(MAKE_DIRECTORY ${fuzz_build}/${seeds})
    file(GLOB inputs LIST_DIRECTORIES false ${fuzz_source}/corpus/${TARGET}/* ${fuzz_source}/regressions/${TARGET}/*)
    list(FILTER inputs EXCLUDE REGEX "/README[^/]*$")
    foreach(input ${inputs})
      file(SIZE ${input} size)
      if(size LESS_EQUAL MAX_LEN)
        file(COPY ${input} DESTINATION ${fuzz_build}/${seeds})
      endif()
    endforeach()
    set(starting ${seeds})
  endif()
  execute_process(COMMAND env -i PATH=/usr/bin:/bin QT_HASH_SEED=0 POMURINA_FUZZ_WORK=${work}
    "ASAN_OPTIONS=$ENV{ASAN_OPTIONS}" "UBSAN_OPTIONS=$ENV{UBSAN_OPTIONS}"
    "LSAN_OPTIONS=suppressions=${saved}/leak_suppressions.txt:print_suppressions=0"
    ${fixed_addresses} ./fuzz_${TARGET} -timeout=10 -rss_limit_mb=2048 -artifact_prefix=artifacts/${TARGET}/
    -seed=${SEED} -runs=${RUNS} -reload=0 -print_final_stats=1 ${max_len}
    ${scratch} ${starting}
    WORKING_DIRECTORY ${fuzz_build} RESULT_VARIABLE result)
  file(REMOVE_RECURSE ${work})
else()
  message(FATAL_ERROR "unknown MODE ${MODE}")
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "fuzz_${TARGET} found a failing input (${result}); it is saved under ${artifacts}/. "
    "Once fixed, copy it to tests/fuzz/regressions/${TARGET}/ so that it stays tested.")
endif()
