# The macOS modules: Mach-O bundles for MATLAB's Mac platforms.
#
#   maci   (i386):   <Command>.mexmaci for every command, and the ten
#                    kernel-only modules kernels/<kernel>.mexmaci
#   maci64 (x86-64): <Command>.mexmaci64 for every command but MeldGrid_WR
#   maca64 (arm64):  <Command>.mexmaca64 for every command, linked
#                    against text stubs (.tbd) of the host's libraries
#
# A command bundle exports only _mexFunction: the macOS command modules have
# no version query. A kernel-only bundle exports only _mexVersion. Both round
# every product and every sum to double (no extended accumulation on macOS),
# and plain double arithmetic is SSE2 double on i386 too.
#
# The host's libraries are libmx.dylib, libmex.dylib and libmat.dylib: the
# i386 bundles find them beside the module (@loader_path), the x86-64 bundles
# through the run path (@rpath). The install names recorded in a bundle are
# those of the libraries it links against, so
#  - WAVELET_MAC_HOST_DIR names a folder holding the host's own libraries, or
#  - left empty, link-time stand-ins with those install names are built here
#    (they hold the host operations as empty entries and are never loaded).
#
# Two uses:
#  - included by the project in cmake/macos/ (natively on a Mac, or cross-
#    built with cmake/macos-x86_64.toolchain.cmake), it gives the rules for
#    the bundles: add_mac_module and add_mac_modules;
#  - included by the Linux x86-64 build, it cross-builds the x86-64 and
#    arm64 macOS modules with clang and ld64.lld into <build>/maci64/ and
#    <build>/maca64/ as steps of the build, and registers the check of their
#    exports and bindings (llvm-nm, llvm-objdump) as the tests
#    "macos.maci64_files" and "macos.maca64_files". Off with
#    -DWAVELET_MACOS=OFF. The i386 bundles are not cross-built: LLVM's
#    Mach-O linker has no i386 target.

if(NOT CMAKE_SYSTEM_NAME STREQUAL "Darwin")
  option(WAVELET_MACOS "Also cross-build the x86-64 macOS modules and check their exports" ON)
  # Not from a 32-bit tree, nor from the sanitized checking builds.
  if(NOT WAVELET_MACOS OR NOT CMAKE_SIZEOF_VOID_P EQUAL 8 OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux"
     OR WAVELET_SANITIZE)
    return()
  endif()
  find_program(WAVELET_MAC_CLANGXX NAMES clang++ clang++-14)
  find_program(WAVELET_MAC_LD64 NAMES ld64.lld ld64.lld-14 PATHS /usr/lib/llvm-14/bin)
  find_program(WAVELET_LLVM_NM NAMES llvm-nm llvm-nm-14 PATHS /usr/lib/llvm-14/bin)
  find_program(WAVELET_LLVM_OBJDUMP NAMES llvm-objdump llvm-objdump-14 PATHS /usr/lib/llvm-14/bin)
  if(NOT WAVELET_MAC_CLANGXX OR NOT WAVELET_MAC_LD64 OR NOT WAVELET_LLVM_NM OR NOT WAVELET_LLVM_OBJDUMP)
    wavelet_missing("the macOS cross build"
      "it needs clang, lld (ld64.lld) and llvm (llvm-nm, llvm-objdump)")
    return()
  endif()
  include("${CMAKE_CURRENT_LIST_DIR}/CrossBuild.cmake")
  # The i386 bundles need LLVM's earlier Mach-O linker (Debian's lld-13).
  find_program(WAVELET_MAC_LD64_I386 ld64.lld.darwinold PATHS /usr/lib/llvm-13/bin)
  set(arches x86_64 arm64)
  if(WAVELET_MAC_LD64_I386)
    list(APPEND arches i386)
  else()
    wavelet_missing("the i386 macOS build" "it needs ld64.lld.darwinold (install lld-13)")
  endif()
  foreach(arch ${arches})
    set(platform maci64)
    if(arch STREQUAL "arm64")
      set(platform maca64)
    elseif(arch STREQUAL "i386")
      set(platform maci)
    endif()
    wavelet_cross_build(NAME macos-${arch} SOURCE "${PROJECT_SOURCE_DIR}/cmake/macos"
      TOOLCHAIN "${PROJECT_SOURCE_DIR}/cmake/macos-${arch}.toolchain.cmake")
    if(WAVELET_TESTS)
      add_test(NAME macos.${platform}_files
        COMMAND "${CMAKE_COMMAND}"
                "-DNM=${WAVELET_LLVM_NM}" "-DOBJDUMP=${WAVELET_LLVM_OBJDUMP}"
                "-DFOLDER=${MEX_OUTPUT_ROOT}/${platform}" "-DPLATFORM=${platform}"
                "-DCOMMANDS=${WAVELET_COMMAND_WORD}"
                -P "${PROJECT_SOURCE_DIR}/cmake/macos/check_mac.cmake")
      set_tests_properties(macos.${platform}_files PROPERTIES LABELS macos)
    endif()
  endforeach()
  return()
