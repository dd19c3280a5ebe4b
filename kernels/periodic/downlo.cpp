// Periodized lowpass analysis with downsampling by two (periodic.h states
// the sum): each window read through the shared wrapped sum, which runs on
// from x[0] past the end as often as the filter length requires.
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
