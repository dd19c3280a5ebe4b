# wavelet_mirror_tests(PREFIX <p> TREE <nested build> LABEL <l> [DIRECT] DIRS <dir>...):
# registers, as "<p>.<name>", the nested tree's twin of every test that the
# given folders of this tree (and the folders below them) define.
#  - A GoogleTest program (one that tests/CMakeLists.txt's wavelet_test made,
#    listed in the global property WAVELET_GTEST_PROGRAMS) runs as one test.
#    With DIRECT its nested executable is called directly, so a failing case
#    shows in the program's own output; otherwise the nested tree's test of
#    the same name runs (a tree that runs its programs through an emulator
#    registers each program as one test).
#  - A plain test runs through ctest in the nested tree.
# A twin that the nested tree does not build or define shows as skipped.
function(wavelet_mirror_tests)
  cmake_parse_arguments(ARG "DIRECT" "PREFIX;TREE;LABEL" "DIRS" ${ARGN})
  foreach(dir IN LISTS ARG_DIRS)
    _wavelet_mirror_folder("${dir}")
  endforeach()
endfunction()

# The nested tree's test named name, through its own ctest.
function(_wavelet_mirror_by_name name)
  string(REGEX REPLACE "([][.*+?^$()|{}\\\\])" "\\\\\\1" pattern "${name}")
  add_test(NAME "${ARG_PREFIX}.${name}"
    COMMAND "${CMAKE_CTEST_COMMAND}" --test-dir "${ARG_TREE}" -R "^${pattern}$" --output-on-failure)
  set_tests_properties("${ARG_PREFIX}.${name}" PROPERTIES
    SKIP_REGULAR_EXPRESSION "No tests were found"
    LABELS ${ARG_LABEL})
endfunction()

function(_wavelet_mirror_folder dir)
  get_property(binary DIRECTORY "${dir}" PROPERTY BINARY_DIR)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(programs GLOBAL PROPERTY WAVELET_GTEST_PROGRAMS)
  foreach(target IN LISTS targets)
    if(NOT target IN_LIST programs)
      continue()
    endif()
    if(NOT ARG_DIRECT)
      _wavelet_mirror_by_name(${target})
      continue()
    endif()
    get_target_property(outdir ${target} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT outdir)
      set(outdir "${binary}")
    endif()
    get_target_property(outname ${target} OUTPUT_NAME)
    if(NOT outname)
      set(outname "${target}")
    endif()
    file(RELATIVE_PATH rel_exe "${CMAKE_BINARY_DIR}" "${outdir}/${outname}")
    file(RELATIVE_PATH rel_dir "${CMAKE_BINARY_DIR}" "${binary}")
    add_test(NAME "${ARG_PREFIX}.${target}"
      COMMAND sh -c "test -x \"$0\" || exit 77; exec \"$0\"" "${ARG_TREE}/${rel_exe}")
    set_tests_properties("${ARG_PREFIX}.${target}" PROPERTIES
      WORKING_DIRECTORY "${ARG_TREE}/${rel_dir}"
      SKIP_RETURN_CODE 77
      LABELS ${ARG_LABEL})
  endforeach()

  get_property(tests DIRECTORY "${dir}" PROPERTY TESTS)
  foreach(test IN LISTS tests)
    # Twins that this tree registered itself.
    if(test MATCHES "^[a-z0-9]+\\.")
      continue()
    endif()
    _wavelet_mirror_by_name(${test})
  endforeach()

  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _wavelet_mirror_folder("${sub}")
  endforeach()
endfunction()
