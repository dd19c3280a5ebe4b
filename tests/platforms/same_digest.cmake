# Runs two builds' wavelet_digest and requires the same lines.
#   -DREFERENCE=<program> -DOTHER=<command|arg|...> -DROOT=<build folder>
#   (OTHER's words are separated by "|": a launcher, then the program)
#   [-DTABLE=<digests.txt>]: both also check each module against the table
#   [-DOTHER_ROOT=<folder>]: the other build's modules, if not in ROOT
#   [-DSKIP_VARIANTS=ON]: leave out the line naming the variants
#   (builds for different processors run different ones).
string(REPLACE "|" ";" OTHER "${OTHER}")
set(root_REFERENCE "${ROOT}")
set(root_OTHER "${ROOT}")
if(OTHER_ROOT)
  set(root_OTHER "${OTHER_ROOT}")
endif()
foreach(side REFERENCE OTHER)
  execute_process(COMMAND ${${side}} "${root_${side}}" ${TABLE}
    RESULT_VARIABLE status OUTPUT_VARIABLE out_${side} ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${${side}} failed (${status}):\n${out_${side}}${err}")
  endif()
  if(SKIP_VARIANTS)
    string(REGEX REPLACE "^variants [^\n]*\n" "" out_${side} "${out_${side}}")
  endif()
endforeach()
if(NOT out_REFERENCE STREQUAL out_OTHER)
  message(FATAL_ERROR "The digests differ.\nThis build:\n${out_REFERENCE}\nThe other:\n${out_OTHER}")
endif()
message(STATUS "Same digests:\n${out_OTHER}")
