# MEX modules: shared objects (Linux), DLLs (Windows) or bundles (macOS,
# cmake/macos/platform.cmake) that export only the host's entries.
# Every source is compiled once per build flavour into wavelet_core, with
# the modules' flags (hidden symbols, no exceptions or RTTI, a section per
# function); every module, test program, benchmark and fuzzer links it, so
# the tests run the object code that ships, and each module keeps only what
# its entries reach. Per platform: MEX_PLATFORM (the folder), MEX_EXT,
# WAVELET_KERNEL_MODULES (kernel-only modules delivered there) and
# WAVELET_MODULELESS_COMMANDS.
set(WAVELET_KERNEL_MODULES OFF)
set(WAVELET_MODULELESS_COMMANDS)
set(module_flags -ffunction-sections -fdata-sections -fno-exceptions -fno-rtti)
if(APPLE)
  include("${CMAKE_CURRENT_LIST_DIR}/macos/platform.cmake")
else()
  list(APPEND module_flags -fasynchronous-unwind-tables)
  if(WIN32)
    set(MEX_PLATFORM win64)
    set(MEX_EXT mexw64)
  elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
    # ARM Linux: the x86-64 module format, in a folder of its own.
    set(MEX_PLATFORM aarch64)
    set(MEX_EXT mexa64)
  elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(MEX_PLATFORM glnxa64)
    set(MEX_EXT mexa64)
    set(WAVELET_KERNEL_MODULES ON)
  else()
    set(MEX_PLATFORM glnx86)
    set(MEX_EXT mexglx)
    set(WAVELET_KERNEL_MODULES ON)
    # Plain double arithmetic is SSE2 double; the 80-bit sums of the i386
    # modules come from their explicit long double accumulator.
    add_compile_options(-msse2 -mfpmath=sse)
  endif()
  set(MEX_MODULE_DIR "${MEX_OUTPUT_ROOT}/${MEX_PLATFORM}")
endif()

add_library(wavelet_core STATIC ${WAVELET_LIBRARY_SOURCES})
# The version query of the Linux and kernel-only modules.
add_library(wavelet_version OBJECT "${PROJECT_SOURCE_DIR}/host/mex_version.cpp")
foreach(library wavelet_core wavelet_version)
  set_target_properties(${library} PROPERTIES POSITION_INDEPENDENT_CODE ON
                        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_include_directories(${library} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_compile_options(${library} PRIVATE ${module_flags})
endforeach()
# (WAVELET_I386_ROUNDED rounds every sum to double, as on i386 macOS.)
if(MEX_PLATFORM STREQUAL "glnx86" AND NOT WAVELET_I386_ROUNDED)
  target_compile_definitions(wavelet_core PUBLIC WAVELET_EXTENDED_ACCUMULATION)
endif()

if(WIN32)
  foreach(lib mx mex mat)
    set(def "${PROJECT_SOURCE_DIR}/host/windows/lib${lib}.def")
    set(implib "${CMAKE_BINARY_DIR}/import_lib${lib}.a")
    add_custom_command(OUTPUT "${implib}" DEPENDS "${def}" VERBATIM
      COMMAND "${CMAKE_DLLTOOL}" --input-def "${def}" --output-lib "${implib}" --dllname lib${lib}.dll)
    list(APPEND WAVELET_HOST_IMPORTS "${implib}")
  endforeach()
  add_custom_target(wavelet_host_imports DEPENDS ${WAVELET_HOST_IMPORTS})
endif()

# add_mex_module(NAME [KERNEL_ONLY]): a command module from its gateway
# commands/NAME.cpp, or a kernel-only module holding the kernel NAME, where
# the platform has it. Linux: mexFunction and mexVersion at the symbol
# version "MEX", no C++ runtime needed at load time. Windows: mexFunction,
# the host imported through import libraries made from host/windows/.
function(add_mex_module name)
  cmake_parse_arguments(ARG "KERNEL_ONLY" "" "" ${ARGN})
  if((ARG_KERNEL_ONLY AND NOT WAVELET_KERNEL_MODULES) OR name IN_LIST WAVELET_MODULELESS_COMMANDS)
    return()
  endif()
  set(target ${name})
  set(outdir "${MEX_MODULE_DIR}")
  set(sources "${WAVELET_COMMAND_DIR}/${name}.cpp")
  set(exports _mexFunction)
  if(ARG_KERNEL_ONLY)
    # Nothing the module exports calls its kernel: the link keeps it by its
    # symbol, for (const double*, double*, int32_t) in the mirrors and
    # (const double*, int32_t, const double*, int32_t, double*) elsewhere.
    string(LENGTH "${name}" length)
    set(symbol "_Z${length}${name}PKdiS0_iPd")
    if(name MATCHES "^mirror")
      set(symbol "_Z${length}${name}PKdPdi")
    endif()
    set(target kernel_${name})
    set(outdir "${MEX_MODULE_DIR}/kernels")
    set(sources)
    set(exports _mexVersion)
  endif()
  if(ARG_KERNEL_ONLY OR NOT (APPLE OR WIN32))
    list(APPEND sources $<TARGET_OBJECTS:wavelet_version>)
  elseif(WIN32)
    list(APPEND sources "${PROJECT_SOURCE_DIR}/host/windows/module.def")
  endif()
  add_library(${target} MODULE ${sources})
  target_compile_options(${target} PRIVATE ${module_flags})
  target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}")
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name} PREFIX "" SUFFIX ".${MEX_EXT}"
    LIBRARY_OUTPUT_DIRECTORY "${outdir}" CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON SKIP_BUILD_RPATH ON)
  if(APPLE)
    if(ARG_KERNEL_ONLY)
      target_sources(${target} PRIVATE "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/macos/kernel_root.c")
      target_compile_definitions(${target} PRIVATE "KERNEL_SYMBOL=\"_${symbol}\"")
    endif()
    target_link_options(${target} PRIVATE "-Wl,-exported_symbol,${exports}"
                        -Wl,-undefined,error -Wl,-dead_strip)
    target_link_libraries(${target} PRIVATE wavelet_core mx mex mat)
  elseif(WIN32)
    add_dependencies(${target} wavelet_host_imports)
    # The debugging sections of MinGW's own start-up objects are left out.
    target_link_options(${target} PRIVATE -Wl,--gc-sections -Wl,--no-undefined -Wl,--strip-debug)
    target_link_libraries(${target} PRIVATE wavelet_core ${WAVELET_HOST_IMPORTS})
  else()
    set(map "${PROJECT_SOURCE_DIR}/cmake/command_module.map")
    set(root)
    if(ARG_KERNEL_ONLY)
      set(map "${PROJECT_SOURCE_DIR}/cmake/kernel_module.map")
      set(root "-Wl,--require-defined=${symbol}")
    endif()
    set_target_properties(${target} PROPERTIES LINK_DEPENDS "${map}")
    target_link_options(${target} PRIVATE "-Wl,--version-script=${map}"
                        "-Wl,-soname,${name}.${MEX_EXT}" -Wl,--no-undefined -Wl,--gc-sections
                        ${root} -static-libgcc -static-libstdc++)
    # libmat supplies nothing the modules call, but the host expects them to
    # need it, so it is linked without regard to use.
    target_link_libraries(${target} PRIVATE wavelet_core -Wl,--no-as-needed mx mex mat m)
  endif()
endfunction()
