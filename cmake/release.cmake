# Writes the release zip (see Release.cmake):
#   cmake -DROOT=<folder of the platform folders> -DSOURCE_DIR=<sources>
#         -DZIP=<out.zip> -DNAME=<top folder> [-DPACKAGE=<octave tarball>]
#         -P release.cmake
cmake_minimum_required(VERSION 3.20)
get_filename_component(out_dir "${ZIP}" DIRECTORY)
set(stage "${out_dir}/stage")
set(top "${stage}/${NAME}")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${top}")

file(GLOB help_files "${SOURCE_DIR}/octave/help/*.m")
set(platforms)
foreach(platform glnxa64 glnx86 win64 aarch64 maci64 maci maca64)
  file(GLOB modules "${ROOT}/${platform}/*.mex*")
  if(NOT modules)
    continue()
  endif()
  list(APPEND platforms ${platform})
  file(COPY ${modules} DESTINATION "${top}/${platform}")
  file(GLOB kernels "${ROOT}/${platform}/kernels/*.mex*")
  if(kernels)
    file(COPY ${kernels} DESTINATION "${top}/${platform}/kernels")
  endif()
  file(COPY ${help_files} "${SOURCE_DIR}/octave/orthofilter.m" DESTINATION "${top}/${platform}")
endforeach()
if(PACKAGE AND EXISTS "${PACKAGE}")
  file(COPY "${PACKAGE}" DESTINATION "${top}/octave")
endif()
file(COPY "${SOURCE_DIR}/README.md" "${SOURCE_DIR}/LICENSE" DESTINATION "${top}")

file(REMOVE "${ZIP}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP}" --format=zip "${NAME}"
  WORKING_DIRECTORY "${stage}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not write ${ZIP}")
endif()
file(REMOVE_RECURSE "${stage}")
message(STATUS "${ZIP}: ${platforms}")
