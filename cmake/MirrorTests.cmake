# wavelet_mirror_tests(PREFIX <p> TREE <nested build> LABEL <l> DIRS <dir>...):
# registers, as "<p>.<name>", the nested tree's twin of every test that the
# given folders of this tree (and those below them) define: each GoogleTest
# program (WAVELET_GTEST_PROGRAMS), which the nested tree runs as one test,
# and each plain test, run through ctest in the nested tree. A twin that the
# nested tree does not define shows as skipped.
function(wavelet_mirror_tests)
  cmake_parse_arguments(ARG "" "PREFIX;TREE;LABEL" "DIRS" ${ARGN})
  foreach(dir IN LISTS ARG_DIRS)
    _wavelet_mirror_folder("${dir}")
  endforeach()
endfunction()

function(_wavelet_mirror_folder dir)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(tests DIRECTORY "${dir}" PROPERTY TESTS)
  get_property(programs GLOBAL PROPERTY WAVELET_GTEST_PROGRAMS)
  foreach(name IN LISTS targets tests)
    # Twins that this tree registered itself are not mirrored.
    if((name IN_LIST targets AND NOT name IN_LIST programs) OR name MATCHES "^[a-z0-9]+\\.")
      continue()
    endif()
    string(REGEX REPLACE "([][.*+?^$()|{}\\\\])" "\\\\\\1" pattern "${name}")
    add_test(NAME "${ARG_PREFIX}.${name}"
      COMMAND "${CMAKE_CTEST_COMMAND}" --test-dir "${ARG_TREE}" -R "^${pattern}$" --output-on-failure)
    set_tests_properties("${ARG_PREFIX}.${name}" PROPERTIES
      SKIP_REGULAR_EXPRESSION "No tests were found"
      LABELS ${ARG_LABEL})
  endforeach()
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _wavelet_mirror_folder("${sub}")
  endforeach()
endfunction()
