// Periodized highpass analysis with downsampling by two:
//
//   y[i] = sum_{j=0}^{m-1} g[j] * x[(2i + 1 - j) mod n],   i = 0 .. n/2 - 1,
//
// with g the quadrature mirror of the lowpass filter. Tap 0 meets the odd
// sample 2i+1 and the window runs backward; one that runs past x[0]
// continues from x[n-1], as often as the filter length requires (the shared
// wrapped sum). Taps are added in increasing order from +0.0.
#include "../simd/accumulator.h"
#include "../simd/simd.h"
#include "../sums.h"
#include "periodic.h"

void downhi_plain(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    for (int32_t i = 0; i < n / 2; ++i) y[i] = sum_backward<accum_t>(x, n, 2 * i + 1, g, 0, 1, m);
}

// The entry point: the vector form for this CPU, or the plain loop above
// (always on builds that accumulate in extended precision).
void downhi(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    if (n > 0 && m >= 0 && WAVELET_RUN_VARIANT(downhi, x, n, g, m, y)) return;
    downhi_plain(x, n, g, m, y);
}
