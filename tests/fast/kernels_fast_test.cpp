// Every vector variant of the four filtering kernels and of the summed
// synthesis against the plain loops, bit for bit, on random data: lengths
// around every block size the vector loops use, odd lengths, filters from
// none to longer than the signal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "fast_support.h"
#include "kernels/periodic/periodic.h"
#include "kernels/simd/simd.h"
#include "transform2d/transform2d.h"

namespace {

typedef void (*kernel_fn)(const double *, int32_t, const double *, int32_t, double *);

struct Kernel {
    const char *name;
    kernel_fn entry;
    kernel_fn plain;
    int out_per_in_num, out_per_in_den; // output length = n * num / den
};

const Kernel kernels[] = {
    {"downlo", downlo, downlo_plain, 1, 2},
    {"downhi", downhi, downhi_plain, 1, 2},
    {"uplo", uplo, uplo_plain, 2, 1},
    {"uphi", uphi, uphi_plain, 2, 1},
};

const int32_t lengths[] = {1,  2,  3,   4,   5,   6,   7,   8,   9,   10,   12,   15,
                           16, 17, 18,  23,  24,  31,  32,  33,  34,  47,   48,   63,
                           64, 65, 100, 127, 128, 129, 255, 256, 257, 1024, 1031, 4096};
const int32_t taps[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 16, 17, 20, 31, 40, 64};

TEST(FastKernels, EveryVariantMatchesThePlainLoopsBitForBit) {
    FAST_REQUIRE_VARIANTS();
    for (int variant : fast::runnable_variants()) {
        fast::Pinned pin(variant);
        ASSERT_EQ(simd_variant(), variant);
        for (const Kernel &k : kernels) {
            for (int32_t n : lengths) {
                for (int32_t m : taps) {
                    const auto x = fast::random_values(n, 1000u * n + m);
                    const auto f = fast::random_values(m, 77u + m);
                    const size_t out = size_t(n) * k.out_per_in_num / k.out_per_in_den;
                    fast::Guarded got(out, -7.0), want(out, -7.0);
                    k.entry(x.data(), n, f.data(), m, got.data());
                    k.plain(x.data(), n, f.data(), m, want.data());
                    SCOPED_TRACE(std::string(k.name) + " on " + fast::variant_name(variant) +
                                 ", n = " + std::to_string(n) + ", m = " + std::to_string(m));
                    ASSERT_TRUE(fast::same_bits(got.data(), want.data(), out));
                    ASSERT_TRUE(got.fences_intact());
                }
            }
        }
    }
}

// Inputs placed at the very end of a page-sized run of readable memory catch
// a vector load that reaches past the signal or the filter: the fence values
// there would change a result if they were read.
TEST(FastKernels, ReadOnlyTheSignalAndTheFilter) {
    FAST_REQUIRE_VARIANTS();
    for (int variant : fast::runnable_variants()) {
        fast::Pinned pin(variant);
        for (const Kernel &k : kernels) {
            for (int32_t n : {8, 16, 33, 64, 128}) {
                for (int32_t m : {1, 3, 4, 5, 8, 9}) {
                    auto x = fast::random_values(n, 5u + n);
                    const auto f = fast::random_values(m, 9u + m);
                    const size_t out = size_t(n) * k.out_per_in_num / k.out_per_in_den;
                    std::vector<double> want(out), got(out);
                    k.plain(x.data(), n, f.data(), m, want.data());
                    // The same signal with poisoned neighbours on both sides.
                    std::vector<double> fenced(n + 64, std::nan(""));
                    std::copy(x.begin(), x.end(), fenced.begin() + 32);
                    k.entry(fenced.data() + 32, n, f.data(), m, got.data());
                    SCOPED_TRACE(std::string(k.name) + " on " + fast::variant_name(variant) +
                                 ", n = " + std::to_string(n) + ", m = " + std::to_string(m));
                    ASSERT_TRUE(fast::same_bits(got.data(), want.data(), out));
                }
            }
        }
    }
}

// Outputs of 2^21 doubles and more are stored around the caches from the
// first block at a vector boundary on, so every alignment up to the widest
// vector takes its own path.
TEST(FastKernels, LargeOutputsMatchFromAnyStartingAddress) {
    FAST_REQUIRE_VARIANTS();
    for (int variant : fast::runnable_variants()) {
        fast::Pinned pin(variant);
        for (const Kernel &k : kernels) {
            const int32_t n = k.out_per_in_num == 1 ? int32_t{1} << 22 : int32_t{1} << 20;
            const size_t out = size_t(n) * k.out_per_in_num / k.out_per_in_den;
            const auto x = fast::random_values(n, 4242);
            for (int32_t m : {4, 7}) {
                const auto f = fast::random_values(m, 99u + m);
                std::vector<double> want(out);
                k.plain(x.data(), n, f.data(), m, want.data());
                for (size_t alignment : fast::alignments) {
                    fast::Guarded got(out, -7.0, alignment);
                    k.entry(x.data(), n, f.data(), m, got.data());
                    SCOPED_TRACE(std::string(k.name) + " on " + fast::variant_name(variant) +
                                 ", m = " + std::to_string(m) + ", output at " +
                                 std::to_string(alignment) + " bytes");
                    ASSERT_TRUE(fast::same_bits(got.data(), want.data(), out));
                    ASSERT_TRUE(got.fences_intact());
                }
            }
        }
    }
}

// The summed synthesis against its definition: uplo_plain and uphi_plain into
// two signals, then adddouble. The halves sit between NaN neighbours, so a
// read outside either one shows in the result; the output is fenced.
TEST(FastKernels, SummedSynthesisEqualsTheTwoBranchesAddedBitForBit) {
    FAST_REQUIRE_VARIANTS();
    // The last half is long enough for the stores that bypass the caches.
    const int32_t halves[] = {
        1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 23, 31, 32, 33, 64, 100, 257, int32_t{1} << 20};
    for (int variant : fast::runnable_variants()) {
        fast::Pinned pin(variant);
        for (int32_t e : halves) {
            const std::vector<int32_t> taps =
                e > 1000 ? std::vector<int32_t>{4} : std::vector<int32_t>{0, 1, 2, 3, 4, 8, 9, 17};
            for (int32_t m : taps) {
                const auto h = fast::random_values(m, 31u + m);
                const auto g = fast::random_values(m, 57u + m);
                std::vector<double> lo(e + 64, std::nan("")), hi(e + 64, std::nan(""));
                const auto lo_values = fast::random_values(e, 7u * e + m);
                const auto hi_values = fast::random_values(e, 11u * e + m + 1);
                std::copy(lo_values.begin(), lo_values.end(), lo.begin() + 32);
                std::copy(hi_values.begin(), hi_values.end(), hi.begin() + 32);
                const size_t out = 2 * size_t(e);
                std::vector<double> a(out), b(out), want(out);
                uplo_plain(lo_values.data(), e, h.data(), m, a.data());
                uphi_plain(hi_values.data(), e, g.data(), m, b.data());
                adddouble(a.data(), b.data(), int32_t(out), want.data());
                fast::Guarded plain(out, -7.0);
                upsum_plain(lo.data() + 32, hi.data() + 32, e, g.data(), h.data(), m, plain.data());
                ASSERT_TRUE(fast::same_bits(plain.data(), want.data(), out));
                ASSERT_TRUE(plain.fences_intact());
                // A large output streams from its first vector boundary on.
                for (size_t alignment : fast::alignments) {
                    if (e < 1000 && alignment != 16) continue;
                    fast::Guarded got(out, -7.0, alignment);
                    upsum(lo.data() + 32, hi.data() + 32, e, g.data(), h.data(), m, got.data());
                    SCOPED_TRACE("upsum on " + fast::variant_name(variant) +
                                 ", e = " + std::to_string(e) + ", m = " + std::to_string(m) +
                                 ", output at " + std::to_string(alignment) + " bytes");
                    ASSERT_TRUE(fast::same_bits(got.data(), want.data(), out));
                    ASSERT_TRUE(got.fences_intact());
                }
            }
        }
    }
}

TEST(FastKernels, VariantChoice) {
#if defined(WAVELET_EXTENDED_ACCUMULATION)
    EXPECT_EQ(simd_best_variant(), simd_plain);
#else
    // SSE2 on every x86-64 processor, NEON on every arm64 one.
    EXPECT_GT(simd_best_variant(), simd_plain);
#endif
    EXPECT_EQ(simd_variant(), simd_best_variant());
    simd_force_variant(simd_plain);
    EXPECT_EQ(simd_variant(), simd_plain);
    simd_force_variant(99);
    EXPECT_EQ(simd_variant(), simd_best_variant());
    simd_force_variant(-1);
    EXPECT_EQ(simd_variant(), simd_best_variant());
}

} // namespace
