// Lowpass synthesis for symmetric filters: upsampling by two, then filtering
// with the filter's middle on the output position:
//
//   y[p] = sum_{k=0}^{m-1} h[k] * u[(p + (m+1)/2 - 1 - k) mod 2n],   p = 0 .. 2n - 1,
//
// with u the zero-inserted input (u[2j] = x[j], u[2j+1] = 0). For odd m this
// is the transpose of downlopbs; for even m, that transpose delayed by one
// output. Only the taps that meet a sample of x contribute, so the kernel
// works by output pair and reads x directly. With e = (m+1)/2 - 1, a = e/2
// and r = e mod 2:
//
//   y[2i]   takes the taps h[r], h[r+2], ...;   tap t meets x[(a + i - t) mod n],
//   y[2i+1] takes the taps h[1-r], h[3-r], ...; tap t meets x[(a + r + i - t) mod n],
//
// y[2i] stored before y[2i+1]. The walk starts at x[a mod n], placed in the
// period once, and wraps as often as the filter length requires.
#include "symmetric.h"
#include "taps.h"

void uplopbs(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    if (n <= 0) return;
    if (m < 0) m = 0;
    const int32_t mc = static_cast<int32_t>((static_cast<int64_t>(m) + 1) / 2);
    const int32_t mf = m / 2;
    const int32_t e = mc > 0 ? mc - 1 : 0;
    const int32_t r = e % 2;
    // Number of taps in the class that starts at h[r], and in the other one.
    const int32_t first_count = r == 0 ? mc : mf;
    const int32_t second_count = r == 0 ? mf : mc;
    int32_t start = wrap_index(e / 2, n);
    for (int32_t i = 0; i < n; ++i) {
        y[2 * static_cast<size_t>(i)] = sum_backward(x, n, start, h, r, 2, first_count);
        y[2 * static_cast<size_t>(i) + 1] =
            sum_backward(x, n, advance_index(start, r, n), h, 1 - r, 2, second_count);
        start = advance_index(start, 1, n);
    }
}
