# Mach-O bundles for MATLAB's Mac platforms: maci (i386: every command and
# the kernel-only modules), maci64 (x86-64: every command but MeldGrid_WR),
# maca64 (arm64: every command). Every sum is rounded to double (SSE2 on
# i386 too). The i386 bundles find libmx, libmex and libmat beside them
# (@loader_path), the 64-bit ones through the run path (@rpath); they link
# against the host's own (WAVELET_MAC_HOST_DIR) or else, for 64 bits, text
# stubs (tbd/), for i386 stand-ins built here (stand_ins.c).
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

set(WAVELET_MAC_HOST_DIR "" CACHE PATH "Folder of the host's libmx, libmex and libmat dylibs")
# CMake learns the run-path flag from a running macOS; every one takes it.
if(NOT CMAKE_SHARED_LIBRARY_RUNTIME_C_FLAG)
  set(CMAKE_SHARED_LIBRARY_RUNTIME_C_FLAG "-Wl,-rpath,")
  set(CMAKE_SHARED_LIBRARY_RUNTIME_CXX_FLAG "-Wl,-rpath,")
endif()

if(WAVELET_MAC_HOST_DIR OR NOT MEX_PLATFORM STREQUAL "maci")
  # The host's own libraries, or their text stubs.
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
  # Without an SDK there is no libSystem either: a stand-in with its install
  # name, which the driver's -lSystem finds.
  set(libs mx mex mat)
  set(stand_ins "${CMAKE_BINARY_DIR}/stand_ins")
  if(WAVELET_MAC_CROSS)
    set(libs System ${libs})
    link_directories("${stand_ins}")
    file(MAKE_DIRECTORY "${stand_ins}")
    file(CREATE_LINK "libSystem.B.dylib" "${stand_ins}/libSystem.dylib" SYMBOLIC)
  endif()
  foreach(lib ${libs})
    add_library(${lib} SHARED "${CMAKE_CURRENT_LIST_DIR}/stand_ins.c")
    target_compile_definitions(${lib} PRIVATE STAND_IN_${lib})
    target_compile_options(${lib} PRIVATE -fno-builtin -w)
    set_target_properties(${lib} PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${stand_ins}"
      INSTALL_NAME_DIR "${WAVELET_MAC_HOST_INSTALL_DIR}" BUILD_WITH_INSTALL_NAME_DIR ON)
    if(TARGET System AND NOT lib STREQUAL "System")
      add_dependencies(${lib} System)
    endif()
  endforeach()
  if(TARGET System)
    set_target_properties(System PROPERTIES INSTALL_NAME_DIR /usr/lib OUTPUT_NAME System.B)
    target_link_options(System PRIVATE -nostdlib)
  endif()
endif()
