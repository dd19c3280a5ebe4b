# The Octave package: a tarball that "pkg install" builds with mkoctfile
# into native functions (.oct). DESCRIPTION, COPYING, INDEX, inst/ and src/
# (the sources in their folders, each command's help text as a header, and
# a Makefile whose source lists come from cmake/sources.txt).
#   cmake -DSOURCE_DIR=<sources> -DOUT_DIR=<folder> -DPACKAGE_NAME=<name>
#         -DPACKAGE_VERSION=<x.y.z> -P octave/package.cmake
cmake_minimum_required(VERSION 3.20)
foreach(var SOURCE_DIR OUT_DIR PACKAGE_NAME PACKAGE_VERSION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "package.cmake needs -D${var}=...")
  endif()
endforeach()

set(PROJECT_SOURCE_DIR "${SOURCE_DIR}")
include("${SOURCE_DIR}/cmake/Sources.cmake")
include("${SOURCE_DIR}/octave/help_text.cmake")

set(stage "${OUT_DIR}/stage")
set(top "${stage}/${PACKAGE_NAME}")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${top}/inst" "${top}/src")

string(TIMESTAMP PACKAGE_DATE "%Y-%m-%d" UTC)
configure_file("${SOURCE_DIR}/octave/package/DESCRIPTION.in" "${top}/DESCRIPTION" @ONLY)
configure_file("${SOURCE_DIR}/octave/package/INDEX" "${top}/INDEX" @ONLY)
configure_file("${SOURCE_DIR}/LICENSE" "${top}/COPYING" COPYONLY)

# Every source file of every command, and every header beside them, keeping
# the folders so that the sources' relative includes still resolve.
set(files)
set(makefile_rules)
set(targets)
foreach(command ${WAVELET_COMMANDS})
  set(sources ${WAVELET_${command}_SOURCES})
  list(REMOVE_DUPLICATES sources)
  set(objects)
  foreach(src ${sources})
    file(RELATIVE_PATH rel "${SOURCE_DIR}" "${src}")
    string(REGEX REPLACE "\\.cpp$" ".o" object "${rel}")
    list(APPEND objects "${object}")
    list(APPEND files "${rel}")
  endforeach()
  list(JOIN objects " " objects)
  # Each source is compiled once for every command that holds it; the
  # gateway with the command's help text.
  string(APPEND makefile_rules "${command}.oct: ${objects}\n\t$(MKOCTFILE) -o $@ ${objects}\n\n"
                               "commands/${command}.o: commands/${command}.cpp help/${command}_help.h\n"
                               "\t$(OCT) -c -include help/${command}_help.h $< -o $@\n\n")
  list(APPEND targets "${command}.oct")
  # The native function carries its help text.
  wavelet_help_header("${SOURCE_DIR}/octave/help/${command}.m" "${top}/src/help/${command}_help.h")
endforeach()
# The folder's contents and the standard filters, beside the functions.
configure_file("${SOURCE_DIR}/octave/help/Contents.m" "${top}/inst/Contents.m" COPYONLY)
configure_file("${SOURCE_DIR}/octave/orthofilter.m" "${top}/inst/orthofilter.m" COPYONLY)
file(GLOB_RECURSE headers RELATIVE "${SOURCE_DIR}"
  "${SOURCE_DIR}/host/*.h" "${SOURCE_DIR}/kernels/*.h" "${SOURCE_DIR}/transform2d/*.h"
  "${SOURCE_DIR}/transform1d/*.h"
  "${SOURCE_DIR}/commands/*.h")
list(APPEND files ${headers})
list(REMOVE_DUPLICATES files)
foreach(rel ${files})
  configure_file("${SOURCE_DIR}/${rel}" "${top}/src/${rel}" COPYONLY)
endforeach()

list(JOIN targets " " targets)
file(WRITE "${top}/src/Makefile" "# Builds the eight commands as native Octave functions with Octave's mkoctfile;
# pkg install sets MKOCTFILE. Each source is compiled once, never with fused
# multiply-add, and each function links its gateway and the kernels it holds.
MKOCTFILE ?= mkoctfile
OCT = CXXFLAGS=\"$$($(MKOCTFILE) -p CXXFLAGS) -ffp-contract=off\" $(MKOCTFILE) -DWAVELET_OCTAVE_NATIVE -I.

all: ${targets}

%.o: %.cpp
\t$(OCT) -c $< -o $@

${makefile_rules}clean:
\trm -f *.oct */*.o */*/*.o

.PHONY: all clean
")

set(tarball "${OUT_DIR}/${PACKAGE_NAME}-${PACKAGE_VERSION}.tar.gz")
file(REMOVE "${tarball}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar czf "${tarball}" "${PACKAGE_NAME}"
  WORKING_DIRECTORY "${stage}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not write ${tarball}")
endif()
file(REMOVE_RECURSE "${stage}")
