# i386 macOS bundles cross-built on Debian, as for x86-64
# (cmake/macos-x86_64.toolchain.cmake), with LLVM's earlier Mach-O linker
# (ld64.lld.darwinold, Debian package lld-13): the current one has no i386
# target. That linker fails on the compact unwind tables of i386 objects, so
# everything here is compiled without unwind tables: nothing in a module
# unwinds (the kernels and gateways raise no exceptions).
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR i386)
set(CMAKE_SYSTEM_VERSION 13.0) # the Darwin kernel of OS X 10.9
set(CMAKE_OSX_ARCHITECTURES i386 CACHE STRING "")
set(CMAKE_OSX_DEPLOYMENT_TARGET 10.9 CACHE STRING "")
set(CMAKE_OSX_SYSROOT "" CACHE PATH "")
set(WAVELET_MAC_CROSS ON)

find_program(WAVELET_CLANG NAMES clang clang-14 REQUIRED)
find_program(WAVELET_CLANGXX NAMES clang++ clang++-14 REQUIRED)
find_program(WAVELET_LD64 NAMES ld64.lld.darwinold PATHS /usr/lib/llvm-13/bin REQUIRED)
set(CMAKE_C_COMPILER "${WAVELET_CLANG}")
set(CMAKE_CXX_COMPILER "${WAVELET_CLANGXX}")
set(CMAKE_C_COMPILER_TARGET i386-apple-macos10.9)
set(CMAKE_CXX_COMPILER_TARGET i386-apple-macos10.9)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

execute_process(COMMAND gcc -dumpversion OUTPUT_VARIABLE gcc_version OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX MATCH "^[0-9]+" gcc_major "${gcc_version}")
set(common "-U__nonnull -U__nullable -fno-asynchronous-unwind-tables -fno-unwind-tables")
set(headers "${common} -nostdinc++ -Wno-unused-command-line-argument"
    "-isystem /usr/include/c++/${gcc_major}"
    "-isystem /usr/include/x86_64-linux-gnu/c++/${gcc_major}/32"
    "-isystem /usr/include/x86_64-linux-gnu"
    "-isystem /usr/include")
string(JOIN " " headers ${headers})
set(CMAKE_C_FLAGS_INIT "${common}")
set(CMAKE_CXX_FLAGS_INIT "${headers}")

set(link "--ld-path=${WAVELET_LD64} -mlinker-version=253 -nostdlib++ -Wl,-sdk_version,10.9")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${link}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${link}")
