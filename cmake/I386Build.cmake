# The i386 Linux modules, built and tested as part of the x86-64 build.
#
# The x86-64 build configures this same source tree a second time, with -m32
# (cmake/i386-linux.toolchain.cmake), into <build>/i386 and builds it as a
# step of its own build. The nested tree writes its modules beside the x86-64
# ones, into <build>/glnx86/, and builds its own 32-bit stand-in host and
# test programs. Every test of the nested tree is registered in this tree as
# "i386.<name>", so one ctest run covers both builds.
#
# On by default wherever a -m32 C++ program compiles and links; off with
# -DWAVELET_I386=OFF. Where the kernel cannot run 32-bit programs, the whole
# tier (test programs, mexcall, the digest program, the rounded twin) runs
# under qemu-i386, whose x87 emulation keeps the 80-bit format;
# -DWAVELET_I386_EMULATE=ON does so everywhere. With CI=true a missing 32-bit
# toolchain, or a machine that can run the tier neither way, is an error
# rather than a skip.

option(WAVELET_I386 "Also build the i386 Linux modules and run the test suite against them" ON)
option(WAVELET_I386_EMULATE "Run the i386 tests under qemu-i386 even where they run natively" OFF)

# The nested tree itself, any non-Linux or 32-bit build, and the sanitized
# checking builds stop here.
if(NOT WAVELET_I386 OR NOT CMAKE_SIZEOF_VOID_P EQUAL 8 OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux"
   OR WAVELET_SANITIZE)
  return()
endif()

# Can this machine build and run 32-bit C++ programs (gcc-multilib and
# g++-multilib on Debian)? The probe uses the C++ runtime and exceptions,
# as the test programs do. A failed build is tried again at the next
# configure (the packages may have come since).
if(NOT DEFINED WAVELET_I386_PROBE_RUN OR WAVELET_I386_PROBE_RUN STREQUAL "FAILED_TO_COMPILE")
  unset(WAVELET_I386_PROBE_RUN CACHE)
  unset(WAVELET_I386_PROBE_COMPILE CACHE)
  set(probe "${CMAKE_BINARY_DIR}/CMakeFiles/i386_probe.cpp")
  file(WRITE "${probe}" [=[
#include <stdexcept>
#include <string>
#include <vector>
static_assert(sizeof(void *) == 4, "not a 32-bit target");
int main() {
    std::vector<std::string> v{"probe"};
    try {
        throw std::runtime_error(v[0]);
    } catch (const std::exception &e) {
        return std::string(e.what()) == "probe" ? 0 : 1;
    }
}
]=])
  try_run(WAVELET_I386_PROBE_RUN WAVELET_I386_PROBE_COMPILE
    "${CMAKE_BINARY_DIR}/CMakeFiles/i386_probe" "${probe}"
    COMPILE_DEFINITIONS -m32
    LINK_OPTIONS -m32
    COMPILE_OUTPUT_VARIABLE probe_output)
  if(NOT WAVELET_I386_PROBE_COMPILE)
    # A failed compile leaves the run result unset; keep the outcome cached.
    set(WAVELET_I386_PROBE_RUN "FAILED_TO_COMPILE" CACHE INTERNAL "")
    string(REGEX REPLACE "\n" "\n  " probe_output "${probe_output}")
    message(STATUS "i386 probe output:\n  ${probe_output}")
  endif()
endif()

if(WAVELET_I386_PROBE_RUN STREQUAL "FAILED_TO_COMPILE")
  wavelet_missing("the i386 build (off with -DWAVELET_I386=OFF)"
    "a -m32 C++ program does not build here (install gcc-multilib and g++-multilib)")
  return()
endif()

# A kernel built without 32-bit support links -m32 programs but cannot run
# them: there the tier runs under qemu-i386 (WAVELET_I386_RUN, the words
# that start an i386 program; empty for a native start). Without either the
# modules are still built, and their tests show as one skipped test.
set(WAVELET_I386_RUNS ON)
set(WAVELET_I386_RUN "")
if(NOT WAVELET_I386_PROBE_RUN STREQUAL "0" OR WAVELET_I386_EMULATE)
  find_program(WAVELET_QEMU_I386 qemu-i386)
  if(WAVELET_QEMU_I386)
    set(WAVELET_I386_RUN "${WAVELET_QEMU_I386}")
    message(STATUS "i386 tests: under ${WAVELET_QEMU_I386}")
  else()
    set(WAVELET_I386_RUNS OFF)
    wavelet_missing("the i386 tests"
      "32-bit programs do not run on this machine and qemu-i386 is missing (install qemu-user)")
  endif()
endif()
set(WAVELET_I386_TESTS ${WAVELET_TESTS})
if(NOT WAVELET_I386_RUNS)
  set(WAVELET_I386_TESTS OFF)
endif()

include("${CMAKE_CURRENT_LIST_DIR}/CrossBuild.cmake")
set(WAVELET_I386_DIR "${CMAKE_BINARY_DIR}/i386")
set(toolchain "${PROJECT_SOURCE_DIR}/cmake/i386-linux.toolchain.cmake")
wavelet_cross_build(NAME i386 TOOLCHAIN "${toolchain}"
  ARGS "-DWAVELET_TESTS=${WAVELET_I386_TESTS}" "-DWAVELET_EMULATOR=${WAVELET_I386_RUN}")

# The i386 macOS flavour (SSE2 sums rounded to double) cannot run here, so
# its twin for i386 Linux runs the digest program: it must reproduce the
# 64-bit digests (test i386.rounded_same_bits_as_x86_64).
if(WAVELET_I386_RUNS AND WAVELET_TESTS)
  set(WAVELET_I386_ROUNDED_DIR "${CMAKE_BINARY_DIR}/i386-rounded")
  wavelet_cross_build(NAME i386-rounded TOOLCHAIN "${toolchain}"
    TEST_DIRS platforms
    TARGET wavelet_digest
    ARGS -DWAVELET_I386_ROUNDED=ON "-DMEX_OUTPUT_ROOT=${WAVELET_I386_ROUNDED_DIR}/modules")
endif()

# The test folders are read once the whole tree has been configured. Started
# natively, each test program runs directly; under the emulator, through the
# nested tree's own tests, which start it there.
set(direct DIRECT)
if(WAVELET_I386_RUN)
  set(direct)
endif()
if(WAVELET_I386_TESTS)
  cmake_language(DEFER DIRECTORY "${PROJECT_SOURCE_DIR}"
    CALL wavelet_mirror_tests PREFIX i386 TREE "${WAVELET_I386_DIR}" LABEL i386 ${direct}
         DIRS "${PROJECT_SOURCE_DIR}/tests")
elseif(WAVELET_TESTS)
  add_test(NAME i386.suite COMMAND sh -c "echo '32-bit programs do not run on this machine'; exit 77")
  set_tests_properties(i386.suite PROPERTIES SKIP_RETURN_CODE 77 LABELS i386)
endif()
