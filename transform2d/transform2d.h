// Multi-level periodized wavelet transform of a square grid stored column by
// column (row r, column c at r + n*c), and the strided helpers it uses.
//
// Plain routines over caller-owned buffers with signed 32-bit counts; they
// allocate nothing, never call the host and cannot fail.
#pragma once

#include <cstdint>

// y[i] = x[start + step*i], i = 0 .. count-1 (a count <= 0 touches nothing).
void unpackdouble(const double *x, int32_t count, int32_t step, int32_t start, double *y);

// x[start + step*i] = y[i], i = 0 .. count-1 (a count <= 0 touches nothing).
void packdouble(const double *y, int32_t count, int32_t step, int32_t start, double *x);

// y[i] = x[i], i = 0 .. count-1.
void copydouble(const double *x, double *y, int32_t count);

// z[i] = a[i] + b[i]; z may be the same buffer as a or b.
void adddouble(const double *a, const double *b, int32_t count, double *z);

// Forward transform of the n-by-n grid src (n = 2^J) into out, levels J-1
// down to L (none when L >= J; L < 0 acts as 0). g is the quadrature mirror
// of the lowpass filter h, both of m taps. work holds 3n doubles.
void dpwt2(const double *src, int32_t col_len, int32_t row_step, int32_t L, int32_t J,
           const double *g, const double *h, int32_t m, double *out, double *work);

// Inverse transform: rebuilds out from the coefficients in src, levels L up to
// J-1 (none when L >= J; L < 0 acts as 0). work holds 4n doubles. src may be
// out itself, which runs the plain loops.
void idpwt2(const double *src, int32_t col_len, int32_t row_step, int32_t L, int32_t J,
            const double *g, const double *h, int32_t m, double *out, double *work);
