// The symmetric-filter kernels on random signals and filters: bit for bit
// against the plain reference, as transposes of each other, and against the
// periodized kernels they shift.
#include "harness.h"
#include "kernels/periodic/periodic.h"
#include "kernels/simd/accumulator.h"
#include "kernels/symmetric/symmetric.h"
#include "symmetric_reference.h"

#include <random>
#include <string>
#include <type_traits>

using symtest::Kernel;
using symtest::Vec;

namespace {

// Signal lengths need not be powers of two.
const int32_t kLengths[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 16};
constexpr int32_t kMaxTaps = 13;

Vec random_vec(std::mt19937_64 &rng, size_t len) {
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    Vec v(len);
    for (double &e : v) e = d(rng);
    return v;
}

// Small integers keep every sum exact, whatever order it is formed in.
Vec random_ints(std::mt19937_64 &rng, size_t len) {
    std::uniform_int_distribution<int> d(-9, 9);
    Vec v(len);
    for (double &e : v) e = d(rng);
    return v;
}

std::string where(int32_t n, int32_t m) {
    return "n = " + std::to_string(n) + ", m = " + std::to_string(m);
}

struct Pair {
    const char *name;
    Kernel kernel;
    Vec (*reference)(const Vec &, const Vec &);
    bool upsampling;
};

const Pair kPairs[] = {
    {"downlopbs", downlopbs, symref::downlopbs, false},
    {"downhipbs", downhipbs, symref::downhipbs, false},
    {"uplopbs", uplopbs, symref::uplopbs, true},
    {"uphipbs", uphipbs, symref::uphipbs, true},
};

void expect_matches_reference(const Pair &p, const Vec &x, const Vec &h) {
    const size_t len = p.upsampling ? 2 * x.size() : x.size() / 2;
    EXPECT_TRUE(symtest::same_bits(symtest::run(p.kernel, x, h, len), p.reference(x, h))) << p.name;
}

TEST(SymmetricRelations, BitForBitAgainstReference) {
    std::mt19937_64 rng(20261208);
    for (int32_t n : kLengths)
        for (int32_t m = 0; m <= kMaxTaps; ++m)
            for (int trial = 0; trial < 3; ++trial) {
                SCOPED_TRACE(where(n, m));
                const Vec x = random_vec(rng, n), h = random_vec(rng, m);
                for (const Pair &p : kPairs) expect_matches_reference(p, x, h);
            }
}

TEST(SymmetricRelations, LongFiltersWrapManyPeriods) {
    // Windows that start many periods before or after the signal; for the
    // highpass synthesis these include m > 4n + 1.
    std::mt19937_64 rng(7);
    for (int32_t n : {1, 2, 3, 5})
        for (int32_t m : {14, 21, 37, 64, 101}) {
            SCOPED_TRACE(where(n, m));
            const Vec x = random_vec(rng, n), h = random_vec(rng, m);
            for (const Pair &p : kPairs) expect_matches_reference(p, x, h);
        }
}

TEST(SymmetricRelations, MirrorAgainstReferenceAndQuadratureMirror) {
    // The symmetric mirror equals the quadrature mirror for m = 1, 2 (mod 4)
    // and its negation for m = 3, 0 (mod 4).
    std::mt19937_64 rng(11);
    for (int32_t m = 0; m <= kMaxTaps; ++m) {
        SCOPED_TRACE(where(0, m));
        const Vec h = random_vec(rng, m);
        const Vec g = symtest::guarded(m, [&](double *out) { mirrorsymmfilt(h.data(), out, m); });
        EXPECT_TRUE(symtest::same_bits(g, symref::mirror(h)));
        Vec q(m);
        mirrorfilt(h.data(), q.data(), m);
        if (m % 4 == 3 || m % 4 == 0)
            for (double &e : q) e = -e;
        EXPECT_TRUE(symtest::same_bits(g, q));
    }
}

// The matrix of a downsampling kernel on signals of length 2n, column by
// column from unit impulses: D[i][j] = down(e_j)[i].
std::vector<Vec> down_matrix(Kernel down, int32_t n, const Vec &h) {
    std::vector<Vec> cols;
    for (int32_t j = 0; j < 2 * n; ++j) {
        Vec e(2 * n, 0.0);
        e[j] = 1.0;
        cols.push_back(symtest::run(down, e, h, n));
    }
    return cols;
}

TEST(SymmetricRelations, UpsamplingTransposesDownsampling) {
    // For odd m, up = D^T; for even m, up is D^T delayed by one output:
    // up(b)[p] = (D^T b)[(p - 1) mod 2n]. Integer data makes both exact.
    std::mt19937_64 rng(3);
    const struct {
        Kernel down, up;
        const char *name;
    } partners[] = {{downlopbs, uplopbs, "lowpass"}, {downhipbs, uphipbs, "highpass"}};
    for (int32_t n = 1; n <= 8; ++n)
        for (int32_t m = 0; m <= kMaxTaps; ++m)
            for (const auto &k : partners) {
                SCOPED_TRACE(where(n, m) + ", " + k.name);
                const Vec h = random_ints(rng, m), b = random_ints(rng, n);
                const std::vector<Vec> cols = down_matrix(k.down, n, h);
                const Vec y = symtest::run(k.up, b, h, 2 * n);
                const int32_t delay = m % 2 == 0 ? 1 : 0;
                for (int32_t p = 0; p < 2 * n; ++p) {
                    const Vec &col = cols[(p - delay + 2 * n) % (2 * n)];
                    double dt = 0.0;
                    for (int32_t i = 0; i < n; ++i) dt += col[i] * b[i];
                    EXPECT_EQ(y[p], dt) << "p = " << p;
                }
            }
}

// The periodized kernels sum in this platform's accumulator; where that is
// double they must agree bit for bit, elsewhere to rounding.
void expect_agree(double symmetric, double periodic) {
    if (std::is_same_v<accum_t, double>)
        EXPECT_EQ(symmetric, periodic);
    else
        EXPECT_NEAR(symmetric, periodic, 1e-13);
}

TEST(SymmetricRelations, UpsamplingIsShiftedPeriodicUpsampling) {
    // uplopbs(x)[p] = uplo(x)[(p + mc - 1) mod 2n] and uphipbs(x)[p] =
    // uphi(x)[(p - mf) mod 2n]: the same taps meet the same samples in the
    // same order, for filters of at most 2n taps and longer ones alike.
    std::mt19937_64 rng(5);
    for (int32_t n : kLengths)
        for (int32_t m = 0; m <= kMaxTaps; ++m) {
            SCOPED_TRACE(where(n, m));
            const Vec x = random_vec(rng, n), h = random_vec(rng, m);
            const int32_t n2 = 2 * n, mc = (m + 1) / 2, mf = m / 2;
            const Vec lo = symtest::run(uplopbs, x, h, n2), plo = symtest::run(uplo, x, h, n2);
            const Vec hi = symtest::run(uphipbs, x, h, n2), phi = symtest::run(uphi, x, h, n2);
            for (int32_t p = 0; p < n2; ++p) {
                expect_agree(lo[p], plo.at(symref::wrap(p + mc - 1, n2)));
                expect_agree(hi[p], phi.at(symref::wrap(p - mf, n2)));
            }
        }
}

TEST(SymmetricRelations, DownsamplingIsPeriodicDownsamplingOfShiftedSignal) {
    // downlopbs starts each window m/2 samples before downlo does; downhipbs
    // meets every sample (m+1)/2 - 1 further on than downhi.
    std::mt19937_64 rng(9);
    for (int32_t n : kLengths)
        for (int32_t m = 0; m <= kMaxTaps; ++m) {
            SCOPED_TRACE(where(n, m));
            const Vec x = random_vec(rng, n), h = random_vec(rng, m);
            const int32_t mc = (m + 1) / 2, mf = m / 2;
            Vec back(n), on(n);
            for (int32_t j = 0; j < n; ++j) {
                back[j] = x[symref::wrap(j - mf, n)];
                on[j] = x[symref::wrap(j + mc - 1, n)];
            }
            const Vec lo = symtest::run(downlopbs, x, h, n / 2);
            const Vec hi = symtest::run(downhipbs, x, h, n / 2);
            const Vec plo = symtest::run(downlo, back, h, n / 2);
            const Vec phi = symtest::run(downhi, on, h, n / 2);
            for (int32_t i = 0; i < n / 2; ++i) {
                expect_agree(lo[i], plo[i]);
                expect_agree(hi[i], phi[i]);
            }
        }
}

} // namespace
