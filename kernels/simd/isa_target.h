// Compiling the rest of a file for one instruction set, whatever the build's
// own target, and never with fused multiply-add: GCC's target pragma, or a
// clang attribute region closed by WAVELET_TARGET_END. Include the standard
// and intrinsic headers before WAVELET_TARGET_BEGIN.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#define WAVELET_PRAGMA(text) _Pragma(#text)

#if defined(__aarch64__)
// Every arm64 processor has the 2-lane double vectors: no target to choose.
#if defined(__clang__)
#define WAVELET_TARGET_BEGIN(isa) WAVELET_PRAGMA(STDC FP_CONTRACT OFF)
#else
#define WAVELET_TARGET_BEGIN(isa) WAVELET_PRAGMA(GCC optimize("fp-contract=off"))
#endif
#define WAVELET_TARGET_END
#elif defined(__clang__)
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

// The name of a routine's form for the instruction set WAVELET_ISA that a
// per-variant source file defines: WAVELET_FORM(downlo) is downlo_avx2 in
// the file that defines WAVELET_ISA as avx2.
#define WAVELET_FORM_JOIN(name, isa) name##_##isa
#define WAVELET_FORM_NAME(name, isa) WAVELET_FORM_JOIN(name, isa)
#define WAVELET_FORM(name) WAVELET_FORM_NAME(name, WAVELET_ISA)

// Whether this object holds the forms of the routine name: every routine's,
// or, where the build compiles a per-variant file once for each routine that
// names it (defining WAVELET_FORMS_ONLY and WAVELET_FORMS_OF_<routine>), that
// routine's alone, so a module links only the forms it calls.
#if defined(WAVELET_FORMS_ONLY)
#define WAVELET_FORMS_OF(name) WAVELET_FORMS_OF_##name
#else
#define WAVELET_FORMS_OF(name) 1
#endif
