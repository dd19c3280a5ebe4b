// Forward multi-level transform of signals.
//
// Each level filters the current coarse part with downlo and downhi: the
// details go straight to their place in the signal's result, and the coarse
// part of every level but the last goes to one of two halves of the work
// array, in turn, so that no kernel ever writes over what it reads. The last
// level writes its coarse part into the head of the result, so nothing is
// copied once the first level has run.
#include "../kernels/periodic/periodic.h"
#include "transform1d.h"

#include <cstddef>

void dpwt(const double *src, int32_t n, int32_t count, int32_t L, int32_t J, const double *g,
          const double *h, int32_t m, double *out, double *work) {
    const int32_t stop = first_level(src, n, count, L, J, out);
    if (stop >= J || count <= 0) return;
    double *const halves[2] = {work, work + n / 2};
    for (int32_t s = 0; s < count; ++s) {
        const double *c = src + static_cast<ptrdiff_t>(n) * s;
        double *y = out + static_cast<ptrdiff_t>(n) * s;
        int which = 0;
        for (int32_t j = J - 1; j >= stop; --j) {
            const int32_t half = int32_t{1} << j;
            double *lo = j == stop ? y : halves[which];
            which ^= 1;
            downlo(c, 2 * half, h, m, lo);
            downhi(c, 2 * half, g, m, y + half);
            c = lo;
        }
    }
}
