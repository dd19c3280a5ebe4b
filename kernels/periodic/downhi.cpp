// Periodized highpass analysis with downsampling by two:
//
//   y[i] = sum_{j=0}^{m-1} g[j] * x[(2i + 1 - j) mod n],   i = 0 .. n/2 - 1,
//
// with g the quadrature mirror of the lowpass filter. Tap 0 meets the odd
// sample 2i+1 and the window runs backward. Outputs from F = ceil(m/2) - 1 on
// have their window inside the period and index x directly; the first
// outputs wrap with a running index that gains one period whenever it falls
// below zero. Taps are added in increasing order from +0.0 in both passes.
#include "../accumulator.h"
#include "periodic.h"
#include "simd.h"

void downhi_plain(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    const int32_t half = n / 2;
    const int32_t first = m > 0 ? (m + 1) / 2 - 1 : 0;
    const int32_t edge_end = first < half ? first : half;
    for (int32_t i = first; i < half; ++i) {
        const double *w = x + 2 * i + 1;
        accum_t s = 0.0;
        for (int32_t j = 0; j < m; ++j) s += static_cast<accum_t>(g[j]) * w[-j];
        y[i] = static_cast<double>(s);
    }
    for (int32_t i = 0; i < edge_end; ++i) {
        int32_t p = 2 * i + 1;
        accum_t s = 0.0;
        for (int32_t j = 0; j < m; ++j) {
            if (p < 0) p += n;
            s += static_cast<accum_t>(g[j]) * x[p];
            --p;
        }
        y[i] = static_cast<double>(s);
    }
}

// The entry point: the vector form for this CPU, or the plain loops above
// (always on builds that accumulate in extended precision).
void downhi(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    if (n > 0 && m >= 0 && WAVELET_RUN_VARIANT(downhi, x, n, g, m, y)) return;
    downhi_plain(x, n, g, m, y);
}
