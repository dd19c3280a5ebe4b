# One download for every platform: build/release/wavelet_mex-<version>.zip
# holds each platform folder this build made, each with the commands' help
# files, Contents.m and orthofilter.m, the Octave package, the README and
# the LICENSE. Made by every x86-64 Linux build (target release), so that
# the suite tests it.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR NOT CMAKE_SIZEOF_VOID_P EQUAL 8 OR CMAKE_CROSSCOMPILING
   OR WAVELET_SANITIZE OR WAVELET_FUZZ)
  return()
endif()
set(name "${PROJECT_NAME}-${PROJECT_VERSION}")
add_custom_target(release ALL
  COMMAND "${CMAKE_COMMAND}" "-DROOT=${MEX_OUTPUT_ROOT}" "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}"
          "-DZIP=${CMAKE_BINARY_DIR}/release/${name}.zip" "-DNAME=${name}"
          "-DPACKAGE=${WAVELET_OCTAVE_PACKAGE}" -P "${PROJECT_SOURCE_DIR}/cmake/release.cmake"
  VERBATIM)
# Every module of this tree, and the steps of the other platforms' trees.
list(TRANSFORM WAVELET_KERNELS PREPEND kernel_ OUTPUT_VARIABLE kernels)
list(TRANSFORM WAVELET_SYMMETRIC_KERNELS PREPEND kernel_ OUTPUT_VARIABLE symmetric)
add_dependencies(release ${WAVELET_COMMANDS} ${kernels} ${symmetric})
foreach(step octave_package wavelet_i386 wavelet_windows wavelet_aarch64 wavelet_macos-x86_64
             wavelet_macos-arm64 wavelet_macos-i386)
  if(TARGET ${step})
    add_dependencies(release ${step})
  endif()
endforeach()
