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
add_dependencies(release ${WAVELET_COMMANDS})
foreach(step ${WAVELET_KERNELS} ${WAVELET_SYMMETRIC_KERNELS} i386 windows aarch64 macos-x86_64
             macos-arm64 macos-i386)
  foreach(target kernel_${step} wavelet_${step})
    if(TARGET ${target})
      add_dependencies(release ${target})
    endif()
  endforeach()
endforeach()
if(TARGET octave_package)
  add_dependencies(release octave_package)
endif()
