// The strided gather and scatter, the copy and the sum that the grid
// transforms use to reach grid rows and columns.
#include "grid_support.h"

#include <gtest/gtest.h>

namespace {

using grid_test::Vec;

constexpr double untouched = -7.5;

// A 4-by-4 grid holding 0..15 in storage order.
Vec grid16() {
    return grid_test::ramp_grid(4);
}

struct GatherCase {
    const char *what;
    int32_t base; // offset of the base address into the grid
    int32_t count;
    int32_t step;
    int32_t start;
    Vec expected; // the destination vector of 4, untouched beyond count
};

TEST(Strided, UnpackGathersOneRunOfARow) {
    const GatherCase cases[] = {
        {"row 1, all columns", 0, 4, 4, 1, {1, 5, 9, 13}},
        {"row 1 from column 2", 8, 2, 4, 1, {9, 13, untouched, untouched}},
        {"row 3, first column only", 0, 1, 4, 3, {3, untouched, untouched, untouched}},
        {"contiguous step", 4, 3, 1, 0, {4, 5, 6, untouched}},
        {"count 0", 0, 0, 4, 1, {untouched, untouched, untouched, untouched}},
        {"negative count", 0, -3, 4, 1, {untouched, untouched, untouched, untouched}},
    };
    const Vec grid = grid16();
    for (const auto &c : cases) {
        Vec y(4, untouched);
        unpackdouble(grid.data() + c.base, c.count, c.step, c.start, y.data());
        EXPECT_EQ(y, c.expected) << c.what;
    }
}

TEST(Strided, PackScattersIntoOneRunOfARowOnly) {
    struct Case {
        const char *what;
        int32_t base;
        int32_t count;
        int32_t start;
        std::vector<int> written; // grid entries that receive y[0], y[1], ...
    };
    const Case cases[] = {
        {"row 3, two columns", 0, 2, 3, {3, 7}},
        {"row 0 from column 2", 8, 2, 0, {8, 12}},
        {"row 2, all columns", 0, 4, 2, {2, 6, 10, 14}},
        {"count 0", 0, 0, 1, {}},
        {"negative count", 0, -1, 1, {}},
    };
    const Vec y = {100, 200, 300, 400};
    for (const auto &c : cases) {
        Vec grid = grid16();
        Vec expected = grid16();
        for (size_t i = 0; i < c.written.size(); ++i) expected[c.written[i]] = y[i];
        packdouble(y.data(), c.count, 4, c.start, grid.data() + c.base);
        EXPECT_EQ(grid, expected) << c.what;
    }
}

TEST(Strided, CopyAndAddTouchExactlyCountElements) {
    const Vec a = {1, 2, 3, 4};
    const Vec b = {10, 20, 30, 40};
    for (int32_t count = 0; count <= 4; ++count) {
        Vec copy(5, untouched), sum(5, untouched);
        copydouble(a.data(), copy.data(), count);
        adddouble(a.data(), b.data(), count, sum.data());
        for (int32_t i = 0; i < 5; ++i) {
            EXPECT_EQ(copy[i], i < count ? a[i] : untouched) << "copy, count " << count;
            EXPECT_EQ(sum[i], i < count ? a[i] + b[i] : untouched) << "add, count " << count;
        }
    }
}

TEST(Strided, AddMaySumIntoEitherAddend) {
    Vec a = {1, 2, 3};
    const Vec b = {10, 20, 30};
    adddouble(a.data(), b.data(), 3, a.data());
    EXPECT_EQ(a, (Vec{11, 22, 33}));

    const Vec c = {1, 2, 3};
    Vec d = {10, 20, 30};
    adddouble(c.data(), d.data(), 3, d.data());
    EXPECT_EQ(d, (Vec{11, 22, 33}));
}

// One rounding per element: the sum is the plain double sum (or the
// extended sum rounded once), so an input whose exact sum needs more than 53
// bits shows the rounding of the build.
TEST(Strided, AddRoundsEachSumOnce) {
    const Vec a = {1.0, 0.1, -0.0, 1e16};
    const Vec b = {0x1p-53, 0.2, -0.0, 1.0};
    Vec z(4);
    adddouble(a.data(), b.data(), 4, z.data());
    const Vec expected = ref::add(a, b);
    EXPECT_TRUE(grid_test::same_bits(z, expected));
    EXPECT_TRUE(std::signbit(z[2])); // -0 + -0 stays -0
}

} // namespace
