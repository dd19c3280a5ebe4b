# A kernel-only module exports only the version query, so nothing it exports
# calls its kernel: its link names the kernel as a root, by linker symbol.
# The linker symbol of a kernel: its C++ name for the kernels' two argument
# lists, (const double*, double*, int32_t) for the mirrors and (const
# double*, int32_t, const double*, int32_t, double*) for the others.
function(wavelet_kernel_symbol kernel out)
  string(LENGTH "${kernel}" length)
  if(kernel MATCHES "^mirror")
    set(${out} "_Z${length}${kernel}PKdPdi" PARENT_SCOPE)
  else()
    set(${out} "_Z${length}${kernel}PKdiS0_iPd" PARENT_SCOPE)
  endif()
endfunction()
