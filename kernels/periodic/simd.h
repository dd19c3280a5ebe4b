// Instruction-set variants of the filtering kernels and the plain routines
// they must reproduce bit for bit.
//
// Every fast path vectorises across independent outputs (or, in the grid
// transforms, across rows), so each lane performs exactly the scalar sum:
// start at +0.0, add tap times sample in increasing tap order, no fused
// multiply-add. The variant is chosen once per process from the CPU's
// features; a test or benchmark may pin a lower one.
#pragma once

#include <cstdint>

enum : int { simd_plain = 0, simd_sse2 = 1, simd_avx2 = 2, simd_avx512 = 3 };

// The variant in use: the best the CPU runs unless one was pinned.
int simd_variant();
// The best variant this CPU and build can run (simd_plain on the i386 build).
int simd_best_variant();
// Pins variant v (clamped to 0 .. simd_best_variant()); a negative v returns
// to the automatic choice.
void simd_force_variant(int v);

// The plain algorithm: the reference every variant reproduces.
void downlo_plain(const double *x, int32_t n, const double *h, int32_t m, double *y);
void downhi_plain(const double *x, int32_t n, const double *g, int32_t m, double *y);
void uplo_plain(const double *x, int32_t n, const double *h, int32_t m, double *y);
void uphi_plain(const double *x, int32_t n, const double *g, int32_t m, double *y);
void upsum_plain(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
                 int32_t m, double *y);

#if !defined(WAVELET_EXTENDED_ACCUMULATION)
#define WAVELET_SIMD_DECLARE(isa)                                                                  \
    void downlo_##isa(const double *x, int32_t n, const double *h, int32_t m, double *y);          \
    void downhi_##isa(const double *x, int32_t n, const double *g, int32_t m, double *y);          \
    void uplo_##isa(const double *x, int32_t n, const double *h, int32_t m, double *y);            \
    void uphi_##isa(const double *x, int32_t n, const double *g, int32_t m, double *y);            \
    void upsum_##isa(const double *lo, const double *hi, int32_t e, const double *g,               \
                     const double *h, int32_t m, double *y);
WAVELET_SIMD_DECLARE(sse2)
WAVELET_SIMD_DECLARE(avx2)
WAVELET_SIMD_DECLARE(avx512)
#undef WAVELET_SIMD_DECLARE

// Runs the form of a routine for the variant in use (the three forms take
// the same arguments) and returns true, or returns false when the plain
// loops are in use, for the caller to run them.
template <typename Fn, typename... Args>
inline bool run_variant(Fn *sse2, Fn *avx2, Fn *avx512, Args... args) {
    switch (simd_variant()) {
    case simd_avx512:
        avx512(args...);
        return true;
    case simd_avx2:
        avx2(args...);
        return true;
    case simd_sse2:
        sse2(args...);
        return true;
    default:
        return false;
    }
}
#endif

// Runs name_sse2, name_avx2 or name_avx512 on the arguments as the variant
// in use asks, and says whether one ran; never on builds that accumulate in
// extended precision, which have only the plain loops.
#if defined(WAVELET_EXTENDED_ACCUMULATION)
#define WAVELET_RUN_VARIANT(name, ...) false
#else
#define WAVELET_RUN_VARIANT(name, ...)                                                             \
    run_variant(name##_sse2, name##_avx2, name##_avx512, __VA_ARGS__)
#endif
