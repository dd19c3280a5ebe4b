# x86-64 macOS bundles cross-built on Debian: clang with an Apple target and
# LLVM's Mach-O linker (packages clang and lld). There is no Apple SDK here:
# the few C and C++ headers the modules include come from Debian's compiler,
# and the libraries the modules link against are link-time stand-ins that
# cmake/MacBuild.cmake builds (with the install names of the host's libraries).
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_SYSTEM_VERSION 13.0) # the Darwin kernel of OS X 10.9
set(CMAKE_OSX_ARCHITECTURES x86_64 CACHE STRING "")
set(CMAKE_OSX_DEPLOYMENT_TARGET 10.9 CACHE STRING "")
set(CMAKE_OSX_SYSROOT "" CACHE PATH "")
set(WAVELET_MAC_CROSS ON)

find_program(WAVELET_CLANG NAMES clang clang-14 REQUIRED)
find_program(WAVELET_CLANGXX NAMES clang++ clang++-14 REQUIRED)
find_program(WAVELET_LD64 NAMES ld64.lld ld64.lld-14 PATHS /usr/lib/llvm-14/bin REQUIRED)
set(CMAKE_C_COMPILER "${WAVELET_CLANG}")
set(CMAKE_CXX_COMPILER "${WAVELET_CLANGXX}")
set(CMAKE_C_COMPILER_TARGET x86_64-apple-macos10.9)
set(CMAKE_CXX_COMPILER_TARGET x86_64-apple-macos10.9)

# Nothing can be linked into an executable without an SDK.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# Debian's headers for an Apple target: clang predefines __nonnull and
# __nullable as nullability keywords there, which glibc's headers use as
# attribute macros of their own.
execute_process(COMMAND gcc -dumpversion OUTPUT_VARIABLE gcc_version OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX MATCH "^[0-9]+" gcc_major "${gcc_version}")
set(headers "-U__nonnull -U__nullable -nostdinc++ -Wno-unused-command-line-argument"
    "-isystem /usr/include/c++/${gcc_major}"
    "-isystem /usr/include/x86_64-linux-gnu/c++/${gcc_major}"
    "-isystem /usr/include/x86_64-linux-gnu"
    "-isystem /usr/include")
string(JOIN " " headers ${headers})
set(CMAKE_C_FLAGS_INIT "-U__nonnull -U__nullable")
set(CMAKE_CXX_FLAGS_INIT "${headers}")

# -mlinker-version tells the driver that the linker takes -platform_version.
set(link "--ld-path=${WAVELET_LD64} -mlinker-version=609 -nostdlib++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${link}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${link}")
