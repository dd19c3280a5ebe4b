// Highpass synthesis for symmetric filters: upsampling by two, then filtering
// with the filter's middle on the output position:
//
//   y[p] = sum_{k=0}^{m-1} g[k] * u[(p + k - m/2 - 1) mod 2n],   p = 0 .. 2n - 1,
//
// with u the zero-inserted input (u[2j] = x[j], u[2j+1] = 0). For odd m this
// is the transpose of downhipbs; for even m, that transpose delayed by one
// output. Only the taps that meet a sample of x contribute, so the kernel
// works by output pair and reads x directly. With 2n - m/2 = 2q + s, q rounded
// down and s in {0, 1} the parity of m/2:
//
//   y[2i+1] takes the taps g[s], g[s+2], ...;   tap t meets x[(q + s + i + t) mod n],
//   y[2i]   takes the taps g[1-s], g[3-s], ...; tap t meets x[(q + i + t) mod n],
//
// y[2i+1] stored before y[2i]. For filters longer than 4n+1 taps 2n - m/2 is
// negative; q still rounds down, so s never leaves {0, 1}. The walk starts at
// x[q mod n], placed in the period once, and wraps as often as the filter
// length requires.
#include "symmetric.h"
#include "taps.h"

void uphipbs(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    if (n <= 0) return;
    if (m < 0) m = 0;
    const int32_t mc = static_cast<int32_t>((static_cast<int64_t>(m) + 1) / 2);
    const int32_t mf = m / 2;
    const int32_t s = mf % 2;
    // q mod n: the period 2n drops out, leaving floor(-mf/2) = -((mf+1)/2).
    const int64_t q = -((static_cast<int64_t>(mf) + 1) / 2);
    const int32_t first_count = s == 0 ? mc : mf;
    const int32_t second_count = s == 0 ? mf : mc;
    int32_t start = wrap_index(q, n);
    for (int32_t i = 0; i < n; ++i) {
        y[2 * static_cast<size_t>(i) + 1] =
            sum_forward(x, n, advance_index(start, s, n), g, s, 2, first_count);
        y[2 * static_cast<size_t>(i)] = sum_forward(x, n, start, g, 1 - s, 2, second_count);
        start = advance_index(start, 1, n);
    }
}
