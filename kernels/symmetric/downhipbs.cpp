// Highpass analysis with downsampling by two, the filter's middle on the odd
// samples and the taps in convolution order:
//
//   y[i] = sum_{k=0}^{m-1} g[k] * x[(2i + (m+1)/2 - k) mod n],   i = 0 .. n/2 - 1.
//
// For odd m = 2L+1 the middle tap g[L] meets x[2i+1]; for even m = 2L the two
// middle taps meet x[2i+1] and x[2i]. Tap 0 of output 0 meets x[(m+1)/2],
// placed in the period once; each later output starts two samples on. The
// taps then walk backward, wrapping at the start of the period as often as
// the filter length requires.
#include "symmetric.h"
#include "taps.h"

void downhipbs(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    const int32_t half = n / 2;
    if (half <= 0) return;
    if (m < 0) m = 0;
    int32_t start = wrap_index((static_cast<int64_t>(m) + 1) / 2, n);
    for (int32_t i = 0; i < half; ++i) {
        y[i] = sum_backward(x, n, start, g, 0, 1, m);
        start = advance_index(start, 2, n);
    }
}
