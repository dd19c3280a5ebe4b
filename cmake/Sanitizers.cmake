# Checking builds, nested trees of the x86-64 build in folders of their own
# (off with -DWAVELET_CHECKING_BUILDS=OFF):
#  - sanitize: the suite with AddressSanitizer and UndefinedBehaviorSanitizer
#    ("sanitize.suite"), but the export and Octave tests and the digest,
#    whose routines the fast-path, grid and command tests run at its sizes;
#  - tsan: the concurrency test with ThreadSanitizer ("tsan.concurrency");
#  - fuzz: with clang, a libFuzzer program per command ("fuzz.<Command>"),
#    WAVELET_FUZZ_SECONDS each from fuzz/corpus/. A crash, a report, a leak
#    or a broken gateway rule fails it and leaves the input in
#    <build>/fuzz-artifacts/.
option(WAVELET_CHECKING_BUILDS "Also build and test with sanitizers and fuzzers" ON)
set(WAVELET_FUZZ_SECONDS 5 CACHE STRING "How long each command is fuzzed by the test suite")
if(WAVELET_FUZZ)
  add_subdirectory("${PROJECT_SOURCE_DIR}/fuzz" "${CMAKE_BINARY_DIR}/fuzz")
  return()
endif()
if(NOT WAVELET_CHECKING_BUILDS OR WAVELET_SANITIZE OR NOT WAVELET_TESTS
   OR NOT CMAKE_SIZEOF_VOID_P EQUAL 8 OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()
include("${CMAKE_CURRENT_LIST_DIR}/CrossBuild.cmake")

# Line tables are all a report needs; full debug data only slows the build.
function(checking_build name)
  wavelet_cross_build(NAME ${name} ${ARGN} "-DCMAKE_BUILD_TYPE=RelWithDebInfo"
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "-DMEX_OUTPUT_ROOT=${CMAKE_BINARY_DIR}/${name}"
    "-DOCTAVE_CLI_EXECUTABLE=OCTAVE_CLI_EXECUTABLE-NOTFOUND")
endfunction()

checking_build(sanitize TEST_DIRS kernels commands grid symmetric hardening fast i386
  ARGS "-DWAVELET_SANITIZE=address,undefined")
add_test(NAME sanitize.suite
  COMMAND "${CMAKE_CTEST_COMMAND}" --test-dir "${CMAKE_BINARY_DIR}/sanitize" --output-on-failure
          --parallel 2)
set_tests_properties(sanitize.suite PROPERTIES LABELS sanitize TIMEOUT 1500)

checking_build(tsan TARGET concurrency_test ARGS "-DWAVELET_SANITIZE=thread")
add_test(NAME tsan.concurrency COMMAND "${CMAKE_BINARY_DIR}/tsan/tests/hardening/concurrency_test")
set_tests_properties(tsan.concurrency PROPERTIES LABELS sanitize TIMEOUT 300)

find_program(WAVELET_CLANG_CXX NAMES clang++ clang++-14)
find_program(WAVELET_CLANG_C NAMES clang clang-14)
if(NOT WAVELET_CLANG_CXX OR NOT WAVELET_CLANG_C)
  wavelet_missing("the fuzzers" "clang is not installed (Debian package clang-14)")
  return()
endif()
checking_build(fuzz TARGET fuzzers ARGS "-DCMAKE_CXX_COMPILER=${WAVELET_CLANG_CXX}"
  "-DCMAKE_C_COMPILER=${WAVELET_CLANG_C}" "-DWAVELET_SANITIZE=address,undefined"
  "-DWAVELET_TESTS=OFF" "-DWAVELET_FUZZ=ON")
# Each fuzzer grows a scratch corpus of its own from the committed seeds.
set(artifacts "${CMAKE_BINARY_DIR}/fuzz-artifacts")
file(MAKE_DIRECTORY "${artifacts}")
foreach(command ${WAVELET_COMMANDS})
  set(scratch "${CMAKE_BINARY_DIR}/fuzz/corpus/${command}")
  file(MAKE_DIRECTORY "${scratch}")
  add_test(NAME fuzz.${command}
    COMMAND "${CMAKE_BINARY_DIR}/fuzz/fuzz/fuzz_${command}" -max_total_time=${WAVELET_FUZZ_SECONDS}
            -timeout=20 -rss_limit_mb=2048 -print_final_stats=1
            "-artifact_prefix=${artifacts}/${command}-" "${scratch}" "${PROJECT_SOURCE_DIR}/fuzz/corpus/${command}")
  set_tests_properties(fuzz.${command} PROPERTIES LABELS fuzz TIMEOUT 600)
endforeach()
