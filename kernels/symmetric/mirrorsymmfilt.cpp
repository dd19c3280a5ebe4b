// Mirror of a symmetric lowpass filter: g[k] = (-1)^(k + (m-1)/2) h[k].
//
// The alternating signs are anchored at the tap (m-1)/2 (the middle tap for
// an odd length, the left one of the two middle taps for an even length),
// which keeps its sign; for m = 1 or 2 (mod 4) this is the quadrature mirror
// of mirrorfilt, for m = 3 or 0 (mod 4) its negation. The sign is an integer
// applied as the double +1.0 or -1.0, so a zero tap may become -0.0.
#include "symmetric.h"

void mirrorsymmfilt(const double *h, double *g, int32_t m) {
    // The parity of (m-1)/2 decides the sign of the first tap.
    int sign = ((m - 1) / 2) % 2 == 0 ? 1 : -1;
    for (int32_t k = 0; k < m; ++k) {
        g[k] = static_cast<double>(sign) * h[k];
        sign = -sign;
    }
}
