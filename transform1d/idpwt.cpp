// Inverse multi-level transform of signals.
//
// Each level rebuilds 2^(j+1) values from the coarse part and the details of
// level j as uplo + uphi, the two branches added as doubles, exactly as
// RaiseCoarse(c, h) + RaiseDetail(d, h) adds them. The details are read from
// the source where they stand. The levels write into the result and the work
// array in turn, chosen so that the last level writes the result: no level
// writes over what it reads, and nothing is copied.
#include "../kernels/periodic/periodic.h"
#include "transform1d.h"

#include <cstddef>

// One level: y = uplo(c, e, h) + uphi(d, e, g), 2e values. Where sums are
// carried in double, upsum gives these bits in one pass. Where they are
// carried in extended precision, upsum would add the branches in extended
// precision too, which can round differently from a double sum: the
// branches are made apart (the detail branch into spare) and added here.
static void level_up(const double *c, const double *d, int32_t e, const double *g, const double *h,
                     int32_t m, double *y, [[maybe_unused]] double *spare) {
#if defined(WAVELET_EXTENDED_ACCUMULATION)
    uplo(c, e, h, m, y);
    uphi(d, e, g, m, spare);
    for (int32_t i = 0; i < 2 * e; ++i) y[i] = y[i] + spare[i];
#else
    upsum(c, d, e, g, h, m, y);
#endif
}

void idpwt(const double *src, int32_t n, int32_t count, int32_t L, int32_t J, const double *g,
           const double *h, int32_t m, double *out, double *work) {
    const int32_t start = first_level(src, n, count, L, J, out);
    if (start >= J || count <= 0) return;
    double *const spare = work + n / 2;
    for (int32_t s = 0; s < count; ++s) {
        const double *x = src + static_cast<ptrdiff_t>(n) * s;
        double *y = out + static_cast<ptrdiff_t>(n) * s;
        const double *c = x;
        for (int32_t j = start; j < J; ++j) {
            const int32_t e = int32_t{1} << j;
            double *dst = (J - 1 - j) % 2 == 0 ? y : work;
            level_up(c, x + e, e, g, h, m, dst, spare);
            c = dst;
        }
    }
}
