// The wrapped-index tap sum, written once for every kernel: the plain
// periodized kernels, the edges of their vector forms and the symmetric
// kernels all compute their outputs through it.
//
// A window of taps is read from x starting at a sample index already in
// 0..n-1 and walking forward or backward through the period. Rather than test
// the index at every tap, the walk is cut into runs that end at the edge of
// the period, where the index jumps to the other end; a filter of any length
// simply takes more runs, and a window inside the period is one run read
// directly. Every sum starts at +0.0 and adds the products in increasing tap
// order, carried in A (accum_t for the periodized kernels, double for the
// symmetric ones), so the cut never changes a result.
#pragma once

#include <cstddef>
#include <cstdint>

// sum over t < count of f[first + t*stride] * x[(p + t) mod n], p in 0..n-1.
template <typename A = double>
inline double sum_forward(const double *x, int32_t n, int32_t p, const double *f, int32_t first,
                          int32_t stride, int32_t count) {
    A s = 0.0;
    // Unsigned, so that the step past the last tap of a class cannot overflow.
    size_t k = static_cast<size_t>(first);
    const size_t step = static_cast<size_t>(stride);
    int32_t left = count;
    while (left > 0) {
        const int32_t run = n - p < left ? n - p : left;
        const double *w = x + p;
        for (int32_t j = 0; j < run; ++j, k += step) s += static_cast<A>(f[k]) * w[j];
        left -= run;
        p = 0;
    }
    return static_cast<double>(s);
}

// sum over t < count of f[first + t*stride] * x[(p - t) mod n], p in 0..n-1.
template <typename A = double>
inline double sum_backward(const double *x, int32_t n, int32_t p, const double *f, int32_t first,
                           int32_t stride, int32_t count) {
    A s = 0.0;
    size_t k = static_cast<size_t>(first);
    const size_t step = static_cast<size_t>(stride);
    int32_t left = count;
    while (left > 0) {
        const int32_t run = p + 1 < left ? p + 1 : left;
        const double *w = x + p;
        for (int32_t j = 0; j < run; ++j, k += step) s += static_cast<A>(f[k]) * w[-j];
        left -= run;
        p = n - 1;
    }
    return static_cast<double>(s);
}
