// Periodized synthesis of one signal from its coarse and detail halves, in
// one pass over them instead of uplo, uphi and adddouble through two
// intermediate signals: each branch rounded as uplo and uphi round it, the
// two added as adddouble adds them.
#include "../simd/accumulator.h"
#include "../simd/simd.h"
#include "../sums.h"
#include "periodic.h"

// The sum of two branch results, rounded as adddouble rounds it.
static double add_branches(double a, double b) {
    return static_cast<double>(static_cast<accum_t>(a) + b);
}

void upsum_plain(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
                 int32_t m, double *y) {
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    // uplo's even taps and uphi's odd taps make the even outputs.
    for (int32_t i = 0; i < e; ++i) {
        y[2 * i] = add_branches(sum_backward<accum_t>(lo, e, i, h, 0, 2, mc),
                                sum_forward<accum_t>(hi, e, i, g, 1, 2, mf));
        y[2 * i + 1] = add_branches(sum_backward<accum_t>(lo, e, i, h, 1, 2, mf),
                                    sum_forward<accum_t>(hi, e, i, g, 0, 2, mc));
    }
}

// The entry point: the vector form for this CPU, or the plain loop above
// (always on builds that accumulate in extended precision).
void upsum(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
           int32_t m, double *y) {
    if (e > 0 && m >= 0 && WAVELET_RUN_VARIANT(upsum, lo, hi, e, g, h, m, y)) return;
    upsum_plain(lo, hi, e, g, h, m, y);
}
