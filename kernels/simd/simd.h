// The instruction-set variants of the vector kernels and transforms, and the
// run-time choice between them.
//
// Every fast path vectorises across independent outputs (or, in the grid
// transforms, across rows), so each lane performs exactly the scalar sum:
// start at +0.0, add tap times sample in increasing tap order, no fused
// multiply-add. The variant is chosen once per process from the CPU's
// features; a test or benchmark may pin a lower one.
#pragma once

#include <cstdint>

// The one table of vector variants, best last: each row names the variant
// (the suffix of its forms, name_<variant>), its lane count and the CPU
// feature it needs (a member of CpuFeatures).
// Declarations, detection and dispatch are all made from it; the per-variant
// source files name their lane count and compiler target. Builds that
// accumulate in extended precision have no vector variant.
#if defined(WAVELET_EXTENDED_ACCUMULATION)
#define WAVELET_VARIANTS(X, ...)
#elif defined(__aarch64__)
#define WAVELET_VARIANTS(X, ...) X(neon, 2, neon, __VA_ARGS__)
#else
#define WAVELET_VARIANTS(X, ...)                                                                   \
    X(sse2, 2, sse2, __VA_ARGS__)                                                                  \
    X(avx2, 4, avx2, __VA_ARGS__)                                                                  \
    X(avx512, 8, avx512f, __VA_ARGS__)
#endif

#define WAVELET_VARIANT_ENUM(isa, lanes, feature, ...) simd_##isa,
enum : int { simd_plain = 0, WAVELET_VARIANTS(WAVELET_VARIANT_ENUM, ) simd_variants };
#undef WAVELET_VARIANT_ENUM

// The lane count of variant v (1 for the plain loops).
constexpr int simd_lanes([[maybe_unused]] int v) {
#define WAVELET_VARIANT_LANES(isa, lanes, feature, ...)                                            \
    if (v == simd_##isa) return lanes;
    WAVELET_VARIANTS(WAVELET_VARIANT_LANES, )
#undef WAVELET_VARIANT_LANES
    return 1;
}

// The variant in use: the best the CPU runs unless one was pinned.
int simd_variant();
// The best variant this CPU and build can run (simd_plain on the i386 build).
int simd_best_variant();
// Pins variant v (clamped to 0 .. simd_best_variant()); a negative v returns
// to the automatic choice.
void simd_force_variant(int v);

// Declares name_<variant> for every variant, with the given parameters.
#define WAVELET_DECLARE_FORM(isa, lanes, feature, name, ...) void name##_##isa(__VA_ARGS__);
#define WAVELET_DECLARE_FORMS(name, ...) WAVELET_VARIANTS(WAVELET_DECLARE_FORM, name, __VA_ARGS__)

// Runs name_<variant> on the arguments for the variant in use and says
// whether one ran; false when the plain loops are in use (always on builds
// that accumulate in extended precision), for the caller to run them.
#define WAVELET_RUN_FORM(isa, lanes, feature, name, ...)                                           \
    case simd_##isa:                                                                               \
        name##_##isa(__VA_ARGS__);                                                                 \
        return true;
#define WAVELET_RUN_VARIANT(name, ...)                                                             \
    ([&]() -> bool {                                                                               \
        switch (simd_variant()) {                                                                  \
            WAVELET_VARIANTS(WAVELET_RUN_FORM, name, __VA_ARGS__)                                  \
        default:                                                                                   \
            return false;                                                                          \
        }                                                                                          \
    }())

// The plain algorithm: the reference every variant reproduces.
void downlo_plain(const double *x, int32_t n, const double *h, int32_t m, double *y);
void downhi_plain(const double *x, int32_t n, const double *g, int32_t m, double *y);
void uplo_plain(const double *x, int32_t n, const double *h, int32_t m, double *y);
void uphi_plain(const double *x, int32_t n, const double *g, int32_t m, double *y);
void upsum_plain(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
                 int32_t m, double *y);

WAVELET_DECLARE_FORMS(downlo, const double *x, int32_t n, const double *h, int32_t m, double *y)
WAVELET_DECLARE_FORMS(downhi, const double *x, int32_t n, const double *g, int32_t m, double *y)
WAVELET_DECLARE_FORMS(uplo, const double *x, int32_t n, const double *h, int32_t m, double *y)
WAVELET_DECLARE_FORMS(uphi, const double *x, int32_t n, const double *g, int32_t m, double *y)
WAVELET_DECLARE_FORMS(upsum, const double *lo, const double *hi, int32_t e, const double *g,
                      const double *h, int32_t m, double *y)
