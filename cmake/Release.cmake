# One download for every platform: build/release/wavelet_mex-<version>.zip
# holds each platform folder this build made (glnxa64/, glnx86/, win64/,
# maci64/, ...), each with the commands' help files, Contents.m and
# orthofilter.m, the Octave package tarball, the README and the LICENSE.
# Made by every x86-64 Linux build (target release), so the suite can test it.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR NOT CMAKE_SIZEOF_VOID_P EQUAL 8 OR CMAKE_CROSSCOMPILING
   OR WAVELET_SANITIZE OR WAVELET_FUZZ)
  return()
endif()

set(WAVELET_RELEASE_ZIP "${CMAKE_BINARY_DIR}/release/${PROJECT_NAME}-${PROJECT_VERSION}.zip")
set(release_inputs ${WAVELET_COMMANDS})
foreach(kernel ${WAVELET_KERNELS} ${WAVELET_SYMMETRIC_KERNELS})
  list(APPEND release_inputs kernel_${kernel})
endforeach()
foreach(step wavelet_i386 wavelet_windows wavelet_aarch64 wavelet_macos-x86_64 wavelet_macos-arm64
             wavelet_macos-i386 octave_package)
  if(TARGET ${step})
    list(APPEND release_inputs ${step})
  endif()
endforeach()
add_custom_target(release ALL
  COMMAND "${CMAKE_COMMAND}" "-DROOT=${MEX_OUTPUT_ROOT}" "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}"
          "-DZIP=${WAVELET_RELEASE_ZIP}" "-DNAME=${PROJECT_NAME}-${PROJECT_VERSION}"
          "-DPACKAGE=${WAVELET_OCTAVE_PACKAGE}"
          -P "${PROJECT_SOURCE_DIR}/cmake/release.cmake"
  COMMENT "Release ${WAVELET_RELEASE_ZIP}"
  VERBATIM)
add_dependencies(release ${release_inputs})