endif()

if(CMAKE_OSX_ARCHITECTURES STREQUAL "i386"
   OR (NOT CMAKE_OSX_ARCHITECTURES AND CMAKE_SIZEOF_VOID_P EQUAL 4))
  set(MEX_PLATFORM maci)
  set(MEX_EXT mexmaci)
  set(WAVELET_MAC_HOST_INSTALL_DIR "@loader_path")
  add_compile_options(-msse2 -mfpmath=sse)
  if(WAVELET_MAC_CROSS)
    # The earlier linker of the cross build does not know this option.
    foreach(lang C CXX)
      string(REPLACE "-Wl,-headerpad_max_install_names" "" CMAKE_SHARED_MODULE_CREATE_${lang}_FLAGS
             "${CMAKE_SHARED_MODULE_CREATE_${lang}_FLAGS}")
      string(REPLACE "-Wl,-headerpad_max_install_names" "" CMAKE_SHARED_LIBRARY_CREATE_${lang}_FLAGS
             "${CMAKE_SHARED_LIBRARY_CREATE_${lang}_FLAGS}")
    endforeach()
  endif()
elseif(CMAKE_OSX_ARCHITECTURES STREQUAL "arm64")
  set(MEX_PLATFORM maca64)
  set(MEX_EXT mexmaca64)
  set(WAVELET_MAC_HOST_INSTALL_DIR "@rpath")
else()
  set(MEX_PLATFORM maci64)
  set(MEX_EXT mexmaci64)
  set(WAVELET_MAC_HOST_INSTALL_DIR "@rpath")
endif()
set(MEX_MODULE_DIR "${MEX_OUTPUT_ROOT}/${MEX_PLATFORM}")

set(WAVELET_MAC_HOST_DIR "" CACHE PATH
    "Folder of the host's libmx, libmex and libmat dylibs; empty links stand-ins built here")

# Export lists, one entry each.
set(WAVELET_MAC_COMMAND_EXPORTS "${CMAKE_BINARY_DIR}/command_exports.txt")
set(WAVELET_MAC_KERNEL_EXPORTS "${CMAKE_BINARY_DIR}/kernel_exports.txt")
file(WRITE "${WAVELET_MAC_COMMAND_EXPORTS}" "_mexFunction\n")
file(WRITE "${WAVELET_MAC_KERNEL_EXPORTS}" "_mexVersion\n")

# CMake learns the run-path flag from the running macOS; a cross build has
# none to ask, and every macOS these modules serve takes it.
if(NOT CMAKE_SHARED_LIBRARY_RUNTIME_C_FLAG)
  set(CMAKE_SHARED_LIBRARY_RUNTIME_C_FLAG "-Wl,-rpath,")
  set(CMAKE_SHARED_LIBRARY_RUNTIME_CXX_FLAG "-Wl,-rpath,")
