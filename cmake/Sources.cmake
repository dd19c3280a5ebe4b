# The source lists of cmake/sources.txt, which every build reads: for each
# line "[kind] name: words" the list WAVELET_<name>_SOURCES (absolute paths,
# each once), the names of each kind in WAVELET_COMMANDS, WAVELET_KERNELS and
# WAVELET_SYMMETRIC_KERNELS, and every kernel and transform source in
# WAVELET_LIBRARY_SOURCES, which each flavour compiles once into its library.
set(WAVELET_COMMAND_DIR "${PROJECT_SOURCE_DIR}/commands")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/sources.txt")
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
    elseif(WIN32 AND word IN_LIST kind_forms)
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
  list(APPEND kind_${kind} ${name})
  if(NOT kind STREQUAL "command" AND NOT (WIN32 AND kind STREQUAL "forms"))
    list(APPEND WAVELET_LIBRARY_SOURCES ${sources})
  endif()
endforeach()
list(REMOVE_DUPLICATES WAVELET_LIBRARY_SOURCES)
set(WAVELET_COMMANDS ${kind_command})
set(WAVELET_KERNELS ${kind_kernel})
set(WAVELET_SYMMETRIC_KERNELS ${kind_symmetric})
