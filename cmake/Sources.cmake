# Source lists shared by every build.
#
# The CMake builds compile every kernel and transform source once per build
# flavour into one library (WAVELET_LIBRARY_SOURCES) and link each module
# against it; the per-command lists below name what each command module
# holds, for builds that compile a module from its sources in one go
# (octave/build_modules.m and the Octave package read this file).
#
# Keep this file to plain set() lists of quoted paths and ${VAR} references:
# octave/build_modules.m parses it with a few regular expressions.
set(WAVELET_SIMD_DIR "${PROJECT_SOURCE_DIR}/kernels/simd")
set(WAVELET_PERIODIC_DIR "${PROJECT_SOURCE_DIR}/kernels/periodic")
set(WAVELET_GRID_DIR "${PROJECT_SOURCE_DIR}/transform2d")
set(WAVELET_SIGNALS_DIR "${PROJECT_SOURCE_DIR}/transform1d")
set(WAVELET_COMMAND_DIR "${PROJECT_SOURCE_DIR}/commands")

# Kernel sources, each holding the named kernel.
set(WAVELET_mirrorfilt_SOURCES "${WAVELET_PERIODIC_DIR}/mirrorfilt.cpp")
# The vector forms of the filtering kernels and of the grid transforms, one
# file per instruction set (each selects its own target in the code, so no
# per-file flags are needed, and compiles to nothing on other processors),
# and the run-time choice between them.
set(WAVELET_LANES_SOURCES "${WAVELET_SIMD_DIR}/simd.cpp" "${WAVELET_PERIODIC_DIR}/lanes_sse2.cpp"
    "${WAVELET_PERIODIC_DIR}/lanes_avx2.cpp" "${WAVELET_PERIODIC_DIR}/lanes_avx512.cpp"
    "${WAVELET_PERIODIC_DIR}/lanes_neon.cpp")
set(WAVELET_GRID_LANES_SOURCES "${WAVELET_GRID_DIR}/grid_sse2.cpp" "${WAVELET_GRID_DIR}/grid_avx2.cpp"
    "${WAVELET_GRID_DIR}/grid_avx512.cpp" "${WAVELET_GRID_DIR}/grid_neon.cpp")
set(WAVELET_downlo_SOURCES "${WAVELET_PERIODIC_DIR}/downlo.cpp" ${WAVELET_LANES_SOURCES})
set(WAVELET_downhi_SOURCES "${WAVELET_PERIODIC_DIR}/downhi.cpp" ${WAVELET_LANES_SOURCES})
set(WAVELET_uplo_SOURCES "${WAVELET_PERIODIC_DIR}/uplo.cpp" ${WAVELET_LANES_SOURCES})
set(WAVELET_uphi_SOURCES "${WAVELET_PERIODIC_DIR}/uphi.cpp" ${WAVELET_LANES_SOURCES})
# The summed synthesis of a signal from its two halves.
set(WAVELET_upsum_SOURCES "${WAVELET_PERIODIC_DIR}/upsum.cpp" ${WAVELET_LANES_SOURCES})
set(WAVELET_dpwt2_SOURCES "${WAVELET_GRID_DIR}/strided.cpp" "${WAVELET_GRID_DIR}/dpwt2.cpp"
    ${WAVELET_GRID_LANES_SOURCES} ${WAVELET_LANES_SOURCES})
set(WAVELET_dpwt_SOURCES "${WAVELET_SIGNALS_DIR}/dpwt.cpp" ${WAVELET_downlo_SOURCES}
    ${WAVELET_downhi_SOURCES})
set(WAVELET_idpwt_SOURCES "${WAVELET_SIGNALS_DIR}/idpwt.cpp" ${WAVELET_upsum_SOURCES})
set(WAVELET_idpwt2_SOURCES "${WAVELET_GRID_DIR}/strided.cpp" "${WAVELET_GRID_DIR}/idpwt2.cpp"
    ${WAVELET_GRID_LANES_SOURCES} ${WAVELET_LANES_SOURCES})

set(WAVELET_KERNELS mirrorfilt downlo downhi uplo uphi)

