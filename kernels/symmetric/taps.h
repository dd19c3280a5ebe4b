// Index arithmetic of the symmetric kernels, which place each window in the
// period once and read it through the shared wrapped sums in plain double.
#pragma once

#include <cstdint>

#include "../sums.h"

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
