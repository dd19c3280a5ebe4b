# The Octave package: a tarball that "pkg install" builds with mkoctfile
# into native functions (.oct): DESCRIPTION, COPYING, INDEX, inst/ and src/
# (every source the commands hold, from cmake/sources.txt, in its folder,
# each command's help text as a header, and package/Makefile).
#   cmake -DSOURCE_DIR=<sources> -DOUT_DIR=<folder> -DPACKAGE_NAME=<name>
#         -DPACKAGE_VERSION=<x.y.z> -P octave/package.cmake
cmake_minimum_required(VERSION 3.20)
set(PROJECT_SOURCE_DIR "${SOURCE_DIR}")
include("${SOURCE_DIR}/cmake/Sources.cmake")
include("${SOURCE_DIR}/octave/help_text.cmake")

set(stage "${OUT_DIR}/stage")
set(top "${stage}/${PACKAGE_NAME}")
file(REMOVE_RECURSE "${stage}")
string(TIMESTAMP PACKAGE_DATE "%Y-%m-%d" UTC)
configure_file("${SOURCE_DIR}/octave/package/DESCRIPTION.in" "${top}/DESCRIPTION" @ONLY)
configure_file("${SOURCE_DIR}/octave/package/INDEX" "${top}/INDEX" @ONLY)
configure_file("${SOURCE_DIR}/LICENSE" "${top}/COPYING" COPYONLY)
configure_file("${SOURCE_DIR}/octave/package/Makefile" "${top}/src/Makefile" COPYONLY)
configure_file("${SOURCE_DIR}/octave/help/Contents.m" "${top}/inst/Contents.m" COPYONLY)
configure_file("${SOURCE_DIR}/octave/orthofilter.m" "${top}/inst/orthofilter.m" COPYONLY)

# The sources keep their folders, so that their relative includes resolve.
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/host/*.h" "${SOURCE_DIR}/kernels/*.h"
     "${SOURCE_DIR}/transform1d/*.h" "${SOURCE_DIR}/transform2d/*.h" "${SOURCE_DIR}/commands/*.h")
foreach(command ${WAVELET_COMMANDS})
  foreach(src ${WAVELET_${command}_SOURCES})
    file(RELATIVE_PATH src "${SOURCE_DIR}" "${src}")
    list(APPEND files "${src}")
  endforeach()
  wavelet_help_header("${SOURCE_DIR}/octave/help/${command}.m" "${top}/src/help/${command}_help.h")
endforeach()
list(REMOVE_DUPLICATES files)
foreach(file ${files})
  configure_file("${SOURCE_DIR}/${file}" "${top}/src/${file}" COPYONLY)
endforeach()

set(tarball "${OUT_DIR}/${PACKAGE_NAME}-${PACKAGE_VERSION}.tar.gz")
file(REMOVE "${tarball}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar czf "${tarball}" "${PACKAGE_NAME}"
  WORKING_DIRECTORY "${stage}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not write ${tarball}")
endif()
file(REMOVE_RECURSE "${stage}")
