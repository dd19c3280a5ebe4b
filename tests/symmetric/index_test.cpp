// The index arithmetic of the symmetric kernels at the limits of int32_t
// lengths, where forming a window's first sample index as a plain sum (the
// signal length plus twice the output index, or twice the signal length)
// would overflow.
#include "kernels/symmetric/taps.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(SymmetricIndex, PlacesAndAdvancesWithinThePeriod) {
    const struct {
        int64_t a;
        int32_t n, placed;
    } places[] = {
        {0, 1, 0},
        {-3, 1, 0},
        {-3, 2, 1},
        {-1000000007, 3, 1},
        {5, 3, 2},
        {-(int64_t{kMax} / 2 + 1), kMax, kMax / 2},
        {-1, kMax, kMax - 1},
        {int64_t{kMax} + 5, kMax, 5},
    };
    for (const auto &c : places) EXPECT_EQ(wrap_index(c.a, c.n), c.placed) << c.a << " mod " << c.n;

    const struct {
        int32_t p, d, n, next;
    } steps[] = {
        {0, 2, 2, 0}, {1, 2, 2, 1},           {1, 1, 2, 0},           {0, 1, 1, 0},
        {0, 0, 1, 0}, {kMax - 1, 2, kMax, 1}, {kMax - 2, 2, kMax, 0}, {kMax - 3, 2, kMax, kMax - 1},
    };
    for (const auto &c : steps)
        EXPECT_EQ(advance_index(c.p, c.d, c.n), c.next) << c.p << " + " << c.d << " mod " << c.n;
}

} // namespace
