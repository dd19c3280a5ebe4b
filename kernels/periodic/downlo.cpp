// Periodized lowpass analysis with downsampling by two:
//
//   y[i] = sum_{j=0}^{m-1} h[j] * x[(2i + j) mod n],   i = 0 .. n/2 - 1.
//
// Each sum starts at +0.0 and adds the taps in increasing order. A window
// inside the period is read directly; one that runs past the end continues
// from x[0], as often as the filter length requires (the shared wrapped sum).
#include "../simd/accumulator.h"
#include "../simd/simd.h"
#include "../sums.h"
#include "periodic.h"

void downlo_plain(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    for (int32_t i = 0; i < n / 2; ++i) y[i] = sum_forward<accum_t>(x, n, 2 * i, h, 0, 1, m);
}

// The entry point: the vector form for this CPU, or the plain loop above
// (always on builds that accumulate in extended precision).
void downlo(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    if (n > 0 && m >= 0 && WAVELET_RUN_VARIANT(downlo, x, n, h, m, y)) return;
    downlo_plain(x, n, h, m, y);
}
