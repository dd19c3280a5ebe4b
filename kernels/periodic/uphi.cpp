// Periodized highpass synthesis: upsampling by two, then filtering.
//
//   y[2i+1] = sum_{j<mc} g[2j]   * x[(i + j) mod n]
//   y[2i]   = sum_{j<mf} g[2j+1] * x[(i + j) mod n],   i = 0 .. n-1,
//
// with mc = (m+1)/2 and mf = m/2; the transpose of downhi. The even taps make
// the odd outputs. Each window walks forward from x[i] and continues from
// x[0] past x[n-1], as often as the filter length requires (the shared
// wrapped sum).
#include "../simd/accumulator.h"
#include "../simd/simd.h"
#include "../sums.h"
#include "periodic.h"

void uphi_plain(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    for (int32_t i = 0; i < n; ++i) {
        y[2 * i + 1] = sum_forward<accum_t>(x, n, i, g, 0, 2, mc);
        y[2 * i] = sum_forward<accum_t>(x, n, i, g, 1, 2, mf);
    }
}

// The entry point: the vector form for this CPU, or the plain loop above
// (always on builds that accumulate in extended precision).
void uphi(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    if (n > 0 && m >= 0 && WAVELET_RUN_VARIANT(uphi, x, n, g, m, y)) return;
    uphi_plain(x, n, g, m, y);
}
