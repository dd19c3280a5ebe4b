// Quadrature mirror of a filter: g[k] = (-1)^k h[k], the sign starting at +.
// The sign is an integer that flips after every tap and is applied as the
// double +1.0 or -1.0, so a zero tap at an odd position becomes -0.0.
#include "periodic.h"

void mirrorfilt(const double *h, double *g, int32_t m) {
    int sign = 1;
    for (int32_t k = 0; k < m; ++k) {
        g[k] = static_cast<double>(sign) * h[k];
        sign = -sign;
    }
}
