// Instruction-set variants of the grid transforms and the plain routines
// they reproduce bit for bit (see kernels/periodic/simd.h for the choice).
#pragma once

#include "../kernels/periodic/simd.h"

#include <cstdint>

// The plain transforms: the reference every variant reproduces.
void dpwt2_plain(const double *src, int32_t col_len, int32_t row_step, int32_t L, int32_t J,
                 const double *g, const double *h, int32_t m, double *out, double *work);
void idpwt2_plain(const double *src, int32_t col_len, int32_t row_step, int32_t L, int32_t J,
                  const double *g, const double *h, int32_t m, double *out, double *work);

#if !defined(WAVELET_EXTENDED_ACCUMULATION)
// For a grid of side n = 2^J only (the entry points check that first).
#define WAVELET_GRID_DECLARE(isa)                                                                  \
    void dpwt2_##isa(const double *src, int32_t n, int32_t L, int32_t J, const double *g,          \
                     const double *h, int32_t m, double *out, double *work);                       \
    void idpwt2_##isa(const double *src, int32_t n, int32_t L, int32_t J, const double *g,         \
                      const double *h, int32_t m, double *out, double *work);
WAVELET_GRID_DECLARE(sse2)
WAVELET_GRID_DECLARE(avx2)
WAVELET_GRID_DECLARE(avx512)
#undef WAVELET_GRID_DECLARE
#endif