endif()

# The host libraries to link against.
if(WAVELET_MAC_HOST_DIR OR MEX_PLATFORM STREQUAL "maca64")
  # The host's own libraries, or for arm64 their text stubs, which hold the
  # install names and the entries, as MATLAB's own link line uses them.
  set(host_dir "${WAVELET_MAC_HOST_DIR}")
  set(suffix dylib)
  if(NOT host_dir)
    set(host_dir "${CMAKE_CURRENT_LIST_DIR}/macos/tbd")
    set(suffix tbd)
  endif()
  foreach(lib mx mex mat)
    add_library(${lib} SHARED IMPORTED)
    set_target_properties(${lib} PROPERTIES IMPORTED_LOCATION "${host_dir}/lib${lib}.${suffix}")
  endforeach()
else()
  set(stub_dir "${CMAKE_BINARY_DIR}/host_stubs")
  if(WAVELET_MAC_CROSS)
    # Without an SDK there is no libSystem to link against either: a
    # stand-in with the install name of the real one holds what the modules
    # and the compiler's code call (on i386, 64-bit division too, which the
    # real one exports from its compiler runtime).
    set(text "/* Link-time stand-in for libSystem: its entries, never called. */\n")
    foreach(entry floor memset memcpy memmove bzero __bzero __stack_chk_fail __divdi3 __udivdi3
                  __moddi3 __umoddi3)
      string(APPEND text "void ${entry}(void) {}\n")
    endforeach()
    string(APPEND text "long __stack_chk_guard;\n")
    # The lazy binder is the one entry named without the C underscore.
    string(APPEND text "void stub_binder(void) __asm__(\"dyld_stub_binder\");\n"
                       "void stub_binder(void) {}\n")
    file(WRITE "${stub_dir}/libSystem.c" "${text}")
    add_library(System SHARED "${stub_dir}/libSystem.c")
    set_target_properties(System PROPERTIES
      LIBRARY_OUTPUT_DIRECTORY "${stub_dir}/lib"
      INSTALL_NAME_DIR "/usr/lib"
      BUILD_WITH_INSTALL_NAME_DIR ON
      OUTPUT_NAME System.B)
    target_compile_options(System PRIVATE -fno-builtin -w)
    target_link_options(System PRIVATE -nostdlib)
    # The driver asks for -lSystem in every link.
    link_directories("${stub_dir}/lib")
    file(MAKE_DIRECTORY "${stub_dir}/lib")
    file(CREATE_LINK "libSystem.B.dylib" "${stub_dir}/lib/libSystem.dylib" SYMBOLIC)
  endif()
  set(entries_mx mxGetM mxGetN mxGetPr mxIsDouble mxIsComplex mxIsSparse mxCreateDoubleMatrix
      mxCreateDoubleMatrix_700 mxCreateDoubleMatrix_730 mxDestroyArray)
  set(entries_mex mexErrMsgTxt)
  set(entries_mat "")
  foreach(lib mx mex mat)
    set(text "/* Link-time stand-in for the host's lib${lib}: its entries, never called. */\n")
    foreach(entry IN LISTS entries_${lib})
      string(APPEND text "void ${entry}(void) {}\n")
    endforeach()
    string(APPEND text "void lib${lib}_stand_in(void) {}\n")
    file(WRITE "${stub_dir}/lib${lib}.c" "${text}")
    add_library(${lib} SHARED "${stub_dir}/lib${lib}.c")
    if(TARGET System)
      add_dependencies(${lib} System)
    endif()
    set_target_properties(${lib} PROPERTIES
      LIBRARY_OUTPUT_DIRECTORY "${stub_dir}/lib"
      INSTALL_NAME_DIR "${WAVELET_MAC_HOST_INSTALL_DIR}"
      BUILD_WITH_INSTALL_NAME_DIR ON)
  endforeach()
