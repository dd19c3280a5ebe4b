// Periodized lowpass synthesis, the transpose of downlo (periodic.h states
// the sums): the zero samples of the upsampled signal are skipped, and each
// window walks backward from x[i] through the shared wrapped sum.
#include "../simd/accumulator.h"
#include "../simd/simd.h"
#include "../sums.h"
#include "periodic.h"

void uplo_plain(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    for (int32_t i = 0; i < n; ++i) {
        y[2 * i] = sum_backward<accum_t>(x, n, i, h, 0, 2, mc);
        y[2 * i + 1] = sum_backward<accum_t>(x, n, i, h, 1, 2, mf);
    }
}

// The entry point: the vector form for this CPU, or the plain loop above
// (always on builds that accumulate in extended precision).
void uplo(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    if (n > 0 && m >= 0 && WAVELET_RUN_VARIANT(uplo, x, n, h, m, y)) return;
    uplo_plain(x, n, h, m, y);
}
