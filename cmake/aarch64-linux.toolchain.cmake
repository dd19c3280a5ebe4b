# arm64 Linux from an x86-64 Debian machine: clang for the aarch64 target
# with LLVM's linker, against Debian's arm64 cross libraries
# (libc6-dev-arm64-cross, libstdc++-12-dev-arm64-cross), which clang finds
# by the target's name. (Debian's g++-aarch64-linux-gnu cannot be installed
# beside gcc-multilib, which the i386 build needs.)
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

find_program(WAVELET_CLANG NAMES clang clang-14 REQUIRED)
find_program(WAVELET_CLANGXX NAMES clang++ clang++-14 REQUIRED)
set(CMAKE_C_COMPILER "${WAVELET_CLANG}")
set(CMAKE_CXX_COMPILER "${WAVELET_CLANGXX}")
set(CMAKE_C_COMPILER_TARGET aarch64-linux-gnu)
set(CMAKE_CXX_COMPILER_TARGET aarch64-linux-gnu)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-fuse-ld=lld")

set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY ON)
