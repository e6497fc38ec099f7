# SPDX-License-Identifier: GPL-3.0-or-later
# Runs from ctest (see CMakeLists.txt in this folder):
#   MODE=build        configure and build the clang fuzz build in BINARY_DIR/fuzz
#   MODE=regressions  run TARGET once over every file of its seed corpus and
#                     regression folder
#   MODE=fuzz         fuzz TARGET for SECONDS, starting from its corpus
set(fuzz_build ${BINARY_DIR}/fuzz)
set(fuzz_source ${SOURCE_DIR}/tests/fuzz)

# A finding is a crash: sanitizer reports end the run with the stack.
set(ENV{ASAN_OPTIONS} "abort_on_error=1:detect_leaks=1:symbolize=1")
set(ENV{UBSAN_OPTIONS} "print_stacktrace=1:halt_on_error=1")

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
  # New inputs go to the build's corpus; the seeds in the source tree are only read.
  set(corpus ${fuzz_build}/corpus/${TARGET})
  file(MAKE_DIRECTORY ${corpus})
  execute_process(COMMAND ${program} ${limits} -max_total_time=${SECONDS} -print_final_stats=1
    ${corpus} ${fuzz_source}/corpus/${TARGET} RESULT_VARIABLE result)
else()
  message(FATAL_ERROR "unknown MODE ${MODE}")
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "fuzz_${TARGET} found a failing input (${result}); it is saved under ${artifacts}/. "
    "Once fixed, copy it to tests/fuzz/regressions/${TARGET}/ so that it stays tested.")
endif()
