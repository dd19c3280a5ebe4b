# wavelet_cross_build(NAME <name> [TOOLCHAIN <file>] [SOURCE <folder>]
#                     [TEST_DIRS <dir>...] [EMULATOR <word>...]
#                     [FIXTURE <fixture>] [TARGET <target>] [ARGS <arg>...])
# The one rule for every nested tree (other platforms, checking builds):
# configures this source tree (or SOURCE) again into <build>/<name>, with
# the toolchain, and builds it (or its TARGET) as the step wavelet_<name>.
# With EMULATOR the nested tree runs each test program of tests/<dir> as one
# test through it, and this tree registers them and the folders' plain
# tests as "<name>.<test>" (label <name>, requiring FIXTURE); without, those
# folders' tests are built for this tree's tests to run. ARGS come last, so
# they may override the defaults.
include(ExternalProject)
include("${CMAKE_CURRENT_LIST_DIR}/MirrorTests.cmake")

function(wavelet_cross_build)
  cmake_parse_arguments(ARG "" "NAME;TOOLCHAIN;SOURCE;FIXTURE;TARGET" "TEST_DIRS;EMULATOR;ARGS"
                        ${ARGN})
  set(tree "${CMAKE_BINARY_DIR}/${ARG_NAME}")
  set(tests OFF)
  if(WAVELET_TESTS AND (ARG_EMULATOR OR ARG_TEST_DIRS))
    set(tests ON)
  endif()
  list(JOIN ARG_EMULATOR "|" emulator)
  list(JOIN ARG_TEST_DIRS "|" dirs)
  set(source "${PROJECT_SOURCE_DIR}")
  if(ARG_SOURCE)
    set(source "${ARG_SOURCE}")
  endif()
  set(toolchain)
  if(ARG_TOOLCHAIN)
    set(toolchain "-DCMAKE_TOOLCHAIN_FILE=${ARG_TOOLCHAIN}")
  endif()
  # A nested tree builds with the parent's make jobs when both use make.
  if(CMAKE_GENERATOR MATCHES "Makefiles")
    set(build "$(MAKE)" ${ARG_TARGET})
  elseif(ARG_TARGET)
    set(build "${CMAKE_COMMAND}" --build . --target ${ARG_TARGET})
  else()
    set(build "${CMAKE_COMMAND}" --build .)
  endif()
  ExternalProject_Add(wavelet_${ARG_NAME}
    SOURCE_DIR "${source}"
    BINARY_DIR "${tree}"
    PREFIX "${CMAKE_BINARY_DIR}/${ARG_NAME}-steps"
    CMAKE_ARGS
      ${toolchain}
      "-DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}"
      "-DMEX_OUTPUT_ROOT=${MEX_OUTPUT_ROOT}"
      "-DWAVELET_TESTS=${tests}"
      "-DWAVELET_EMULATOR=${emulator}"
      "-DWAVELET_TEST_DIRS=${dirs}"
      -DWAVELET_CROSS_BUILDS=OFF -DWAVELET_CHECKING_BUILDS=OFF
      "-DMKOCTFILE_EXECUTABLE=MKOCTFILE_EXECUTABLE-NOTFOUND"
      ${ARG_ARGS}
    # The nested build tracks its own sources; always let it look.
    BUILD_COMMAND ${build}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    TEST_COMMAND "")
  if(NOT tests OR NOT ARG_EMULATOR)
    return()
  endif()
  set(folders)
  foreach(dir IN LISTS ARG_TEST_DIRS)
    list(APPEND folders "${PROJECT_SOURCE_DIR}/tests/${dir}")
  endforeach()
  # A deferred call reads its arguments when it runs, after this function
  # has returned: the values go into its text now.
  list(JOIN folders "]] [[" folders)
  cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]]
    CALL _wavelet_cross_tests [[${ARG_NAME}]] [[${tree}]] [[${ARG_FIXTURE}]] [[${folders}]])")
endfunction()

function(_wavelet_cross_tests name tree fixture)
  wavelet_mirror_tests(PREFIX ${name} TREE "${tree}" LABEL ${name} DIRS ${ARGN})
  if(NOT fixture)
    return()
  endif()
  get_property(tests DIRECTORY "${PROJECT_SOURCE_DIR}" PROPERTY TESTS)
  foreach(test IN LISTS tests)
    get_test_property(${test} FIXTURES_SETUP setup)
    if(test MATCHES "^${name}\\." AND NOT setup STREQUAL fixture)
      set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED ${fixture})
    endif()
  endforeach()
endfunction()
