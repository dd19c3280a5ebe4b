// Periodized lowpass analysis with downsampling by two:
//
//   y[i] = sum_{j=0}^{m-1} h[j] * x[(2i + j) mod n],   i = 0 .. n/2 - 1.
//
// Each sum starts at +0.0 and adds the taps in increasing order. Outputs whose
// window 2i .. 2i+m-1 lies inside the period are computed first, indexing x
// directly; the remaining outputs wrap with a running index that is pulled
// back by one period whenever it reaches n (it grows by one per tap, so one
// subtraction per test suffices for any m).
#include "../accumulator.h"
#include "periodic.h"
#include "simd.h"

void downlo_plain(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    const int32_t half = n / 2;
    // Last output with its whole window inside the period; -1 when none is.
    // A filter longer than the signal leaves no interior output at all, and
    // the edge pass then covers every output from 0.
    int32_t last = -1;
    if (m <= n) {
        last = (n - m) / 2;
        if (last > half - 1) last = half - 1;
    }
    for (int32_t i = 0; i <= last; ++i) {
        const double *w = x + 2 * i;
        accum_t s = 0.0;
        for (int32_t j = 0; j < m; ++j) s += static_cast<accum_t>(h[j]) * w[j];
        y[i] = static_cast<double>(s);
    }
    for (int32_t i = last + 1; i < half; ++i) {
        int32_t p = 2 * i;
        accum_t s = 0.0;
        for (int32_t j = 0; j < m; ++j) {
            if (p >= n) p -= n;
            s += static_cast<accum_t>(h[j]) * x[p];
            ++p;
        }
        y[i] = static_cast<double>(s);
    }
}

// The entry point: the vector form for this CPU, or the plain loops above
// (always on builds that accumulate in extended precision).
void downlo(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    if (n > 0 && m >= 0 && WAVELET_RUN_VARIANT(downlo, x, n, h, m, y)) return;
    downlo_plain(x, n, h, m, y);
}
