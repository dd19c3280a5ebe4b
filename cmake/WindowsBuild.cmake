# The Windows x64 modules (.mexw64), built and tested as part of the x86-64
# Linux build.
#
# The x86-64 build configures this same source tree a second time with
# MinGW-w64 (cmake/mingw-w64.toolchain.cmake) into <build>/windows and builds
# it as a step of its own build; the nested tree writes its modules into
# <build>/win64/ and builds a Windows stand-in host (libmx.dll, libmex.dll,
# libmat.dll, mexcall.exe) and its test programs. Those run under Wine, in a
# Wine prefix of the build's own, as the tests "windows.<name>"
# (ctest -L windows).
#
# On by default wherever the cross compiler is installed (Debian's
# g++-mingw-w64-x86-64); off with -DWAVELET_WINDOWS=OFF. With CI=true in the
# environment a missing cross compiler or Wine is an error; elsewhere the
# modules are skipped without the compiler, and the tests without Wine.

option(WAVELET_WINDOWS "Also build the Windows x64 modules and test them under Wine" ON)
if(NOT WAVELET_WINDOWS OR NOT WAVELET_CROSS_BUILDS OR NOT CMAKE_SIZEOF_VOID_P EQUAL 8
   OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR WAVELET_SANITIZE)
  return()
endif()

find_program(WAVELET_MINGW_CXX x86_64-w64-mingw32-g++)
find_program(WAVELET_WINE NAMES wine wine64)
find_program(WAVELET_WINESERVER NAMES wineserver)
if(NOT WAVELET_MINGW_CXX)
  wavelet_missing("the Windows modules"
    "they need the MinGW-w64 cross compiler (install g++-mingw-w64-x86-64)")
  return()
endif()

set(WAVELET_WINDOWS_DIR "${CMAKE_BINARY_DIR}/windows")
set(wine_prefix "${CMAKE_BINARY_DIR}/wine-prefix")
set(WAVELET_WINDOWS_TESTS OFF)
if(WAVELET_TESTS AND WAVELET_WINE AND WAVELET_WINESERVER)
  set(WAVELET_WINDOWS_TESTS ON)
endif()
# A Windows program of the nested tree, run under Wine: the launcher's words,
# separated by "|".
set(WAVELET_WINE_RUN
    "${PROJECT_SOURCE_DIR}/cmake/windows/run_under_wine.sh|${WAVELET_WINE}|${wine_prefix}|${WAVELET_WINDOWS_DIR}/bin")

include("${CMAKE_CURRENT_LIST_DIR}/CrossBuild.cmake")
set(emulator)
if(WAVELET_WINDOWS_TESTS)
  string(REPLACE "|" ";" emulator "${WAVELET_WINE_RUN}")
endif()
wavelet_cross_build(NAME windows
  TOOLCHAIN "${PROJECT_SOURCE_DIR}/cmake/mingw-w64.toolchain.cmake"
  TEST_DIRS kernels commands grid hardening fast platforms
  EMULATOR ${emulator}
  FIXTURE wine_prefix)

if(NOT WAVELET_TESTS)
  return()
endif()
if(NOT WAVELET_WINE OR NOT WAVELET_WINESERVER)
  add_test(NAME windows.wine
    COMMAND sh -c "if [ \"$CI\" = true ]; then echo 'Wine is missing (install wine64)'; exit 1; fi; echo 'skipped: Wine is not installed'; exit 77")
  set_tests_properties(windows.wine PROPERTIES SKIP_RETURN_CODE 77 LABELS windows)
  return()
endif()

# The first start of Wine fills the prefix (a minute at most); every other
# test waits for it. The Wine server then stays up between the tests. Wine
# hangs without a tmpfs at /dev/shm (a bare chroot has none): that is said
# at once instead.
add_test(NAME windows.prefix
  COMMAND sh -c "if [ \"$(stat -f -c %T /dev/shm 2>/dev/null)\" != tmpfs ]; then echo 'Wine needs a tmpfs at /dev/shm (mount -t tmpfs tmpfs /dev/shm)'; exit 1; fi; \"$0\" \"$1\" \"$2\" \"$3\" cmd /c exit 0 && WINEPREFIX=\"$2\" \"$4\" -p30 >/dev/null 2>&1 </dev/null; exit 0"
          "${PROJECT_SOURCE_DIR}/cmake/windows/run_under_wine.sh" "${WAVELET_WINE}" "${wine_prefix}"
          "${WAVELET_WINDOWS_DIR}/bin" "${WAVELET_WINESERVER}")
set_tests_properties(windows.prefix PROPERTIES FIXTURES_SETUP wine_prefix LABELS windows TIMEOUT 300)
