# Building MEX modules: shared objects that export only the host's entries.
#
# Every source is compiled once per build flavour (this tree: x86-64 or
# i386 Linux, a checking build) into the library wavelet_core, with exactly
# the flags the modules need: position-independent, hidden symbols, no
# exceptions or run-time type information, one section per function. Every
# module, test program, benchmark and fuzzer of the flavour links it, so the
# tests run the object code that ships; each module keeps only what it can
# reach from its entries (the linker drops every other section).
#
# Every Linux module exports mexFunction (command modules) and mexVersion at
# the symbol version "MEX", whose base version entry is the module's file
# name; everything else is hidden. Modules link the host's libmx, libmex and
# libmat and need no C++ runtime at load time.
#
# A Windows module (.mexw64, a DLL) exports only mexFunction and imports the
# host operations by name from libmx.dll and libmex.dll, through import
# libraries made here from the .def files in host/windows/. Its compiler
# runtime is linked in, so it needs nothing but Windows' own DLLs beside them.

if(WIN32)
  set(MEX_PLATFORM win64)
  set(MEX_EXT mexw64)
elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
  # ARM Linux, where Octave users run the MEX form: the x86-64 module format
  # and exports, in a folder of its own.
  set(MEX_PLATFORM aarch64)
  set(MEX_EXT mexa64)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
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

# The flags of everything that goes into a module.
set(WAVELET_MODULE_COMPILE_OPTIONS -ffunction-sections -fdata-sections)

add_library(wavelet_core STATIC ${WAVELET_LIBRARY_SOURCES})
set_target_properties(wavelet_core PROPERTIES
  POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)
target_include_directories(wavelet_core PUBLIC "${PROJECT_SOURCE_DIR}")
target_compile_options(wavelet_core PRIVATE ${WAVELET_MODULE_COMPILE_OPTIONS} -fno-exceptions
                       -fno-rtti -fasynchronous-unwind-tables)
# (A checking build of i386 may round every sum to double instead, as the
# i386 macOS modules do: WAVELET_I386_ROUNDED.)
if(MEX_PLATFORM STREQUAL "glnx86" AND NOT WAVELET_I386_ROUNDED)
  target_compile_definitions(wavelet_core PUBLIC WAVELET_EXTENDED_ACCUMULATION)
endif()
# The version query, which every module of the flavour exports.
add_library(wavelet_version OBJECT ${WAVELET_VERSION_SOURCE})
set_target_properties(wavelet_version PROPERTIES
  POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden)
target_include_directories(wavelet_version PRIVATE "${PROJECT_SOURCE_DIR}")
target_compile_options(wavelet_version PRIVATE ${WAVELET_MODULE_COMPILE_OPTIONS} -fno-exceptions
                       -fno-rtti -fasynchronous-unwind-tables)

include("${CMAKE_CURRENT_LIST_DIR}/KernelSymbol.cmake")

if(WIN32)
  # Import libraries for the host's DLLs, from the .def files we keep.
  set(WAVELET_IMPORT_DIR "${CMAKE_BINARY_DIR}/host_imports")
  file(MAKE_DIRECTORY "${WAVELET_IMPORT_DIR}")
  set(WAVELET_HOST_IMPORTS)
  foreach(lib mx mex mat)
    set(def "${PROJECT_SOURCE_DIR}/host/windows/lib${lib}.def")
    set(implib "${WAVELET_IMPORT_DIR}/lib${lib}.dll.a")
    add_custom_command(OUTPUT "${implib}"
      COMMAND "${CMAKE_DLLTOOL}" --input-def "${def}" --output-lib "${implib}" --dllname lib${lib}.dll
      DEPENDS "${def}"
      VERBATIM)
    list(APPEND WAVELET_HOST_IMPORTS "${implib}")
  endforeach()
  add_custom_target(wavelet_host_imports DEPENDS ${WAVELET_HOST_IMPORTS})
endif()

# add_mex_module(NAME [KERNEL_ONLY]): a command module from its gateway
# commands/NAME.cpp, or a kernel-only module holding the kernel NAME.
function(add_mex_module name)
  cmake_parse_arguments(ARG "KERNEL_ONLY" "" "" ${ARGN})
  if(WIN32)
    # Windows gets the command modules only.
    if(NOT ARG_KERNEL_ONLY)
      add_library(${name} MODULE "${WAVELET_COMMAND_DIR}/${name}.cpp"
                  "${PROJECT_SOURCE_DIR}/host/windows/module.def")
      target_compile_options(${name} PRIVATE ${WAVELET_MODULE_COMPILE_OPTIONS} -fno-exceptions
                             -fno-rtti)
      set_target_properties(${name} PROPERTIES
        PREFIX ""
        SUFFIX ".${MEX_EXT}"
        LIBRARY_OUTPUT_DIRECTORY "${MEX_MODULE_DIR}")
      add_dependencies(${name} wavelet_host_imports)
      target_link_options(${name} PRIVATE -Wl,--gc-sections -Wl,--no-undefined)
      target_link_libraries(${name} PRIVATE wavelet_core ${WAVELET_HOST_IMPORTS})
    endif()
    return()
  endif()
  set(roots)
  # The kernel-only modules are for the platforms that have them (x86).
  if(ARG_KERNEL_ONLY AND MEX_PLATFORM STREQUAL "aarch64")
    return()
  endif()
  if(ARG_KERNEL_ONLY)
    set(target kernel_${name})
    set(outdir "${MEX_MODULE_DIR}/kernels")
    set(map "${PROJECT_SOURCE_DIR}/cmake/kernel_module.map")
    # Nothing the module exports calls its kernel, so the link keeps it by name.
    wavelet_kernel_symbol(${name} symbol)
    list(APPEND roots "-Wl,--require-defined=${symbol}")
    add_library(${target} MODULE $<TARGET_OBJECTS:wavelet_version>)
  else()
    set(target ${name})
    set(outdir "${MEX_MODULE_DIR}")
    set(map "${PROJECT_SOURCE_DIR}/cmake/command_module.map")
    add_library(${target} MODULE "${WAVELET_COMMAND_DIR}/${name}.cpp"
                $<TARGET_OBJECTS:wavelet_version>)
    target_compile_options(${target} PRIVATE ${WAVELET_MODULE_COMPILE_OPTIONS} -fno-exceptions
                           -fno-rtti -fasynchronous-unwind-tables)
  endif()
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${name}
    PREFIX ""
    SUFFIX ".${MEX_EXT}"
    LIBRARY_OUTPUT_DIRECTORY "${outdir}"
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    SKIP_BUILD_RPATH ON
    LINK_DEPENDS "${map}")
  target_link_options(${target} PRIVATE
    "-Wl,--version-script=${map}"
    "-Wl,-soname,${name}.${MEX_EXT}"
    -Wl,--no-undefined
    -Wl,--gc-sections
    ${roots}
    -static-libgcc -static-libstdc++)
  # libmat supplies nothing the modules call, but the host expects them to
  # need it, so it is linked without regard to use.
  target_link_libraries(${target} PRIVATE wavelet_core -Wl,--no-as-needed mx mex mat m)
endfunction()
