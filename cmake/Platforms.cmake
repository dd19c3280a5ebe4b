# The other platforms' modules, each from a nested tree with the platform's
# toolchain file, built by the x86-64 Linux build and tested (ctest -L
# <tree>) wherever this machine can run them: i386 and i386-rounded
# (glnx86/, natively or under qemu-i386), windows (win64/, under Wine),
# aarch64 (under qemu), macos-<arch> (maci64/, maca64/, maci/: read by the
# export test). Each is on where its tools are installed; with CI=true a
# missing tool is an error.
option(WAVELET_I386 "Also build the i386 Linux modules and run the test suite against them" ON)
option(WAVELET_I386_EMULATE "Run the i386 tests under qemu-i386 even where they run natively" OFF)
option(WAVELET_WINDOWS "Also build the Windows x64 modules and test them under Wine" ON)
option(WAVELET_AARCH64 "Also build the arm64 Linux modules and test them under qemu" ON)
option(WAVELET_MACOS "Also cross-build the macOS modules" ON)
if(NOT WAVELET_CROSS_BUILDS OR NOT CMAKE_SIZEOF_VOID_P EQUAL 8
   OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR WAVELET_SANITIZE OR CMAKE_CROSSCOMPILING)
  return()
endif()
include("${CMAKE_CURRENT_LIST_DIR}/CrossBuild.cmake")

# wavelet_platform_ready(<result> <option> <what> <why> <variable>...):
# whether the option is on and every tool (variable) found.
function(wavelet_platform_ready result option what why)
  set(${result} OFF PARENT_SCOPE)
  if(NOT ${option})
    return()
  endif()
  foreach(variable IN LISTS ARGN)
    if(NOT ${variable})
      wavelet_missing("${what}" "${why}")
      return()
    endif()
  endforeach()
  set(${result} ON PARENT_SCOPE)
endfunction()

# --- i386 Linux: the modules whose sums are 80-bit (x87) -------------------
# Can this machine build (and run) -m32 C++ programs? Asked at every
# configure: the packages may have come since.
if(WAVELET_I386)
  try_run(WAVELET_I386_PROBE_RUN i386_builds "${CMAKE_BINARY_DIR}/CMakeFiles/i386_probe"
    "${CMAKE_CURRENT_LIST_DIR}/i386_probe.cpp" COMPILE_DEFINITIONS -m32 LINK_OPTIONS -m32)
endif()
wavelet_platform_ready(ready WAVELET_I386 "the i386 build (off with -DWAVELET_I386=OFF)"
  "a -m32 C++ program does not build here (install gcc-multilib and g++-multilib)" i386_builds)
if(ready)
  # Where the kernel cannot run 32-bit programs the whole tier runs under
  # qemu-i386, whose x87 emulation keeps the 80-bit format. Without either
  # the modules are still built, and the tier is one skipped test.
  set(WAVELET_I386_RUN "")
  set(WAVELET_I386_TESTS ${WAVELET_TESTS})
  if(NOT WAVELET_I386_PROBE_RUN STREQUAL "0" OR WAVELET_I386_EMULATE)
    find_program(WAVELET_QEMU_I386 qemu-i386)
    set(WAVELET_I386_RUN "${WAVELET_QEMU_I386}")
    wavelet_platform_ready(WAVELET_I386_TESTS WAVELET_I386_TESTS "the i386 tests"
      "32-bit programs do not run on this machine and qemu-i386 is missing (install qemu-user)"
      WAVELET_QEMU_I386)
  endif()
  set(WAVELET_I386_DIR "${CMAKE_BINARY_DIR}/i386")
  set(toolchain "${PROJECT_SOURCE_DIR}/cmake/i386-linux.toolchain.cmake")
  wavelet_cross_build(NAME i386 TOOLCHAIN "${toolchain}" EMULATOR ${WAVELET_I386_RUN}
    TEST_DIRS kernels commands grid symmetric exports hardening fast platforms i386
    MIRROR ${WAVELET_I386_TESTS} TIMEOUT 900 ARGS "-DWAVELET_TESTS=${WAVELET_I386_TESTS}")
  if(WAVELET_I386_TESTS)
    # The i386 macOS flavour (sums rounded to double) cannot run here: its
    # twin for i386 Linux must reproduce the 64-bit digests.
    set(WAVELET_I386_ROUNDED_DIR "${CMAKE_BINARY_DIR}/i386-rounded")
    wavelet_cross_build(NAME i386-rounded TOOLCHAIN "${toolchain}" TEST_DIRS platforms
      TARGET wavelet_digest
      ARGS -DWAVELET_I386_ROUNDED=ON "-DMEX_OUTPUT_ROOT=${WAVELET_I386_ROUNDED_DIR}/modules")
  elseif(WAVELET_TESTS)
    add_test(NAME i386.suite
      COMMAND sh -c "echo '32-bit programs do not run on this machine'; exit 77")
    set_tests_properties(i386.suite PROPERTIES SKIP_RETURN_CODE 77 LABELS i386)
  endif()
endif()

# --- Windows x64 (MinGW-w64), tested under Wine in a prefix of the build's own
find_program(WAVELET_MINGW_CXX x86_64-w64-mingw32-g++)
wavelet_platform_ready(ready WAVELET_WINDOWS "the Windows modules"
  "they need the MinGW-w64 cross compiler (install g++-mingw-w64-x86-64)" WAVELET_MINGW_CXX)
