# Building MEX modules: shared objects that export only the host's entries.
#
# Every module exports mexFunction (command modules) and mexVersion at the
# symbol version "MEX", whose base version entry is the module's file name;
# everything else is hidden. Modules link the host's libmx, libmex and libmat
# and need no C++ runtime at load time.

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(MEX_PLATFORM glnxa64)
  set(MEX_EXT mexa64)
else()
  set(MEX_PLATFORM glnx86)
  set(MEX_EXT mexglx)
  # Plain double arithmetic is SSE2 double; the 80-bit sums of the i386
  # modules come from their explicit long double accumulator.
  add_compile_options(-msse2 -mfpmath=sse)
endif()
set(MEX_MODULE_DIR "${MEX_OUTPUT_ROOT}/${MEX_PLATFORM}")

# add_mex_module(NAME [KERNEL_ONLY] SOURCES src...)
function(add_mex_module name)
  cmake_parse_arguments(ARG "KERNEL_ONLY" "" "SOURCES" ${ARGN})
  if(ARG_KERNEL_ONLY)
    set(target kernel_${name})
    set(outdir "${MEX_MODULE_DIR}/kernels")
    set(map "${PROJECT_SOURCE_DIR}/cmake/kernel_module.map")
  else()
    set(target ${name})
    set(outdir "${MEX_MODULE_DIR}")
    set(map "${PROJECT_SOURCE_DIR}/cmake/command_module.map")
  endif()
  add_library(${target} MODULE ${ARG_SOURCES} "${PROJECT_SOURCE_DIR}/host/mex_version.cpp")
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${name}
    PREFIX ""
    SUFFIX ".${MEX_EXT}"
    LIBRARY_OUTPUT_DIRECTORY "${outdir}"
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    SKIP_BUILD_RPATH ON
    LINK_DEPENDS "${map}")
  if(MEX_PLATFORM STREQUAL "glnx86")
    target_compile_definitions(${target} PRIVATE WAVELET_EXTENDED_ACCUMULATION)
  endif()
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -fasynchronous-unwind-tables)
  target_link_options(${target} PRIVATE
    "-Wl,--version-script=${map}"
    "-Wl,-soname,${name}.${MEX_EXT}"
    -Wl,--no-undefined
    -static-libgcc -static-libstdc++)
  # libmat supplies nothing the modules call, but the host expects them to
  # need it, so it is linked without regard to use.
  target_link_libraries(${target} PRIVATE -Wl,--no-as-needed mx mex mat m)
endfunction()
