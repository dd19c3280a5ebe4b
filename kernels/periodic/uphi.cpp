// Periodized highpass synthesis: upsampling by two, then filtering.
//
//   y[2i+1] = sum_{j<mc} g[2j]   * x[(i + j) mod n]
//   y[2i]   = sum_{j<mf} g[2j+1] * x[(i + j) mod n],   i = 0 .. n-1,
//
// with mc = (m+1)/2 and mf = m/2; the transpose of downhi. The even taps make
// the odd outputs. Samples i < n - mc never reach past x[n-2] and are read
// directly; the last min(n, mc) samples walk forward with an index that loses
// one period whenever it reaches n, which covers filters of any length.
#include "../accumulator.h"
#include "periodic.h"
#include "simd.h"

void uphi_plain(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    if (mc < n) {
        for (int32_t i = 0; i < n - mc; ++i) {
            const double *w = x + i;
            accum_t even = 0.0;
            for (int32_t j = 0; j < mc; ++j) even += static_cast<accum_t>(g[2 * j]) * w[j];
            y[2 * i + 1] = static_cast<double>(even);
            accum_t odd = 0.0;
            for (int32_t j = 0; j < mf; ++j) odd += static_cast<accum_t>(g[2 * j + 1]) * w[j];
            y[2 * i] = static_cast<double>(odd);
        }
    }
    const int32_t edge_start = n - mc > 0 ? n - mc : 0;
    for (int32_t i = edge_start; i < n; ++i) {
        int32_t p = i;
        accum_t even = 0.0;
        for (int32_t j = 0; j < mc; ++j) {
            if (p >= n) p -= n;
            even += static_cast<accum_t>(g[2 * j]) * x[p];
            ++p;
        }
        y[2 * i + 1] = static_cast<double>(even);
        p = i;
        accum_t odd = 0.0;
        for (int32_t j = 0; j < mf; ++j) {
            if (p >= n) p -= n;
            odd += static_cast<accum_t>(g[2 * j + 1]) * x[p];
            ++p;
        }
        y[2 * i] = static_cast<double>(odd);
    }
}

// The entry point: the vector form for this CPU, or the plain loops above
// (always on builds that accumulate in extended precision).
void uphi(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    if (n > 0 && m >= 0 && WAVELET_RUN_VARIANT(uphi, x, n, g, m, y)) return;
    uphi_plain(x, n, g, m, y);
}
