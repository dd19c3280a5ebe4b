// The forward and inverse grid transforms called directly: worked examples,
// bit-for-bit agreement with the plain reference, memory outside the grid and
// the work array left alone, coarse levels below 0 and beyond the grid.
#include "grid_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

using grid_test::Direction;
using grid_test::Vec;

// Rows of a small grid written out row by row, turned into storage order.
Vec from_rows(const std::vector<Vec> &rows) {
    const size_t n = rows.size();
    Vec g(n * n);
    for (size_t r = 0; r < n; ++r)
        for (size_t c = 0; c < n; ++c) g[r + n * c] = rows[r][c];
    return g;
}

struct Worked {
    const char *what;
    Direction dir;
    Vec source;
    int32_t L;
    Vec h;
    Vec expected;
    double tolerance; // 0: exact
};

TEST(GridTransform, WorkedExamples) {
    const Vec &haar = grid_test::haar;
    const Vec taps = {1, 2, 3, 4};
    Vec spike(16, 0.0);
    spike[0] = 4;
    const Worked cases[] = {
        {"forward 2x2 Haar", Direction::forward, from_rows({{1, 2}, {3, 4}}), 0, haar,
         from_rows({{5, 1}, {2, 0}}), 1e-14},
        {"forward 4x4 ramp, L = 0", Direction::forward, grid_test::ramp_grid(4), 0, haar,
         from_rows({{30, 16, 4, 4}, {4, 0, 4, 4}, {1, 1, 0, 0}, {1, 1, 0, 0}}), 1e-13},
        {"forward 4x4 ramp, L = 1", Direction::forward, grid_test::ramp_grid(4), 1, haar,
         from_rows({{5, 21, 4, 4}, {9, 25, 4, 4}, {1, 1, 0, 0}, {1, 1, 0, 0}}), 1e-13},
        {"inverse 2x2 Haar", Direction::inverse, from_rows({{5, 1}, {2, 0}}), 0, haar,
         from_rows({{1, 2}, {3, 4}}), 1e-14},
        {"inverse of a single 4", Direction::inverse, spike, 0, haar, Vec(16, 1.0), 1e-14},
        {"inverse 4x4 ramp, L = 0", Direction::inverse,
         from_rows({{30, 16, 4, 4}, {4, 0, 4, 4}, {1, 1, 0, 0}, {1, 1, 0, 0}}), 0, haar,
         grid_test::ramp_grid(4), 1e-13},
        {"inverse 4x4 ramp, L = 1", Direction::inverse,
         from_rows({{5, 21, 4, 4}, {9, 25, 4, 4}, {1, 1, 0, 0}, {1, 1, 0, 0}}), 1, haar,
         grid_test::ramp_grid(4), 1e-13},
        // Four taps on a block of side 2 wrap twice around it: each column
        // (a, b) gives 4a + 6b and 4b - 6a, exactly.
        {"forward, four taps on side 2", Direction::forward, from_rows({{1, 2}, {3, 4}}), 0, taps,
         from_rows({{280, -4}, {48, -20}}), 0},
        {"inverse, four taps on side 2", Direction::inverse, from_rows({{1, 0}, {0, 0}}), 0, taps,
         from_rows({{16, 24}, {24, 36}}), 0},
        {"forward, no level at L = J", Direction::forward, grid_test::ramp_grid(4), 2, taps,
         grid_test::ramp_grid(4), 0},
        {"inverse, no level at L = J", Direction::inverse, grid_test::ramp_grid(4), 2, taps,
         grid_test::ramp_grid(4), 0},
        {"forward, empty filter",
         Direction::forward,
         grid_test::ramp_grid(4),
         1,
         {},
         Vec(16, 0.0),
         0},
        {"inverse, empty filter",
         Direction::inverse,
         grid_test::ramp_grid(4),
         1,
         {},
         Vec(16, 0.0),
         0},
    };
    for (const auto &c : cases) {
        const auto n = static_cast<int32_t>(std::lround(std::sqrt(c.source.size())));
        const auto run = grid_test::run_guarded(c.dir, c.source, n, c.L, c.h);
        EXPECT_TRUE(run.fences_intact) << c.what;
        for (size_t i = 0; i < c.expected.size(); ++i) {
            if (c.tolerance == 0)
                EXPECT_EQ(run.result[i], c.expected[i]) << c.what << ", entry " << i;
            else
                EXPECT_NEAR(run.result[i], c.expected[i], c.tolerance) << c.what << ", entry " << i;
        }
    }
}

