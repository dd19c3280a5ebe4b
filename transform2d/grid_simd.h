// Instruction-set variants of the grid transforms and the plain routines
// they reproduce bit for bit (kernels/simd/simd.h makes the choice).
#pragma once

#include "../kernels/simd/simd.h"

#include <cstdint>

// The plain transforms: the reference every variant reproduces.
void dpwt2_plain(const double *src, int32_t col_len, int32_t row_step, int32_t L, int32_t J,
                 const double *g, const double *h, int32_t m, double *out, double *work);
void idpwt2_plain(const double *src, int32_t col_len, int32_t row_step, int32_t L, int32_t J,
                  const double *g, const double *h, int32_t m, double *out, double *work);

// For a grid of side n = 2^J only (the entry points check that first).
WAVELET_DECLARE_FORMS(dpwt2, const double *src, int32_t n, int32_t L, int32_t J, const double *g,
                      const double *h, int32_t m, double *out, double *work)
WAVELET_DECLARE_FORMS(idpwt2, const double *src, int32_t n, int32_t L, int32_t J, const double *g,
                      const double *h, int32_t m, double *out, double *work)
