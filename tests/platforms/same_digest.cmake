# Runs two builds' wavelet_digest, each checking its modules against the
# table, and requires the same lines (with SKIP_VARIANTS, but for the one
# naming the vector variants).
#   -DREFERENCE=<program> -DROOT=<its modules> -DOTHER=<launcher|...|program>
#   -DOTHER_ROOT=<its modules> -DTABLE=<digests.txt> -DSKIP_VARIANTS=ON|OFF
string(REPLACE "|" ";" OTHER "${OTHER}")
set(root_REFERENCE "${ROOT}")
set(root_OTHER "${OTHER_ROOT}")
foreach(side REFERENCE OTHER)
  execute_process(COMMAND ${${side}} "${root_${side}}" "${TABLE}"
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
