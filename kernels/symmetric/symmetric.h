// Dyadic filtering kernels for filters that are symmetric about their middle.
//
// The periodized kernels line the first tap of a filter up with the sample
// being computed; these line up the middle tap instead. The taps are never
// tested for symmetry: any filter gives the sums below. The argument orders
// are those of the periodized partners (mirrorfilt, downlo, downhi, uplo,
// uphi), so a caller can exchange one for the other without changing the call.
//
// Plain routines over caller-owned buffers of doubles with signed 32-bit
// lengths; n need not be a power of two and m may be 0 or far longer than n.
// Every output is a double running sum from +0.0 that adds each tap product,
// rounded to double, in increasing tap order: no wider intermediate in any
// build. They allocate nothing, never call the host and cannot fail.
#pragma once

#include <cstdint>

// g[k] = (-1)^(k + (m-1)/2) h[k]: the tap at (m-1)/2 keeps its sign.
void mirrorsymmfilt(const double *h, double *g, int32_t m);

// y[i] = sum_k h[k] x[(2i + k - m/2) mod n], i = 0 .. n/2 - 1.
void downlopbs(const double *x, int32_t n, const double *h, int32_t m, double *y);

// y[i] = sum_k g[k] x[(2i + (m+1)/2 - k) mod n], i = 0 .. n/2 - 1.
void downhipbs(const double *x, int32_t n, const double *g, int32_t m, double *y);

// y[p] = sum_k h[k] u[(p + (m+1)/2 - 1 - k) mod 2n], p = 0 .. 2n - 1,
// with u the zero-inserted x (u[2j] = x[j], u[2j+1] = 0).
void uplopbs(const double *x, int32_t n, const double *h, int32_t m, double *y);

// y[p] = sum_k g[k] u[(p + k - m/2 - 1) mod 2n], p = 0 .. 2n - 1.
void uphipbs(const double *x, int32_t n, const double *g, int32_t m, double *y);
