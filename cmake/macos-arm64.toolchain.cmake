# arm64 macOS bundles (Apple silicon) cross-built on Debian: clang with an
# Apple target and LLVM's Mach-O linker, as for x86-64
# (cmake/macos-x86_64.toolchain.cmake), linked against text stubs (.tbd) of
# the host's libraries and of libSystem (cmake/macos/tbd/). The C and C++
# headers come from Debian's arm64 cross packages.
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR arm64)
set(CMAKE_SYSTEM_VERSION 20.0) # the Darwin kernel of macOS 11
set(CMAKE_OSX_ARCHITECTURES arm64 CACHE STRING "")
set(CMAKE_OSX_DEPLOYMENT_TARGET 11.0 CACHE STRING "")
set(CMAKE_OSX_SYSROOT "" CACHE PATH "")
set(WAVELET_MAC_CROSS ON)

find_program(WAVELET_CLANG NAMES clang clang-14 REQUIRED)
find_program(WAVELET_CLANGXX NAMES clang++ clang++-14 REQUIRED)
find_program(WAVELET_LD64 NAMES ld64.lld ld64.lld-14 PATHS /usr/lib/llvm-14/bin REQUIRED)
set(CMAKE_C_COMPILER "${WAVELET_CLANG}")
set(CMAKE_CXX_COMPILER "${WAVELET_CLANGXX}")
set(CMAKE_C_COMPILER_TARGET arm64-apple-macos11)
set(CMAKE_CXX_COMPILER_TARGET arm64-apple-macos11)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(root /usr/aarch64-linux-gnu/include)
execute_process(COMMAND gcc -dumpversion OUTPUT_VARIABLE gcc_version OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX MATCH "^[0-9]+" gcc_major "${gcc_version}")
set(headers "-U__nonnull -U__nullable -nostdinc++ -Wno-unused-command-line-argument"
    "-isystem ${root}/c++/${gcc_major}"
    "-isystem ${root}/c++/${gcc_major}/aarch64-linux-gnu"
    "-isystem ${root}")
string(JOIN " " headers ${headers})
set(CMAKE_C_FLAGS_INIT "-U__nonnull -U__nullable -isystem ${root}")
set(CMAKE_CXX_FLAGS_INIT "${headers}")

get_filename_component(stubs "${CMAKE_CURRENT_LIST_DIR}/macos/tbd" ABSOLUTE)
set(link "--ld-path=${WAVELET_LD64} -mlinker-version=609 -nostdlib++ -L${stubs}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${link}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${link}")