endif()

include("${CMAKE_CURRENT_LIST_DIR}/KernelSymbol.cmake")

# The flavour's library: every kernel and transform source compiled once,
# one section per function, linked into every bundle, which keeps only what
# it reaches from its export (-dead_strip).
add_library(wavelet_core STATIC ${WAVELET_LIBRARY_SOURCES})
set_target_properties(wavelet_core PROPERTIES
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)
target_include_directories(wavelet_core PUBLIC "${PROJECT_SOURCE_DIR}")
target_compile_options(wavelet_core PRIVATE -ffunction-sections -fdata-sections -fno-exceptions
                       -fno-rtti)
# The version query, which only the kernel-only bundles export.
add_library(wavelet_version OBJECT ${WAVELET_VERSION_SOURCE})
set_target_properties(wavelet_version PROPERTIES CXX_VISIBILITY_PRESET hidden)
target_include_directories(wavelet_version PRIVATE "${PROJECT_SOURCE_DIR}")
target_compile_options(wavelet_version PRIVATE -fno-exceptions -fno-rtti)

# add_mac_module(NAME [KERNEL_ONLY]): a command bundle from its gateway
# commands/NAME.cpp, or a kernel-only bundle holding the kernel NAME.
function(add_mac_module name)
  cmake_parse_arguments(ARG "KERNEL_ONLY" "" "" ${ARGN})
  if(ARG_KERNEL_ONLY)
    set(target kernel_${name})
    set(outdir "${MEX_MODULE_DIR}/kernels")
    set(exports "${WAVELET_MAC_KERNEL_EXPORTS}")
    # Nothing the bundle exports calls its kernel, so a one-line object
    # holds a reference to it that the linker may not strip (the Mach-O
    # symbol carries one more leading underscore); every Mach-O linker,
    # the earlier one of the i386 bundles too, keeps it that way.
    wavelet_kernel_symbol(${name} symbol)
    set(root "${CMAKE_BINARY_DIR}/kernel_roots/${name}.c")
    file(WRITE "${root}" "/* Keeps the kernel ${name} in its bundle. */\n"
                         "extern char kernel __asm__(\"_${symbol}\");\n"
                         "__attribute__((used)) static const void *keep = &kernel;\n")
    add_library(${target} MODULE $<TARGET_OBJECTS:wavelet_version> "${root}")
  else()
    set(target ${name})
    set(outdir "${MEX_MODULE_DIR}")
    set(exports "${WAVELET_MAC_COMMAND_EXPORTS}")
    add_library(${target} MODULE "${PROJECT_SOURCE_DIR}/commands/${name}.cpp")
    target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections -fno-exceptions
                           -fno-rtti)
  endif()
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${name}
    PREFIX ""
    SUFFIX ".${MEX_EXT}"
    LIBRARY_OUTPUT_DIRECTORY "${outdir}"
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    SKIP_BUILD_RPATH ON
    LINK_DEPENDS "${exports}")
  target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}")
  target_link_options(${target} PRIVATE "-Wl,-exported_symbols_list,${exports}" -Wl,-undefined,error
                      -Wl,-dead_strip)
  target_link_libraries(${target} PRIVATE wavelet_core mx mex mat)
endfunction()

# Every module of this platform.
function(add_mac_modules)
  foreach(command ${WAVELET_COMMANDS})
    if(MEX_PLATFORM STREQUAL "maci64" AND command STREQUAL "MeldGrid_WR")
      continue()
    endif()
    add_mac_module(${command})
  endforeach()
  if(MEX_PLATFORM STREQUAL "maci")
    foreach(kernel ${WAVELET_KERNELS} ${WAVELET_SYMMETRIC_KERNELS})
      add_mac_module(${kernel} KERNEL_ONLY)
    endforeach()
  endif()
endfunction()
