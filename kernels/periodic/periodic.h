// Periodized dyadic filtering kernels.
//
// Plain routines over caller-owned buffers of doubles with signed 32-bit
// lengths. They allocate nothing, never call the host and cannot fail.
// Argument order: input, its length, filter, filter length, output.
#pragma once

#include <cstdint>

// g[k] = (-1)^k h[k] for k = 0 .. m-1 (sign + on the first tap).
void mirrorfilt(const double *h, double *g, int32_t m);

// y[i] = sum_j h[j] x[(2i + j) mod n], i = 0 .. n/2 - 1.
void downlo(const double *x, int32_t n, const double *h, int32_t m, double *y);

// y[i] = sum_j g[j] x[(2i + 1 - j) mod n], i = 0 .. n/2 - 1.
void downhi(const double *x, int32_t n, const double *g, int32_t m, double *y);

// y[2i] = sum_j h[2j] x[(i - j) mod n], y[2i+1] = sum_j h[2j+1] x[(i - j) mod n].
void uplo(const double *x, int32_t n, const double *h, int32_t m, double *y);

// y[2i+1] = sum_j g[2j] x[(i + j) mod n], y[2i] = sum_j g[2j+1] x[(i + j) mod n].
void uphi(const double *x, int32_t n, const double *g, int32_t m, double *y);

// y[k] = uplo(lo, e, h)[k] + uphi(hi, e, g)[k], k = 0 .. 2e - 1: one signal from
// its coarse and detail halves, each element rounded as adddouble rounds the
// sum of the two branch results. y must not overlap lo or hi.
void upsum(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
           int32_t m, double *y);
