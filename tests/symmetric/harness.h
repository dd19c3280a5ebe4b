// Calling the filtering kernels on guarded output buffers.
#pragma once

#include "bitwise.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace symtest {

using Vec = std::vector<double>;
using Kernel = void (*)(const double *, int32_t, const double *, int32_t, double *);

// A NaN with a payload no arithmetic produces: an element still holding it
// was never written, a guard no longer holding it was overwritten.
inline double sentinel() {
    const uint64_t bits = 0x7ff80000feedf00dULL;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

inline bool is_sentinel(double d) {
    const double s = sentinel();
    return std::memcmp(&d, &s, sizeof d) == 0;
}

constexpr size_t kGuard = 8;

// Runs write(out) on len doubles framed by guard elements on both sides and
// reports every guard that changed. Returns the len elements.
template <class Write> Vec guarded(size_t len, Write write) {
    Vec buf(len + 2 * kGuard, sentinel());
    write(buf.data() + kGuard);
    for (size_t k = 0; k < kGuard; ++k) {
        EXPECT_TRUE(is_sentinel(buf[k])) << "written " << kGuard - k << " before the output";
        EXPECT_TRUE(is_sentinel(buf[kGuard + len + k])) << "written " << k << " after the output";
    }
    return Vec(buf.begin() + kGuard, buf.begin() + kGuard + len);
}

// A filtering kernel on x and the taps f, into a guarded output of len.
inline Vec run(Kernel kernel, const Vec &x, const Vec &f, size_t len) {
    return guarded(len, [&](double *y) {
        kernel(x.data(), static_cast<int32_t>(x.size()), f.data(), static_cast<int32_t>(f.size()),
               y);
    });
}

using bitwise::same_bits;

} // namespace symtest
