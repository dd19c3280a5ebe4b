// Periodized synthesis of one signal from its coarse and detail halves:
//
//   y[k] = uplo(lo, e, h)[k] + uphi(hi, e, g)[k],   k = 0 .. 2e - 1,
//
// with each branch's sum carried and rounded exactly as uplo and uphi do it
// (start at +0.0, taps in increasing order) and the two branch results added
// as adddouble adds them. One pass over lo and hi writes y once, where uplo,
// uphi and adddouble would write and read back two intermediate signals.
//
// Outputs i in [mc, e - mc) read lo[i - j] and hi[i + j] without leaving the
// period and index directly; the rest walk with a running index that gains or
// loses one period whenever it leaves 0 .. e-1, as the plain uplo and uphi
// edge passes do, which covers filters of any length.
#include "../accumulator.h"
#include "periodic.h"
#include "simd.h"

namespace {

// f[first], f[first + 2], ... against x[(i - j) mod n], j = 0 .. count-1.
double back_sum(const double *x, int32_t n, const double *f, int32_t first, int32_t count,
                int32_t i) {
    int32_t p = i;
    accum_t s = 0.0;
    for (int32_t j = 0; j < count; ++j) {
        if (p < 0) p += n;
        s += static_cast<accum_t>(f[first + 2 * j]) * x[p];
        --p;
    }
    return static_cast<double>(s);
}

// f[first], f[first + 2], ... against x[(i + j) mod n], j = 0 .. count-1.
double fwd_sum(const double *x, int32_t n, const double *f, int32_t first, int32_t count,
               int32_t i) {
    int32_t p = i;
    accum_t s = 0.0;
    for (int32_t j = 0; j < count; ++j) {
        if (p >= n) p -= n;
        s += static_cast<accum_t>(f[first + 2 * j]) * x[p];
        ++p;
    }
    return static_cast<double>(s);
}

// The sum of two branch results, rounded as adddouble rounds it.
double add_branches(double a, double b) {
    return static_cast<double>(static_cast<accum_t>(a) + b);
}

// Both outputs of sample i through the wrapped sums.
void upsum_edge(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
                int32_t mc, int32_t mf, int32_t i, double *y) {
    y[2 * i] = add_branches(back_sum(lo, e, h, 0, mc, i), fwd_sum(hi, e, g, 1, mf, i));
    y[2 * i + 1] = add_branches(back_sum(lo, e, h, 1, mf, i), fwd_sum(hi, e, g, 0, mc, i));
}

} // namespace

void upsum_plain(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
                 int32_t m, double *y) {
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    const int32_t head_end = e < mc ? e : mc;
    const int32_t body_end = e - mc > head_end ? e - mc : head_end;
    for (int32_t i = 0; i < head_end; ++i) upsum_edge(lo, hi, e, g, h, mc, mf, i, y);
    for (int32_t i = head_end; i < body_end; ++i) {
        const double *wl = lo + i, *wh = hi + i;
        accum_t lo_even = 0.0;
        for (int32_t j = 0; j < mc; ++j) lo_even += static_cast<accum_t>(h[2 * j]) * wl[-j];
        accum_t lo_odd = 0.0;
        for (int32_t j = 0; j < mf; ++j) lo_odd += static_cast<accum_t>(h[2 * j + 1]) * wl[-j];
        accum_t hi_even = 0.0;
        for (int32_t j = 0; j < mc; ++j) hi_even += static_cast<accum_t>(g[2 * j]) * wh[j];
        accum_t hi_odd = 0.0;
        for (int32_t j = 0; j < mf; ++j) hi_odd += static_cast<accum_t>(g[2 * j + 1]) * wh[j];
        // uplo's even taps and uphi's odd taps make the even outputs.
        y[2 * i] = add_branches(static_cast<double>(lo_even), static_cast<double>(hi_odd));
        y[2 * i + 1] = add_branches(static_cast<double>(lo_odd), static_cast<double>(hi_even));
    }
    for (int32_t i = body_end; i < e; ++i) upsum_edge(lo, hi, e, g, h, mc, mf, i, y);
}

// The entry point: the vector form for this CPU, or the plain loops above
// (always on builds that accumulate in extended precision).
void upsum(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
           int32_t m, double *y) {
    if (e > 0 && m >= 0 && WAVELET_RUN_VARIANT(upsum, lo, hi, e, g, h, m, y)) return;
    upsum_plain(lo, hi, e, g, h, m, y);
}
