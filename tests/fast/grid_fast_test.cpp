// Every vector variant of the grid transforms against the plain transforms,
// bit for bit: grid sides from 1 to 2048 (row by row, narrow and tall panels,
// panels of every height the work array allows), filters longer than the
// smaller blocks, every kind of coarse level, separate and shared source and
// result, and a work array fenced at exactly 3n (forward) and 4n (inverse).
#include <gtest/gtest.h>

#include <algorithm>

#include "fast_support.h"
#include "kernels/periodic/periodic.h"
#include "transform2d/grid_simd.h"
#include "transform2d/transform2d.h"

namespace {

typedef void (*transform_fn)(const double *, int32_t, int32_t, int32_t, int32_t, const double *,
                             const double *, int32_t, double *, double *);

struct Transform {
    const char *name;
    transform_fn entry;
    transform_fn plain;
    int work_columns;
};

const Transform transforms[] = {
    {"dpwt2", dpwt2, dpwt2_plain, 3},
    {"idpwt2", idpwt2, idpwt2_plain, 4},
};

struct Case {
    int32_t J;
    std::vector<int32_t> taps;
};

// Levels L = -2, 0, 1, J - 3, J - 1, J for each side.
std::vector<int32_t> levels(int32_t J) {
    std::vector<int32_t> l = {-2, 0, 1, J - 3, J - 1, J};
    std::sort(l.begin(), l.end());
    l.erase(std::unique(l.begin(), l.end()), l.end());
    return l;
}

void check(const Transform &t, int variant, int32_t J, int32_t m, int32_t L, bool in_place) {
    const int32_t n = int32_t{1} << J;
    const size_t cells = size_t(n) * n;
    const auto src = fast::random_values(cells, 31u * n + m);
    auto h = fast::random_values(m, 3u + m);
    std::vector<double> g(m);
    mirrorfilt(h.data(), g.data(), m);

    std::vector<double> want(cells), want_work(size_t(t.work_columns) * n);
    t.plain(src.data(), n, n, L, J, g.data(), h.data(), m, want.data(), want_work.data());

    fast::Guarded got(cells, -3.0), work(size_t(t.work_columns) * n, -5.0);
    const double *from = src.data();
    if (in_place) {
        std::copy(src.begin(), src.end(), got.data());
        from = got.data();
    }
    {
        fast::Pinned pin(variant);
        t.entry(from, n, n, L, J, g.data(), h.data(), m, got.data(), work.data());
    }
    SCOPED_TRACE(std::string(t.name) + " on " + fast::variant_name(variant) +
                 ", n = " + std::to_string(n) + ", m = " + std::to_string(m) +
                 ", L = " + std::to_string(L) + (in_place ? ", in place" : ""));
    ASSERT_TRUE(fast::same_bits(got.data(), want.data(), cells));
    ASSERT_TRUE(got.fences_intact());
    ASSERT_TRUE(work.fences_intact());
}

TEST(FastGrid, EveryVariantMatchesThePlainTransformsBitForBit) {
    const Case cases[] = {
        {0, {0, 1, 4}},
        {1, {0, 1, 2, 3, 4, 8}},
        {2, {2, 4, 5, 8}},
        {3, {1, 2, 4, 6, 9}},
        {4, {2, 4, 8, 9, 12}},
        {5, {1, 2, 3, 4, 8, 16, 20}},
        {6, {0, 1, 2, 4, 7, 8, 12, 20}},
        {7, {4, 8, 11, 40}},
        {8, {2, 4, 20}},
        {9, {4, 13}},
        {10, {8}},
        {11, {4}},
    };
    for (int variant : fast::runnable_variants())
        for (const Transform &t : transforms)
            for (const Case &c : cases)
                for (int32_t m : c.taps)
                    for (int32_t L : levels(c.J))
                        for (bool in_place : {false, true}) {
                            if (c.J >= 9 && (L == 1 || L == -2 || L == c.J || in_place)) continue;
                            if (c.J >= 11 && L != c.J - 1) continue;
                            check(t, variant, c.J, m, L, in_place);
                            if (HasFatalFailure()) return;
                        }
}

// Sides and levels the dispatch hands to the plain transforms (a side that
// is not 2^J, unequal steps) must still give the plain result.
TEST(FastGrid, ShapesOutsideTheVectorFormsFallBackToThePlainTransforms) {
    struct Shape {
        int32_t n, J;
    };
    for (const Transform &t : transforms) {
        for (const Shape shape : {Shape{8, 2}, Shape{6, 2}, Shape{12, 3}}) {
            const int32_t n = shape.n;
            const auto src = fast::random_values(size_t(n) * n, 5);
            const auto h = fast::random_values(4, 6);
            std::vector<double> g(4), want(size_t(n) * n), got(size_t(n) * n), work(4 * size_t(n));
            mirrorfilt(h.data(), g.data(), 4);
            t.plain(src.data(), n, n, 0, shape.J, g.data(), h.data(), 4, want.data(), work.data());
            t.entry(src.data(), n, n, 0, shape.J, g.data(), h.data(), 4, got.data(), work.data());
            SCOPED_TRACE(std::string(t.name) + ", n = " + std::to_string(n) +
                         ", J = " + std::to_string(shape.J));
            EXPECT_TRUE(fast::same_bits(got.data(), want.data(), size_t(n) * n));
        }
    }
}

} // namespace
