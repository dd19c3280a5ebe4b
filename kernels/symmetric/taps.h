// Index arithmetic and wrapped tap sums shared by the symmetric kernels.
//
// A window of taps is read from x starting at a sample index already in
// 0..n-1 and walking forward or backward through the period. Rather than test
// the index at every tap, the walk is cut into runs that end at the edge of
// the period, where the index jumps to the other end; a filter of any length
// simply takes more runs. Every sum starts at +0.0 and adds the products in
// increasing tap order, so the cut never changes a result.
#pragma once

#include <cstddef>
#include <cstdint>

// a mod n in 0..n-1 for any a and n >= 1. Called once per kernel call, to
// place the first window however many periods away it starts.
static inline int32_t wrap_index(int64_t a, int32_t n) {
    int64_t r = a % n;
    if (r < 0) r += n;
    return static_cast<int32_t>(r);
}

// (p + d) mod n for p in 0..n-1 and 0 <= d <= n, without leaving int32_t.
static inline int32_t advance_index(int32_t p, int32_t d, int32_t n) {
    return p < n - d ? p + d : p - (n - d);
}

// sum over t < count of f[first + t*stride] * x[(p + t) mod n], p in 0..n-1.
static inline double sum_forward(const double *x, int32_t n, int32_t p, const double *f,
                                 int32_t first, int32_t stride, int32_t count) {
    double s = 0.0;
    // Unsigned, so that the step past the last tap of a class cannot overflow.
    size_t k = static_cast<size_t>(first);
    const size_t step = static_cast<size_t>(stride);
    int32_t left = count;
    while (left > 0) {
        const int32_t run = n - p < left ? n - p : left;
        const double *w = x + p;
        for (int32_t j = 0; j < run; ++j, k += step) s += f[k] * w[j];
        left -= run;
        p = 0;
    }
    return s;
}

// sum over t < count of f[first + t*stride] * x[(p - t) mod n], p in 0..n-1.
static inline double sum_backward(const double *x, int32_t n, int32_t p, const double *f,
                                  int32_t first, int32_t stride, int32_t count) {
    double s = 0.0;
    // Unsigned, so that the step past the last tap of a class cannot overflow.
    size_t k = static_cast<size_t>(first);
    const size_t step = static_cast<size_t>(stride);
    int32_t left = count;
    while (left > 0) {
        const int32_t run = p + 1 < left ? p + 1 : left;
        const double *w = x + p;
        for (int32_t j = 0; j < run; ++j, k += step) s += f[k] * w[-j];
        left -= run;
        p = n - 1;
    }
    return s;
}
