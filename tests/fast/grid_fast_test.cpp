// Every vector variant of the grid transforms against the plain transforms,
// bit for bit, with a work array fenced at exactly 3n (forward) and 4n
// (inverse), and the plan of every level they take.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "fast_support.h"
#include "kernels/periodic/periodic.h"
#include "transform2d/grid_plan.h"
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

// Levels L = -2, 0, 1, J - 3, J - 1, J for each side.
std::vector<int32_t> levels(int32_t J) {
    std::vector<int32_t> l = {-2, 0, 1, J - 3, J - 1, J};
    std::sort(l.begin(), l.end());
    l.erase(std::unique(l.begin(), l.end()), l.end());
    return l;
}

// The plain transform once, then every variant at each output alignment,
// bit for bit, with the result and the work array fenced.
void check(const Transform &t, int32_t J, int32_t m, int32_t L, bool in_place,
           const std::vector<size_t> &alignments) {
    const int32_t n = int32_t{1} << J;
    const size_t cells = size_t(n) * n;
    const auto src = fast::random_values(cells, 31u * n + m);
    auto h = fast::random_values(m, 3u + m);
    std::vector<double> g(m);
    mirrorfilt(h.data(), g.data(), m);

    std::vector<double> want(cells), want_work(size_t(t.work_columns) * n);
    t.plain(src.data(), n, n, L, J, g.data(), h.data(), m, want.data(), want_work.data());

    for (int variant : fast::runnable_variants())
        for (size_t alignment : alignments) {
            fast::Guarded got(cells, -3.0, alignment), work(size_t(t.work_columns) * n, -5.0);
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
                         ", L = " + std::to_string(L) + (in_place ? ", in place" : "") +
                         ", result at " + std::to_string(alignment) + " bytes");
            ASSERT_TRUE(fast::same_bits(got.data(), want.data(), cells));
            ASSERT_TRUE(got.fences_intact());
            ASSERT_TRUE(work.fences_intact());
        }
}

// The cases of the bit-for-bit test: grid sides 1 to 2048, filters longer
// than the smaller blocks, every kind of coarse level, separate and (forward)
// shared source and result; the largest grids, whose first and last levels store
// around the caches, with the result at every alignment.
template <typename Fn> void for_each_case(Fn &&fn) {
    struct Case {
        int32_t J;
        std::vector<int32_t> taps;
    };
    const Case cases[] = {
        {0, {0, 1, 4}},
        {1, {0, 1, 2, 3, 4, 8}},
        {2, {2, 4, 5, 8}},
        {3, {1, 2, 4, 6, 9}},
        {4, {2, 4, 8, 9, 12}},
        {5, {1, 2, 3, 4, 8, 16, 20}},
        {6, {0, 1, 2, 4, 7, 8, 12, 20}},
        {7, {4, 8, 11, 40}},
        {8, {2, 4, 20, 40}},
        {9, {4, 13, 70}},
        {10, {8}},
        {11, {4, 8}},
    };
    const std::vector<size_t> usual = {16};
    const std::vector<size_t> every(std::begin(fast::alignments), std::end(fast::alignments));
    for (const Transform &t : transforms)
        for (const Case &c : cases)
            for (int32_t m : c.taps)
                for (int32_t L : levels(c.J))
                    for (bool in_place : {false, true}) {
                        if (c.J >= 9 && (L == 1 || L == -2 || L == c.J || in_place)) continue;
                        // The inverse in place is the plain transform.
                        if (in_place && t.entry == idpwt2) continue;
                        if (c.J >= 11 && L != c.J - 1) continue;
                        fn(t, c.J, m, L, in_place, c.J >= 11 ? every : usual);
                    }
}

TEST(FastGrid, EveryVariantMatchesThePlainTransformsBitForBit) {
    FAST_REQUIRE_VARIANTS();
    for_each_case([&](const Transform &t, int32_t J, int32_t m, int32_t L, bool in_place,
                      const std::vector<size_t> &alignments) {
        if (HasFatalFailure()) return;
        check(t, J, m, L, in_place, alignments);
    });
}

// The strategies the levels of the cases above take, as the transforms plan
// them: every strategy is reached on every variant this machine runs, so the
// bit-for-bit test covers each.
TEST(FastGrid, TheCasesReachEveryStrategyOnEveryVariant) {
    FAST_REQUIRE_VARIANTS();
    for (int variant : fast::runnable_variants()) {
        const int32_t W = simd_lanes(variant);
        std::set<int32_t> forward, inverse, shuffled_lanes;
        for_each_case([&](const Transform &t, int32_t J, int32_t m, int32_t L, bool in_place,
                          const std::vector<size_t> &) {
            const int32_t n = int32_t{1} << J;
            const int32_t stop = L < 0 ? 0 : L;
            if (t.entry == dpwt2) {
                for (int32_t s = n; s > (int32_t{1} << stop); s /= 2) {
                    const auto step = grid::dpwt2_plan(n, s, m, !in_place && s == n, W);
                    forward.insert(step);
                    if (step == grid::dpwt2_shuffled)
                        shuffled_lanes.insert(grid::dpwt2_shuffled_lanes(n, s, m, W));
                }
            } else {
                for (int32_t e = int32_t{1} << stop; e < n; e *= 2)
                    inverse.insert(grid::idpwt2_plan(n, e, m, W));
            }
        });
        SCOPED_TRACE(fast::variant_name(variant));
        EXPECT_EQ(forward, (std::set<int32_t>{grid::dpwt2_fused_first, grid::dpwt2_shuffled,
                                              grid::dpwt2_by_row}));
        // Where a panel of W rows does not fit, one of W/2 does.
        const std::set<int32_t> lanes = W >= 4 ? std::set<int32_t>{W, W / 2} : std::set<int32_t>{W};
        EXPECT_EQ(shuffled_lanes, lanes);
        EXPECT_EQ(inverse,
                  (std::set<int32_t>{grid::idpwt2_fused, grid::idpwt2_panel, grid::idpwt2_by_row}));
    }
}

} // namespace
