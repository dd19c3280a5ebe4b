# Source lists shared by every build, read from cmake/sources.txt: for each
# line "[kind] name: words" the list WAVELET_<name>_SOURCES (absolute paths,
# each once), and the names of each kind in WAVELET_COMMANDS, WAVELET_KERNELS
# and WAVELET_SYMMETRIC_KERNELS.
#
# Every build flavour compiles each kernel and transform source once into
# one library (WAVELET_LIBRARY_SOURCES) and links each module against it;
# the per-command lists serve builds that compile a module from its sources
# in one go (the Octave package, octave/build_modules.m).
set(WAVELET_COMMAND_DIR "${PROJECT_SOURCE_DIR}/commands")
set(WAVELET_VERSION_SOURCE "${PROJECT_SOURCE_DIR}/host/mex_version.cpp")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/sources.txt")

set(WAVELET_COMMANDS)
set(WAVELET_KERNELS)
set(WAVELET_SYMMETRIC_KERNELS)
set(WAVELET_LIBRARY_SOURCES)
set(forms)
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/sources.txt" lines REGEX "^[a-z]*[ ]*[A-Za-z0-9_]+:")
foreach(line IN LISTS lines)
  string(REGEX MATCH "^(([a-z]+) )?([A-Za-z0-9_]+): *(.*)$" line "${line}")
  set(kind "${CMAKE_MATCH_2}")
  set(name "${CMAKE_MATCH_3}")
  separate_arguments(words UNIX_COMMAND "${CMAKE_MATCH_4}")
  set(sources)
  foreach(word IN LISTS words)
    if(word MATCHES "/")
      list(APPEND sources "${PROJECT_SOURCE_DIR}/${word}")
    elseif(WIN32 AND word IN_LIST forms)
      # The PE linker keeps every function of an object it links (through
      # the unwind tables): each form file is compiled for this line's
      # routine alone.
      foreach(file IN LISTS WAVELET_${word}_SOURCES)
        get_filename_component(stem "${file}" NAME_WE)
        set(wrapper "${CMAKE_BINARY_DIR}/forms/${name}_${stem}.cpp")
        file(CONFIGURE OUTPUT "${wrapper}" CONTENT "// The forms of ${name} alone.
#define WAVELET_FORMS_ONLY 1
#define WAVELET_FORMS_OF_${name} 1
#include \"${file}\"\n")
        list(APPEND sources "${wrapper}")
      endforeach()
    elseif(DEFINED WAVELET_${word}_SOURCES)
      list(APPEND sources ${WAVELET_${word}_SOURCES})
    else()
      message(FATAL_ERROR "sources.txt: ${name} names ${word} before it is listed")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES sources)
  set(WAVELET_${name}_SOURCES ${sources})
  if(kind STREQUAL "command")
    list(APPEND WAVELET_COMMANDS ${name})
  elseif(kind STREQUAL "kernel")
    list(APPEND WAVELET_KERNELS ${name})
  elseif(kind STREQUAL "symmetric")
    list(APPEND WAVELET_SYMMETRIC_KERNELS ${name})
  endif()
  if(kind STREQUAL "forms")
    list(APPEND forms ${name})
  endif()
  if(NOT kind STREQUAL "command" AND NOT (WIN32 AND kind STREQUAL "forms"))
    list(APPEND WAVELET_LIBRARY_SOURCES ${sources})
  endif()
endforeach()
list(REMOVE_DUPLICATES WAVELET_LIBRARY_SOURCES)
# The command list as one word, for the scripts that check the built folders.
string(REPLACE ";" "," WAVELET_COMMAND_WORD "${WAVELET_COMMANDS}")
