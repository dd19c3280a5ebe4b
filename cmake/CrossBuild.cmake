include_guard(GLOBAL)
include(ExternalProject)
# wavelet_missing(<what is skipped> <why>): a part whose tools are missing;
# an error in CI (CI=true), where every part is required.
function(wavelet_missing what why)
  if("$ENV{CI}" STREQUAL "true")
    message(FATAL_ERROR "In CI ${what} is required, but ${why}.")
  endif()
  message(WARNING "Skipping ${what}: ${why}.")
endfunction()

# wavelet_cross_build(NAME <name> [TOOLCHAIN <file>] [TARGET <target>]
#                     [TEST_DIRS <dir>...] [EMULATOR <word>...]
#                     [MIRROR <on> TIMEOUT <s> [FIXTURE <f>]] [ARGS <arg>...])
# The one rule for every nested tree (other platforms, checking builds):
# this source tree configured again into <build>/<name> with the toolchain,
# and built (or its TARGET) as the step wavelet_<name>. The nested tree
# builds the folders TEST_DIRS of tests/ (all of them if none are named)
# and runs its programs through EMULATOR. With MIRROR on, each test of those
# folders is also a test of this tree, "<name>.<test>" (label <name>). ARGS come last,
# so they may override the defaults.
function(wavelet_cross_build)
  cmake_parse_arguments(ARG "" "NAME;TOOLCHAIN;TARGET;MIRROR;TIMEOUT;FIXTURE"
                        "TEST_DIRS;EMULATOR;ARGS" ${ARGN})
  set(tree "${CMAKE_BINARY_DIR}/${ARG_NAME}")
  list(JOIN ARG_EMULATOR "|" emulator)
  list(JOIN ARG_TEST_DIRS "|" dirs)
  set(toolchain)
  if(ARG_TOOLCHAIN)
    set(toolchain "-DCMAKE_TOOLCHAIN_FILE=${ARG_TOOLCHAIN}")
  endif()
  # A nested tree builds with the parent's make jobs when both use make.
  set(build "${CMAKE_COMMAND}" --build . --target ${ARG_TARGET})
  if(CMAKE_GENERATOR MATCHES "Makefiles")
    set(build "$(MAKE)" ${ARG_TARGET})
  elseif(NOT ARG_TARGET)
    set(build "${CMAKE_COMMAND}" --build .)
  endif()
  ExternalProject_Add(wavelet_${ARG_NAME}
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${tree}"
    PREFIX "${CMAKE_BINARY_DIR}/${ARG_NAME}-steps"
    CMAKE_ARGS ${toolchain} "-DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}"
      "-DMEX_OUTPUT_ROOT=${MEX_OUTPUT_ROOT}" "-DWAVELET_TESTS=${WAVELET_TESTS}"
      "-DWAVELET_EMULATOR=${emulator}" "-DWAVELET_TEST_DIRS=${dirs}"
      -DWAVELET_CROSS_BUILDS=OFF -DWAVELET_CHECKING_BUILDS=OFF
      "-DMKOCTFILE_EXECUTABLE=MKOCTFILE_EXECUTABLE-NOTFOUND" ${ARG_ARGS}
    # The nested build tracks its own sources; always let it look.
    BUILD_COMMAND ${build}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    TEST_COMMAND "")
  if(ARG_MIRROR AND WAVELET_TESTS)
    # A deferred call reads variables when it runs: the values go into its text now.
    foreach(dir IN LISTS ARG_TEST_DIRS)
      cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]] CALL
        _wavelet_mirror [[${PROJECT_SOURCE_DIR}/tests/${dir}]] ${ARG_NAME} [[${tree}]] ${ARG_TIMEOUT}
        [[${ARG_FIXTURE}]])")
    endforeach()
  endif()
endfunction()

# Once every folder is read: the twin of every test (a GoogleTest program is
# one) that the folder <dir> of tests/ and those below it define here. A
# twin the nested tree lacks shows as skipped.
function(_wavelet_mirror dir name tree timeout fixture)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(tests DIRECTORY "${dir}" PROPERTY TESTS)
  get_property(programs GLOBAL PROPERTY WAVELET_GTEST_PROGRAMS)
  foreach(test IN LISTS targets tests)
    # Twins that this tree registers itself ("i386.…") are left alone.
    if((test IN_LIST targets AND NOT test IN_LIST programs) OR test MATCHES "^[a-z0-9]+\\.")
      continue()
    endif()
    string(REGEX REPLACE "([][.*+?^$()|{}\\\\])" "\\\\\\1" pattern "${test}")
    add_test(NAME "${name}.${test}"
      COMMAND "${CMAKE_CTEST_COMMAND}" --test-dir "${tree}" -R "^${pattern}$" --output-on-failure)
    set_tests_properties("${name}.${test}" PROPERTIES SKIP_REGULAR_EXPRESSION "No tests were found"
                         LABELS ${name} TIMEOUT ${timeout} FIXTURES_REQUIRED "${fixture}")
  endforeach()
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _wavelet_mirror("${sub}" ${name} "${tree}" ${timeout} "${fixture}")
  endforeach()
endfunction()