// Every side up to 64, every filter length 0..12 and every level from well
// below 0 to beyond the grid: both transforms equal the reference bit for
// bit, write nothing outside the grid and the work array, and leave their
// inputs alone.
TEST(GridTransform, MatchesReferenceBitForBit) {
    std::mt19937_64 rng(20261208);
    const int32_t odd_levels[] = {INT32_MIN, INT32_MIN + 1, -1000, -3, INT32_MAX};
    for (int32_t n = 1; n <= 64; n *= 2) {
        const int32_t J = grid_test::exponent_of(n);
        std::vector<int32_t> levels(std::begin(odd_levels), std::end(odd_levels));
        for (int32_t L = -2; L <= J + 1; ++L) levels.push_back(L);
        for (size_t m = 0; m <= 12; ++m) {
            const Vec h = grid_test::random_vec(rng, m);
            const Vec x = grid_test::random_vec(rng, static_cast<size_t>(n) * n);
            for (int32_t L : levels) {
                const std::string where = "n " + std::to_string(n) + ", m " + std::to_string(m) +
                                          ", L " + std::to_string(L);
                const auto fwd = grid_test::run_guarded(Direction::forward, x, n, L, h);
                EXPECT_TRUE(grid_test::same_bits(fwd.result, ref::forward2d(x, n, L, h)))
                    << "forward, " << where;
                EXPECT_TRUE(fwd.fences_intact && fwd.inputs_intact) << "forward, " << where;
                const auto inv = grid_test::run_guarded(Direction::inverse, x, n, L, h);
                EXPECT_TRUE(grid_test::same_bits(inv.result, ref::inverse2d(x, n, L, h)))
                    << "inverse, " << where;
                EXPECT_TRUE(inv.fences_intact && inv.inputs_intact) << "inverse, " << where;
            }
        }
    }
}

// Larger grids, sampled: a faster path may change how it walks the grid only
// beyond some size, and must still agree bit for bit.
TEST(GridTransform, LargeGridsMatchReferenceBitForBit) {
    std::mt19937_64 rng(23);
    for (int32_t n : {128, 512}) {
        const int32_t J = grid_test::exponent_of(n);
        const Vec x = grid_test::random_vec(rng, static_cast<size_t>(n) * n);
        for (size_t m : {1, 4, 7, 12}) {
            const Vec h = grid_test::random_vec(rng, m);
            for (int32_t L : {INT32_MIN, 0, J / 2, J - 1}) {
                const std::string where = "n " + std::to_string(n) + ", m " + std::to_string(m) +
                                          ", L " + std::to_string(L);
                const auto fwd = grid_test::run_guarded(Direction::forward, x, n, L, h);
                EXPECT_TRUE(grid_test::same_bits(fwd.result, ref::forward2d(x, n, L, h)))
                    << "forward, " << where;
                EXPECT_TRUE(fwd.fences_intact) << "forward, " << where;
                const auto inv = grid_test::run_guarded(Direction::inverse, x, n, L, h);
                EXPECT_TRUE(grid_test::same_bits(inv.result, ref::inverse2d(x, n, L, h)))
                    << "inverse, " << where;
                EXPECT_TRUE(inv.fences_intact) << "inverse, " << where;
            }
        }
    }
}

