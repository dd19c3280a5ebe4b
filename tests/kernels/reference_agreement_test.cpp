// The kernels against the plain modular-index reference on random signals and
// filters, bit for bit, and the upsampling kernels as the transposes of the
// downsampling ones.
#include "kernel_harness.h"
#include "kernels/periodic/periodic.h"
#include "reference.h"

#include <cmath>
#include <limits>
#include <random>

namespace {

using harness::Vec;

using bitwise::random_vec;

// Powers of two up to 2^10 and lengths that are not powers of two.
std::vector<size_t> signal_lengths() {
    std::vector<size_t> lengths;
    for (size_t n = 1; n <= 1024; n *= 2) lengths.push_back(n);
    for (size_t n : {3, 5, 6, 7, 9, 10, 12, 13, 31, 100, 257}) lengths.push_back(n);
    return lengths;
}

constexpr size_t max_taps = 13;

struct KernelPair {
    const char *name;
    harness::Kernel kernel;
    Vec (*reference)(const Vec &, const Vec &);
    bool down;
};

const KernelPair kernels[] = {
    {"downlo", downlo, ref::downlo, true},
    {"downhi", downhi, ref::downhi, true},
    {"uplo", uplo, ref::uplo, false},
    {"uphi", uphi, ref::uphi, false},
};

void PrintTo(const KernelPair &k, std::ostream *os) {
    *os << k.name;
}

class AgreesWithReference : public ::testing::TestWithParam<KernelPair> {};

TEST_P(AgreesWithReference, BitForBitOnRandomInputs) {
    const KernelPair &k = GetParam();
    std::mt19937_64 rng(0x5eed0001);
    for (size_t n : signal_lengths()) {
        for (size_t m = 0; m <= max_taps; ++m) {
            SCOPED_TRACE("n = " + std::to_string(n) + ", m = " + std::to_string(m));
            const Vec x = random_vec(rng, n);
            const Vec f = random_vec(rng, m);
            const Vec got = harness::run(k.kernel, x, f, k.down ? n / 2 : 2 * n);
            ASSERT_TRUE(harness::same_bits(got, k.reference(x, f)));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, AgreesWithReference, ::testing::ValuesIn(kernels),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(MirrorAgreesWithReference, BitForBitOnRandomFilters) {
    std::mt19937_64 rng(0x5eed0002);
    const auto adapter = [](const double *h, int32_t m, const double *, int32_t, double *g) {
        mirrorfilt(h, g, m);
    };
    for (size_t m = 0; m <= 64; ++m) {
        SCOPED_TRACE("m = " + std::to_string(m));
        Vec h = random_vec(rng, m);
        if (m > 3) h[3] = 0.0; // an odd zero tap turns into -0.0
        ASSERT_TRUE(harness::same_bits(harness::run(adapter, h, {}, m), ref::mirror(h)));
    }
}

double dot(const Vec &a, const Vec &b) {
    double s = 0.0;
    for (size_t i = 0; i < a.size(); ++i) s += a[i] * b[i];
    return s;
}

Vec magnitudes(Vec v) {
    for (double &e : v) e = std::fabs(e);
    return v;
}

struct Transposed {
    const char *name;
    harness::Kernel down;
    harness::Kernel up;
};

const Transposed pairs[] = {{"downlo_uplo", downlo, uplo}, {"downhi_uphi", downhi, uphi}};

void PrintTo(const Transposed &t, std::ostream *os) {
    *os << t.name;
}

class Transposition : public ::testing::TestWithParam<Transposed> {};

// <down(v), u> = <v, up(u)> for any filter, any v of 2n samples and any u of
// n samples. Both sides are sums of the same products h[j] v[k] u[i]; with
// rounding they may differ by at most 2 (m + 2n) eps times the sum of the
// magnitudes of those products.
TEST_P(Transposition, DotProductIdentity) {
    const Transposed &p = GetParam();
    const double eps = std::numeric_limits<double>::epsilon();
    std::mt19937_64 rng(0x5eed0003);
    for (size_t n : signal_lengths()) {
        for (size_t m = 0; m <= max_taps; ++m) {
            SCOPED_TRACE("n = " + std::to_string(n) + ", m = " + std::to_string(m));
            const Vec v = random_vec(rng, 2 * n);
            const Vec u = random_vec(rng, n);
            const Vec f = random_vec(rng, m);
            const double lhs = dot(harness::run(p.down, v, f, n), u);
            const double rhs = dot(v, harness::run(p.up, u, f, 2 * n));
            const double scale =
                dot(harness::run(p.down, magnitudes(v), magnitudes(f), n), magnitudes(u));
            const double bound = 2.0 * static_cast<double>(m + 2 * n) * eps * scale;
            EXPECT_LE(std::fabs(lhs - rhs), bound) << "lhs " << lhs << ", rhs " << rhs;
            if (m == 0) {
                EXPECT_EQ(lhs, 0.0);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, Transposition, ::testing::ValuesIn(pairs),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