if(ready)
  find_program(WAVELET_WINE NAMES wine wine64)
  find_program(WAVELET_WINESERVER NAMES wineserver)
  set(WAVELET_WINDOWS_DIR "${CMAKE_BINARY_DIR}/windows")
  set(wine "${WAVELET_WINE}|${CMAKE_BINARY_DIR}/wine-prefix|${WAVELET_WINDOWS_DIR}/bin")
  set(emulator)
  wavelet_platform_ready(WAVELET_WINDOWS_TESTS WAVELET_TESTS "the Windows tests"
    "Wine is missing (install wine64)" WAVELET_WINE WAVELET_WINESERVER)
  if(WAVELET_WINDOWS_TESTS)
    set(WAVELET_WINE_RUN "${PROJECT_SOURCE_DIR}/cmake/windows/run_under_wine.sh|${wine}")
    string(REPLACE "|" ";" emulator "${WAVELET_WINE_RUN}")
  endif()
  wavelet_cross_build(NAME windows
    TOOLCHAIN "${PROJECT_SOURCE_DIR}/cmake/mingw-w64.toolchain.cmake"
    TEST_DIRS kernels commands grid hardening fast platforms
    EMULATOR ${emulator} MIRROR ${WAVELET_WINDOWS_TESTS} TIMEOUT 300 FIXTURE wine_prefix)
  if(WAVELET_WINDOWS_TESTS)
    string(REPLACE "|" ";" wine "${wine}")
    add_test(NAME windows.prefix COMMAND "${PROJECT_SOURCE_DIR}/cmake/windows/wine_prefix.sh"
                                         ${wine} "${WAVELET_WINESERVER}")
    set_tests_properties(windows.prefix PROPERTIES FIXTURES_SETUP wine_prefix LABELS windows TIMEOUT 300)
  endif()
endif()

# --- arm64 Linux under qemu-aarch64: the 2-lane vector forms -----------------
find_program(WAVELET_QEMU_AARCH64 qemu-aarch64)
find_program(WAVELET_AARCH64_CLANG NAMES clang clang-14)
find_program(WAVELET_AARCH64_LLD NAMES ld.lld ld.lld-14)
find_file(WAVELET_AARCH64_LIBSTDCXX libstdc++.so PATHS /usr/lib/gcc-cross/aarch64-linux-gnu/12
          NO_DEFAULT_PATH)
find_file(WAVELET_AARCH64_LIBC libc.so.6 PATHS /usr/aarch64-linux-gnu/lib NO_DEFAULT_PATH)
wavelet_platform_ready(ready WAVELET_AARCH64 "the arm64 Linux build"
  "it needs clang, lld, libc6-dev-arm64-cross, libstdc++-12-dev-arm64-cross and qemu-user"
  WAVELET_QEMU_AARCH64 WAVELET_AARCH64_CLANG WAVELET_AARCH64_LLD WAVELET_AARCH64_LIBSTDCXX
  WAVELET_AARCH64_LIBC)
if(ready)
  wavelet_cross_build(NAME aarch64
    TOOLCHAIN "${PROJECT_SOURCE_DIR}/cmake/aarch64-linux.toolchain.cmake"
    TEST_DIRS kernels commands grid fast platforms
    EMULATOR "${WAVELET_QEMU_AARCH64}" -L /usr/aarch64-linux-gnu MIRROR ON TIMEOUT 900)
  set(WAVELET_AARCH64_DIR "${CMAKE_BINARY_DIR}/aarch64")
  set(WAVELET_AARCH64_RUN "${WAVELET_QEMU_AARCH64}|-L|/usr/aarch64-linux-gnu")
endif()

# --- macOS bundles, cross-built with clang and LLVM's Mach-O linkers --------
find_program(WAVELET_MAC_CLANGXX NAMES clang++ clang++-14)
find_program(WAVELET_MAC_LD64 NAMES ld64.lld ld64.lld-14 PATHS /usr/lib/llvm-14/bin)
find_program(WAVELET_LLVM_NM NAMES llvm-nm llvm-nm-14 PATHS /usr/lib/llvm-14/bin)
find_program(WAVELET_LLVM_OBJDUMP NAMES llvm-objdump llvm-objdump-14 PATHS /usr/lib/llvm-14/bin)
wavelet_platform_ready(ready WAVELET_MACOS "the macOS cross build"
  "it needs clang, lld (ld64.lld) and llvm (llvm-nm, llvm-objdump)"
  WAVELET_MAC_CLANGXX WAVELET_MAC_LD64 WAVELET_LLVM_NM WAVELET_LLVM_OBJDUMP)
if(ready)
  set(arches x86_64 arm64)
  find_program(WAVELET_MAC_LD64_I386 ld64.lld.darwinold PATHS /usr/lib/llvm-13/bin)
  wavelet_platform_ready(ready WAVELET_MACOS "the i386 macOS build"
    "it needs ld64.lld.darwinold (install lld-13)" WAVELET_MAC_LD64_I386)
  if(ready)
    list(APPEND arches i386)
  endif()
  foreach(arch ${arches})
    wavelet_cross_build(NAME macos-${arch}
      TOOLCHAIN "${PROJECT_SOURCE_DIR}/cmake/macos-${arch}.toolchain.cmake")
  endforeach()
endif()
