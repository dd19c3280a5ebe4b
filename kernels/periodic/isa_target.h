// Compiling the rest of a file for one instruction set, whatever the build's
// own target, and never with fused multiply-add: GCC's target pragma, or a
// clang attribute region closed by WAVELET_TARGET_END. Include the standard
// and intrinsic headers before WAVELET_TARGET_BEGIN.
#pragma once

#include <immintrin.h>

#define WAVELET_PRAGMA(text) _Pragma(#text)

#if defined(__clang__)
#define WAVELET_TARGET_BEGIN(isa)                                                                  \
    WAVELET_PRAGMA(STDC FP_CONTRACT OFF)                                                           \
    WAVELET_PRAGMA(clang attribute push(__attribute__((target(isa))), apply_to = function))
#define WAVELET_TARGET_END WAVELET_PRAGMA(clang attribute pop)
#else
#define WAVELET_TARGET_BEGIN(isa)                                                                  \
    WAVELET_PRAGMA(GCC target(isa))                                                                \
    WAVELET_PRAGMA(GCC optimize("fp-contract=off"))
#define WAVELET_TARGET_END
#endif
