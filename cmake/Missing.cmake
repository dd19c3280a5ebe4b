# wavelet_missing(<what is skipped> <why>): a build part whose tools are
# missing. In CI (CI=true) every part is required, so that is an error;
# elsewhere a warning, and the caller returns without the part.
function(wavelet_missing what why)
  if("$ENV{CI}" STREQUAL "true")
    message(FATAL_ERROR "In CI ${what} is required, but ${why}.")
  endif()
  message(WARNING "Skipping ${what}: ${why}.")
endfunction()
