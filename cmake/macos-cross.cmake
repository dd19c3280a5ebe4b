# What the macOS cross toolchains share: clang with an Apple target and an
# LLVM Mach-O linker, without an Apple SDK (the few headers the modules
# include come from Debian's packages). Each toolchain sets MAC_ARCH,
# MAC_TARGET (clang's), MAC_DARWIN, MAC_MIN (the oldest macOS), MAC_LINKER,
# MAC_LINKER_VERSION (the ld64 whose options it takes), MAC_HEADERS (@GCC@
# for GCC's major version), MAC_FLAGS and MAC_LINK_FLAGS.
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR ${MAC_ARCH})
set(CMAKE_SYSTEM_VERSION ${MAC_DARWIN})
set(CMAKE_OSX_ARCHITECTURES ${MAC_ARCH} CACHE STRING "")
set(CMAKE_OSX_DEPLOYMENT_TARGET ${MAC_MIN} CACHE STRING "")
set(CMAKE_OSX_SYSROOT "" CACHE PATH "")
set(WAVELET_MAC_CROSS ON)

find_program(WAVELET_CLANG NAMES clang clang-14 REQUIRED)
find_program(WAVELET_CLANGXX NAMES clang++ clang++-14 REQUIRED)
find_program(WAVELET_LD64 NAMES ${MAC_LINKER} PATHS /usr/lib/llvm-14/bin /usr/lib/llvm-13/bin REQUIRED)
set(CMAKE_C_COMPILER "${WAVELET_CLANG}")
set(CMAKE_CXX_COMPILER "${WAVELET_CLANGXX}")
set(CMAKE_C_COMPILER_TARGET ${MAC_TARGET})
set(CMAKE_CXX_COMPILER_TARGET ${MAC_TARGET})

# Nothing can be linked into an executable without an SDK.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# Debian's headers for an Apple target: clang predefines __nonnull and
# __nullable as nullability keywords there, which glibc's headers use as
# attribute macros of their own.
execute_process(COMMAND gcc -dumpversion OUTPUT_VARIABLE gcc_version OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX MATCH "^[0-9]+" gcc_major "${gcc_version}")
string(REPLACE "@GCC@" "${gcc_major}" MAC_HEADERS "${MAC_HEADERS}")
set(common "-U__nonnull -U__nullable ${MAC_FLAGS}")
set(headers "${common} -nostdinc++ -Wno-unused-command-line-argument")
foreach(dir IN LISTS MAC_HEADERS)
  string(APPEND headers " -isystem ${dir}")
endforeach()
list(GET MAC_HEADERS -1 c_headers)
set(CMAKE_C_FLAGS_INIT "${common} -isystem ${c_headers}")
set(CMAKE_CXX_FLAGS_INIT "${headers}")

set(link "--ld-path=${WAVELET_LD64} -mlinker-version=${MAC_LINKER_VERSION} -nostdlib++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${link} ${MAC_LINK_FLAGS}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${link} ${MAC_LINK_FLAGS}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${link} ${MAC_LINK_FLAGS}")
