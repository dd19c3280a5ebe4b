// Periodized highpass synthesis, the transpose of downhi (periodic.h states
// the sums): the even taps make the odd outputs, and each window walks
// forward from x[i] through the shared wrapped sum.
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
