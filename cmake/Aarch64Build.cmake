# The arm64 Linux modules, built and tested as part of the x86-64 build: the
# same sources for aarch64 (clang and lld, cmake/aarch64-linux.toolchain.cmake)
# in <build>/aarch64, the command modules in <build>/aarch64/ beside the
# tree (the format and exports of the x86-64 Linux ones), and the kernel,
# command, grid, fast-path and digest programs run under qemu-aarch64 as the
# tests "aarch64.<name>" (ctest -L aarch64). This is what Octave users on
# ARM Linux machines run, and the proof that the 2-lane vector forms give
# the same bits there.
#
# Needs clang, lld, Debian's arm64 cross libraries (libc6-dev-arm64-cross,
# libstdc++-12-dev-arm64-cross) and qemu-user; off with -DWAVELET_AARCH64=OFF.
# With CI=true a missing piece is an error; elsewhere the build is skipped.
option(WAVELET_AARCH64 "Also build the arm64 Linux modules and test them under qemu" ON)
if(NOT WAVELET_AARCH64 OR NOT WAVELET_CROSS_BUILDS OR NOT CMAKE_SIZEOF_VOID_P EQUAL 8
   OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR WAVELET_SANITIZE OR CMAKE_CROSSCOMPILING)
  return()
endif()

find_program(WAVELET_QEMU_AARCH64 qemu-aarch64)
find_program(WAVELET_AARCH64_CLANG NAMES clang clang-14)
find_program(WAVELET_AARCH64_LLD NAMES ld.lld ld.lld-14)
find_file(WAVELET_AARCH64_LIBSTDCXX libstdc++.so PATHS /usr/lib/gcc-cross/aarch64-linux-gnu/12
          NO_DEFAULT_PATH)
set(sysroot /usr/aarch64-linux-gnu)
if(NOT WAVELET_QEMU_AARCH64 OR NOT WAVELET_AARCH64_CLANG OR NOT WAVELET_AARCH64_LLD
   OR NOT WAVELET_AARCH64_LIBSTDCXX OR NOT EXISTS "${sysroot}/lib/libc.so.6")
  wavelet_missing("the arm64 Linux build"
    "it needs clang, lld, libc6-dev-arm64-cross, libstdc++-12-dev-arm64-cross and qemu-user")
  return()
endif()

include("${CMAKE_CURRENT_LIST_DIR}/CrossBuild.cmake")
wavelet_cross_build(NAME aarch64
  TOOLCHAIN "${PROJECT_SOURCE_DIR}/cmake/aarch64-linux.toolchain.cmake"
  TEST_DIRS kernels commands grid fast platforms
  EMULATOR "${WAVELET_QEMU_AARCH64}" -L "${sysroot}")
set(WAVELET_AARCH64_DIR "${CMAKE_BINARY_DIR}/aarch64")
set(WAVELET_AARCH64_RUN "${WAVELET_QEMU_AARCH64}|-L|${sysroot}")
