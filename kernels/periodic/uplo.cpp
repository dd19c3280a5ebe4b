// Periodized lowpass synthesis: upsampling by two, then filtering.
//
//   y[2i]   = sum_{j<mc} h[2j]   * x[(i - j) mod n]
//   y[2i+1] = sum_{j<mf} h[2j+1] * x[(i - j) mod n],   i = 0 .. n-1,
//
// with mc = (m+1)/2 even taps and mf = m/2 odd taps; the transpose of downlo.
// The zero samples of the upsampled signal are skipped. Samples i >= mc never
// reach below x[1] and are read directly; the first min(n, mc) samples walk
// backward with an index that gains one period whenever it falls below zero,
// which covers filters of any length.
#include "../accumulator.h"
#include "periodic.h"
#include "simd.h"

void uplo_plain(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    if (mc < n) {
        for (int32_t i = mc; i < n; ++i) {
            const double *w = x + i;
            accum_t even = 0.0;
            for (int32_t j = 0; j < mc; ++j) even += static_cast<accum_t>(h[2 * j]) * w[-j];
            y[2 * i] = static_cast<double>(even);
            accum_t odd = 0.0;
            for (int32_t j = 0; j < mf; ++j) odd += static_cast<accum_t>(h[2 * j + 1]) * w[-j];
            y[2 * i + 1] = static_cast<double>(odd);
        }
    }
    const int32_t edge_end = n < mc ? n : mc;
    for (int32_t i = 0; i < edge_end; ++i) {
        int32_t p = i;
        accum_t even = 0.0;
        for (int32_t j = 0; j < mc; ++j) {
            if (p < 0) p += n;
            even += static_cast<accum_t>(h[2 * j]) * x[p];
            --p;
        }
        y[2 * i] = static_cast<double>(even);
        p = i;
        accum_t odd = 0.0;
        for (int32_t j = 0; j < mf; ++j) {
            if (p < 0) p += n;
            odd += static_cast<accum_t>(h[2 * j + 1]) * x[p];
            --p;
        }
        y[2 * i + 1] = static_cast<double>(odd);
    }
}

// The entry point: the vector form for this CPU, or the plain loops above
// (always on builds that accumulate in extended precision).
void uplo(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    if (n > 0 && m >= 0 && WAVELET_RUN_VARIANT(uplo, x, n, h, m, y)) return;
    uplo_plain(x, n, h, m, y);
}
