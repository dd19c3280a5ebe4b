# The macOS modules, cross-built by the Linux x86-64 build with clang and
# ld64.lld as steps of the build: <build>/maci64/, <build>/maca64/ and, with
# LLVM's earlier Mach-O linker (Debian's lld-13), <build>/maci/, each from
# the project in cmake/macos/ (which a Mac builds natively too). The export
# test reads them with llvm-nm and llvm-objdump. Off with -DWAVELET_MACOS=OFF.
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
endforeach()
