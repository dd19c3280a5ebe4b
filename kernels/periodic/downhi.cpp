// Periodized highpass analysis with downsampling by two (periodic.h states
// the sum): tap 0 meets the odd sample 2i + 1 and the window runs backward
// through the shared wrapped sum, on from x[n-1] past x[0].
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