// A level below 0 acts exactly as level 0 in both directions, and any level
// at or beyond the finest leaves a copy of the source.
TEST(GridTransform, LevelsOutsideTheGridClampToItsEnds) {
    std::mt19937_64 rng(7);
    for (int32_t n : {1, 2, 8, 32}) {
        const int32_t J = grid_test::exponent_of(n);
        const Vec x = grid_test::random_vec(rng, static_cast<size_t>(n) * n);
        for (Direction dir : {Direction::forward, Direction::inverse}) {
            const Vec at_zero = grid_test::run_guarded(dir, x, n, 0, grid_test::daub8).result;
            for (int32_t L : {-1, -2, -31, -32, -1000000, INT32_MIN + 1, INT32_MIN})
                EXPECT_TRUE(grid_test::same_bits(
                    grid_test::run_guarded(dir, x, n, L, grid_test::daub8).result, at_zero))
                    << "n " << n << ", L " << L;
            for (int32_t L : {J, J + 1, 31, 1000000, INT32_MAX})
                EXPECT_TRUE(grid_test::same_bits(
                    grid_test::run_guarded(dir, x, n, L, grid_test::daub8).result, x))
                    << "n " << n << ", L " << L;
        }
    }
}

// One level at L = J - 1 touches the whole grid once: compare it with a
// single column pass and row pass done by hand with the reference kernels.
TEST(GridTransform, OneLevelIsColumnsThenRows) {
    std::mt19937_64 rng(11);
    const int32_t n = 8;
    const Vec x = grid_test::random_vec(rng, 64);
    const Vec h = grid_test::random_vec(rng, 5);
    const Vec g = ref::mirror(h);
    Vec expected = x;
    for (int32_t c = 0; c < n; ++c) {
        const Vec col(expected.begin() + c * n, expected.begin() + (c + 1) * n);
        const Vec lo = ref::downlo(col, h), hi = ref::downhi(col, g);
        for (int32_t i = 0; i < n / 2; ++i) {
            expected[i + c * n] = lo[i];
            expected[n / 2 + i + c * n] = hi[i];
        }
    }
    for (int32_t r = 0; r < n; ++r) {
        Vec row(n);
        for (int32_t c = 0; c < n; ++c) row[c] = expected[r + c * n];
        const Vec lo = ref::downlo(row, h), hi = ref::downhi(row, g);
        for (int32_t i = 0; i < n / 2; ++i) {
            expected[r + i * n] = lo[i];
            expected[r + (n / 2 + i) * n] = hi[i];
        }
    }
    EXPECT_TRUE(grid_test::same_bits(grid_test::run_guarded(Direction::forward, x, n, 2, h).result,
                                     expected));
}

// With an orthonormal filter the forward transform keeps the sum of squares,
// and the inverse undoes it.
TEST(GridTransform, OrthonormalFiltersKeepEnergyAndInvert) {
    std::mt19937_64 rng(3);
    const Vec *filters[] = {&grid_test::haar, &grid_test::daub4, &grid_test::daub8};
    for (int32_t n : {2, 4, 16, 64, 128}) {
        const int32_t J = grid_test::exponent_of(n);
        const Vec x = grid_test::random_vec(rng, static_cast<size_t>(n) * n);
        const double energy = grid_test::sum_of_squares(x);
        for (const Vec *h : filters) {
            for (int32_t L = -1; L <= J; ++L) {
                const Vec w = grid_test::run_guarded(Direction::forward, x, n, L, *h).result;
                EXPECT_NEAR(grid_test::sum_of_squares(w), energy, 1e-12 * energy)
                    << "n " << n << ", m " << h->size() << ", L " << L;
                const Vec back = grid_test::run_guarded(Direction::inverse, w, n, L, *h).result;
                EXPECT_LE(grid_test::max_abs_diff(back, x), 1e-12 * grid_test::max_abs(x))
                    << "n " << n << ", m " << h->size() << ", L " << L;
            }
        }
    }
}

} // namespace
