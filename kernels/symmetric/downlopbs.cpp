// Lowpass analysis with downsampling by two, the filter's middle on the even
// samples:
//
//   y[i] = sum_{k=0}^{m-1} h[k] * x[(2i + k - m/2) mod n],   i = 0 .. n/2 - 1.
//
// For odd m = 2L+1 the middle tap h[L] meets x[2i]; for even m = 2L the two
// middle taps meet x[2i-1] and x[2i]. The window of output 0 starts m/2
// samples before x[0] and is placed in the period once; each later window
// starts two samples on. The taps then walk forward, wrapping at the end of
// the period as often as the filter length requires.
#include "symmetric.h"
#include "taps.h"

void downlopbs(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    const int32_t half = n / 2;
    if (half <= 0) return;
    if (m < 0) m = 0;
    int32_t start = wrap_index(-static_cast<int64_t>(m / 2), n);
    for (int32_t i = 0; i < half; ++i) {
        y[i] = sum_forward(x, n, start, h, 0, 1, m);
        start = advance_index(start, 2, n);
    }
}