# Symmetric-filter kernels: delivered only as kernel-only modules.
set(WAVELET_SYMMETRIC_DIR "${PROJECT_SOURCE_DIR}/kernels/symmetric")
set(WAVELET_mirrorsymmfilt_SOURCES "${WAVELET_SYMMETRIC_DIR}/mirrorsymmfilt.cpp")
set(WAVELET_downlopbs_SOURCES "${WAVELET_SYMMETRIC_DIR}/downlopbs.cpp")
set(WAVELET_downhipbs_SOURCES "${WAVELET_SYMMETRIC_DIR}/downhipbs.cpp")
set(WAVELET_uplopbs_SOURCES "${WAVELET_SYMMETRIC_DIR}/uplopbs.cpp")
set(WAVELET_uphipbs_SOURCES "${WAVELET_SYMMETRIC_DIR}/uphipbs.cpp")
set(WAVELET_SYMMETRIC_KERNELS mirrorsymmfilt downlopbs downhipbs uplopbs uphipbs)

set(WAVELET_COMMANDS SinkCoarse SinkDetail RaiseCoarse RaiseDetail SiftGrid_WR MeldGrid_WR
    SiftSignal_WR MeldSignal_WR)
# The same list as one word, for the scripts that check the built folders.
string(REPLACE ";" "," WAVELET_COMMAND_WORD "${WAVELET_COMMANDS}")

# Each command module: its gateway and the kernels and routines it holds.
set(WAVELET_SinkCoarse_SOURCES "${WAVELET_COMMAND_DIR}/SinkCoarse.cpp" ${WAVELET_downlo_SOURCES})
set(WAVELET_SinkDetail_SOURCES "${WAVELET_COMMAND_DIR}/SinkDetail.cpp"
    ${WAVELET_mirrorfilt_SOURCES} ${WAVELET_downhi_SOURCES})
set(WAVELET_RaiseCoarse_SOURCES "${WAVELET_COMMAND_DIR}/RaiseCoarse.cpp" ${WAVELET_uplo_SOURCES})
set(WAVELET_RaiseDetail_SOURCES "${WAVELET_COMMAND_DIR}/RaiseDetail.cpp"
    ${WAVELET_mirrorfilt_SOURCES} ${WAVELET_uphi_SOURCES})
set(WAVELET_SiftGrid_WR_SOURCES "${WAVELET_COMMAND_DIR}/SiftGrid_WR.cpp"
    ${WAVELET_mirrorfilt_SOURCES} ${WAVELET_downlo_SOURCES} ${WAVELET_downhi_SOURCES}
    ${WAVELET_dpwt2_SOURCES})
set(WAVELET_MeldGrid_WR_SOURCES "${WAVELET_COMMAND_DIR}/MeldGrid_WR.cpp"
    ${WAVELET_mirrorfilt_SOURCES} ${WAVELET_uplo_SOURCES} ${WAVELET_uphi_SOURCES}
    ${WAVELET_idpwt2_SOURCES})
set(WAVELET_SiftSignal_WR_SOURCES "${WAVELET_COMMAND_DIR}/SiftSignal_WR.cpp"
    ${WAVELET_mirrorfilt_SOURCES} ${WAVELET_dpwt_SOURCES})
set(WAVELET_MeldSignal_WR_SOURCES "${WAVELET_COMMAND_DIR}/MeldSignal_WR.cpp"
    ${WAVELET_mirrorfilt_SOURCES} ${WAVELET_idpwt_SOURCES})

# Every kernel and transform source: the library that each build flavour
# compiles once and links into every module, test, benchmark and fuzzer of
# that flavour. The version query is compiled once beside it.
set(WAVELET_LIBRARY_SOURCES ${WAVELET_mirrorfilt_SOURCES} ${WAVELET_downlo_SOURCES}
    ${WAVELET_downhi_SOURCES} ${WAVELET_uplo_SOURCES} ${WAVELET_uphi_SOURCES}
    ${WAVELET_upsum_SOURCES} ${WAVELET_dpwt2_SOURCES} ${WAVELET_idpwt2_SOURCES}
    ${WAVELET_dpwt_SOURCES} ${WAVELET_idpwt_SOURCES}
    ${WAVELET_mirrorsymmfilt_SOURCES} ${WAVELET_downlopbs_SOURCES} ${WAVELET_downhipbs_SOURCES}
    ${WAVELET_uplopbs_SOURCES} ${WAVELET_uphipbs_SOURCES})
set(WAVELET_VERSION_SOURCE "${PROJECT_SOURCE_DIR}/host/mex_version.cpp")
list(REMOVE_DUPLICATES WAVELET_LIBRARY_SOURCES)
