// Worked examples of the symmetric-filter kernels, with small integer data so
// that every expected value is exact.
#include "harness.h"
#include "kernels/symmetric/symmetric.h"

#include <cmath>
#include <string>

using symtest::Kernel;
using symtest::Vec;

namespace {

const Vec x8 = {3, 1, 4, 1, 5, 9, 2, 6};
const Vec zeros16(16, 0.0);

struct Example {
    const char *what;
    Kernel kernel;
    bool upsampling; // output of 2n rather than n/2
    Vec x, taps, expected;
};

const Example kExamples[] = {
    // Odd filter centred on the even samples (lowpass) or odd samples (highpass).
    {"downlopbs (1,2,1)", downlopbs, false, x8, {1, 2, 1}, {13, 10, 20, 19}},
    {"downhipbs (-1,2,-1)", downhipbs, false, x8, {-1, 2, -1}, {-5, -7, 11, 7}},
    {"uplopbs (1,2,1)",
     uplopbs,
     true,
     x8,
     {1, 2, 1},
     {6, 4, 2, 5, 8, 5, 2, 6, 10, 14, 18, 11, 4, 8, 12, 9}},
    {"uphipbs (-1,2,-1)",
     uphipbs,
     true,
     x8,
     {-1, 2, -1},
     {-9, 6, -4, 2, -5, 8, -5, 2, -6, 10, -14, 18, -11, 4, -8, 12}},
    // Even filters: the two middle taps straddle the centre sample.
    {"downlopbs (10,100)", downlopbs, false, x8, {10, 100}, {360, 410, 510, 290}},
    {"downhipbs (10,100)", downhipbs, false, x8, {10, 100}, {310, 410, 590, 260}},
    {"uplopbs (10,100)",
     uplopbs,
     true,
     x8,
     {10, 100},
     {30, 300, 10, 100, 40, 400, 10, 100, 50, 500, 90, 900, 20, 200, 60, 600}},
    {"uphipbs (10,100)",
     uphipbs,
     true,
     x8,
     {10, 100},
     {60, 300, 30, 100, 10, 400, 40, 100, 10, 500, 50, 900, 90, 200, 20, 600}},
    {"uplopbs (1,2,3,4)",
     uplopbs,
     true,
     x8,
     {1, 2, 3, 4},
     {30, 10, 14, 7, 12, 13, 18, 8, 14, 24, 38, 29, 40, 12, 20, 21}},
    {"uphipbs (1,2,3,4)",
     uphipbs,
     true,
     x8,
     {1, 2, 3, 4},
     {24, 15, 10, 6, 18, 13, 12, 7, 22, 16, 46, 32, 26, 15, 28, 20}},
    {"uphipbs (1..6)",
     uphipbs,
     true,
     x8,
     {1, 2, 3, 4, 5, 6},
     {35, 30, 20, 34, 26, 24, 18, 42, 32, 76, 61, 58, 42, 62, 45, 46}},
    // One tap: only the centre sample, the other output of a pair empty.
    {"downlopbs (10)", downlopbs, false, x8, {10}, {30, 40, 50, 20}},
    {"downhipbs (10)", downhipbs, false, x8, {10}, {10, 10, 90, 60}},
    {"uplopbs (10)",
     uplopbs,
     true,
     x8,
     {10},
     {30, 0, 10, 0, 40, 0, 10, 0, 50, 0, 90, 0, 20, 0, 60, 0}},
    {"uphipbs (10)",
     uphipbs,
     true,
     x8,
     {10},
     {0, 30, 0, 10, 0, 40, 0, 10, 0, 50, 0, 90, 0, 20, 0, 60}},
    // Filters longer than the signal: every tap used once, indices wrapping
    // many times (for the highpass synthesis 2n - m/2 is negative at n = 1).
    {"downlopbs n=2 m=7", downlopbs, false, {1, 10}, {1, 2, 3, 4, 5, 6, 7}, {172}},
    {"downhipbs n=2 m=7", downhipbs, false, {1, 10}, {1, 2, 3, 4, 5, 6, 7}, {136}},
    {"uplopbs n=1 m=7", uplopbs, true, {2}, {1, 2, 3, 4, 5, 6, 7}, {24, 32}},
    {"uphipbs n=1 m=7", uphipbs, true, {2}, {1, 2, 3, 4, 5, 6, 7}, {32, 24}},
    {"uplopbs n=2 (1,2,3)", uplopbs, true, {1, 10}, {1, 2, 3}, {2, 13, 20, 31}},
    {"uphipbs n=2 (1,2,3)", uphipbs, true, {1, 10}, {1, 2, 3}, {13, 2, 31, 20}},
    // No taps: every output +0.0. One sample: no downsampled output at all.
    {"downlopbs m=0", downlopbs, false, x8, {}, {0, 0, 0, 0}},
    {"downhipbs m=0", downhipbs, false, x8, {}, {0, 0, 0, 0}},
    {"uplopbs m=0", uplopbs, true, x8, {}, zeros16},
    {"uphipbs m=0", uphipbs, true, x8, {}, zeros16},
    {"downlopbs n=1", downlopbs, false, {7}, {1, 2, 3}, {}},
    {"downhipbs n=1", downhipbs, false, {7}, {1, 2, 3}, {}},
};

TEST(SymmetricExamples, KernelsGiveTheWorkedResults) {
    for (const Example &e : kExamples) {
        SCOPED_TRACE(e.what);
        const size_t len = e.upsampling ? 2 * e.x.size() : e.x.size() / 2;
        const Vec y = symtest::run(e.kernel, e.x, e.taps, len);
        EXPECT_EQ(y, e.expected);
        // Sums start at +0.0, so no output is ever -0.0.
        for (double v : y) EXPECT_FALSE(v == 0.0 && std::signbit(v));
    }
}

TEST(SymmetricExamples, MirrorSignTable) {
    // Sign of g[0] for m = 1 .. 8 with every tap 1; signs then alternate, the
    // tap (m-1)/2 always keeping its +.
    const double first[] = {+1, +1, -1, -1, +1, +1, -1, -1};
    for (int32_t m = 1; m <= 8; ++m) {
        SCOPED_TRACE("m = " + std::to_string(m));
        const Vec h(m, 1.0);
        const Vec g = symtest::guarded(m, [&](double *out) { mirrorsymmfilt(h.data(), out, m); });
        for (int32_t k = 0; k < m; ++k) EXPECT_EQ(g[k], k % 2 ? -first[m - 1] : first[m - 1]);
        EXPECT_EQ(g[(m - 1) / 2], 1.0);
    }
}

TEST(SymmetricExamples, MirrorValues) {
    struct Case {
        Vec h, g;
    };
    const Case cases[] = {
        {{1, 1}, {1, -1}},
        {{1, 1, 1, 1, 1}, {1, -1, 1, -1, 1}},
        {{1, 1, 1, 1, 1, 1, 1, 1}, {-1, 1, -1, 1, -1, 1, -1, 1}},
        {{1, 2, 1}, {-1, 2, -1}},
        {{}, {}},
    };
    for (const Case &c : cases) {
        const int32_t m = static_cast<int32_t>(c.h.size());
        SCOPED_TRACE("m = " + std::to_string(m));
        EXPECT_EQ(symtest::guarded(m, [&](double *out) { mirrorsymmfilt(c.h.data(), out, m); }),
                  c.g);
    }
    // A zero tap takes the sign too: (0, 0, 0) becomes (-0, +0, -0).
    const Vec h = {0, 0, 0};
    Vec g(3);
    mirrorsymmfilt(h.data(), g.data(), 3);
    EXPECT_TRUE(std::signbit(g[0]));
    EXPECT_FALSE(std::signbit(g[1]));
    EXPECT_TRUE(std::signbit(g[2]));
}

TEST(SymmetricExamples, NothingWrittenWithoutOutputs) {
    // n < 2 leaves the downsampling kernels nothing to write, n = 0 the
    // upsampling ones, and m <= 0 the mirror; negative filter lengths act
    // as no taps.
    const Vec x = {5};
    const Vec h = {1, 2, 3};
    for (Kernel k : {downlopbs, downhipbs}) {
        symtest::run(k, x, h, 0);
        symtest::guarded(0, [&](double *y) { k(x.data(), 0, h.data(), 3, y); });
        symtest::guarded(0, [&](double *y) { k(x.data(), -4, h.data(), 3, y); });
    }
    for (Kernel k : {uplopbs, uphipbs}) {
        symtest::guarded(0, [&](double *y) { k(x.data(), 0, h.data(), 3, y); });
        EXPECT_EQ(symtest::guarded(2, [&](double *y) { k(x.data(), 1, h.data(), -3, y); }),
                  (Vec{0, 0}));
    }
    symtest::guarded(0, [&](double *g) { mirrorsymmfilt(h.data(), g, -1); });
}

} // namespace
