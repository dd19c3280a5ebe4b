# Mach-O bundles for MATLAB's Mac platforms (included by MexModule.cmake):
#   maci   (i386):   every command, and the ten kernel-only modules
#   maci64 (x86-64): every command but MeldGrid_WR
#   maca64 (arm64):  every command, linked against text stubs (.tbd)
# A command bundle exports only _mexFunction, a kernel-only one only
# _mexVersion; every sum is rounded to double (SSE2 on i386 too).
#
# A bundle records the install names of the host libraries it links: the
# i386 ones find libmx, libmex and libmat beside it (@loader_path), the
# 64-bit ones through the run path (@rpath). WAVELET_MAC_HOST_DIR names the
# host's own libraries; left empty, link-time stand-ins with those install
# names are built here (empty entries, never loaded).
if(CMAKE_OSX_ARCHITECTURES STREQUAL "i386"
   OR (NOT CMAKE_OSX_ARCHITECTURES AND CMAKE_SIZEOF_VOID_P EQUAL 4))
  set(MEX_PLATFORM maci)
  set(MEX_EXT mexmaci)
  set(WAVELET_KERNEL_MODULES ON)
  set(WAVELET_MAC_HOST_INSTALL_DIR "@loader_path")
  add_compile_options(-msse2 -mfpmath=sse)
  if(WAVELET_MAC_CROSS)
    # The older linker of the cross build does not know this option.
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
  set(WAVELET_MODULELESS_COMMANDS MeldGrid_WR)
  set(WAVELET_MAC_HOST_INSTALL_DIR "@rpath")
endif()
set(MEX_MODULE_DIR "${MEX_OUTPUT_ROOT}/${MEX_PLATFORM}")

set(WAVELET_MAC_HOST_DIR "" CACHE PATH
    "Folder of the host's libmx, libmex and libmat dylibs; empty links stand-ins built here")

set(WAVELET_MAC_COMMAND_EXPORTS "${CMAKE_BINARY_DIR}/command_exports.txt")
set(WAVELET_MAC_KERNEL_EXPORTS "${CMAKE_BINARY_DIR}/kernel_exports.txt")
file(WRITE "${WAVELET_MAC_COMMAND_EXPORTS}" "_mexFunction\n")
file(WRITE "${WAVELET_MAC_KERNEL_EXPORTS}" "_mexVersion\n")

# CMake learns the run-path flag from a running macOS; every one takes it.
if(NOT CMAKE_SHARED_LIBRARY_RUNTIME_C_FLAG)
  set(CMAKE_SHARED_LIBRARY_RUNTIME_C_FLAG "-Wl,-rpath,")
  set(CMAKE_SHARED_LIBRARY_RUNTIME_CXX_FLAG "-Wl,-rpath,")
endif()

if(WAVELET_MAC_HOST_DIR OR MEX_PLATFORM STREQUAL "maca64")
  # The host's own libraries, or for arm64 their text stubs.
  set(host_dir "${WAVELET_MAC_HOST_DIR}")
  set(suffix dylib)
  if(NOT host_dir)
    set(host_dir "${CMAKE_CURRENT_LIST_DIR}/tbd")
    set(suffix tbd)
  endif()
  foreach(lib mx mex mat)
    add_library(${lib} SHARED IMPORTED)
    set_target_properties(${lib} PROPERTIES IMPORTED_LOCATION "${host_dir}/lib${lib}.${suffix}")
  endforeach()
else()
  set(stub_dir "${CMAKE_BINARY_DIR}/host_stubs")
  if(WAVELET_MAC_CROSS)
    # Without an SDK there is no libSystem either: a stand-in with its
    # install name holds what the modules and the compiler's code call (on
    # i386 64-bit division too).
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

