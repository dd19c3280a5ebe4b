// The filtering kernels on small cases worked out by hand: short and long
// filters, empty filters, one-sample signals, one and two taps, and signed
// zeros. Every case runs with its inputs fenced and its output guarded, and
// the outputs must match bit for bit.
#include "kernel_harness.h"
#include "kernels/periodic/periodic.h"

#include <cmath>

namespace {

using harness::Vec;

enum class Op { DownLo, DownHi, UpLo, UpHi };

struct Case {
    const char *name;
    Op op;
    Vec x;
    Vec filter; // h for the lowpass kernels, g for the highpass ones
    Vec want;
};

harness::Kernel kernel_of(Op op) {
    switch (op) {
    case Op::DownLo:
        return downlo;
    case Op::DownHi:
        return downhi;
    case Op::UpLo:
        return uplo;
    case Op::UpHi:
        return uphi;
    }
    return nullptr;
}

size_t out_len(Op op, size_t n) {
    return op == Op::DownLo || op == Op::DownHi ? n / 2 : 2 * n;
}

const double r = 1.0 / std::sqrt(2.0);
const double nz = -0.0;

const Case cases[] = {
    // Lowpass analysis: y[i] = sum_j h[j] x[(2i + j) mod n].
    {"downlo_worked_request", Op::DownLo, {3, 1, 4, 1, 5, 9, 2, 6}, {1, 2, 3, 4}, {21, 57, 53, 27}},
    {"downlo_two_taps", Op::DownLo, {1, 2, 3, 4}, {1, 1}, {3, 7}},
    {"downlo_three_taps_wrap", Op::DownLo, {1, 2, 3, 4}, {1, 2, 3}, {14, 14}},
    {"downlo_halves", Op::DownLo, {1, 2, 3, 4, 5, 6, 7, 8}, {0.5, 0.5}, {1.5, 3.5, 5.5, 7.5}},
    {"downlo_one_tap_even_samples", Op::DownLo, {1, 2, 3, 4}, {3}, {3, 9}},
    {"downlo_n2_reuses_x0", Op::DownLo, {1, 2}, {1, 2, 3}, {8}},
    {"downlo_filter_wraps_twice", Op::DownLo, {1, 2}, {1, 1, 1, 1, 1}, {7}},
    {"downlo_m_equals_n", Op::DownLo, {1, 2, 3, 4}, {1, 2, 3, 4}, {30, 22}},
    {"downlo_m_is_n_plus_1", Op::DownLo, {1, 2, 3, 4}, {1, 1, 1, 1, 1}, {11, 13}},
    {"downlo_m_is_n_plus_2", Op::DownLo, {1, 2, 3, 4}, {1, 1, 1, 1, 1, 1}, {13, 17}},
    {"downlo_m_far_beyond_n", Op::DownLo, {1, 2, 3, 4}, Vec(13, 1.0), {31, 33}},
    {"downlo_empty_filter", Op::DownLo, {1, 2, 3, 4}, {}, {0, 0}},
    {"downlo_n1_writes_nothing", Op::DownLo, {5}, {1, 2, 3}, {}},
    {"downlo_n1_empty_filter", Op::DownLo, {5}, {}, {}},
    {"downlo_negative_zero_taps_sum_to_plus_zero", Op::DownLo, {1, 2, 3, 4}, {nz, nz}, {0, 0}},

    // Highpass analysis: y[i] = sum_j g[j] x[(2i + 1 - j) mod n].
    {"downhi_two_taps", Op::DownHi, {1, 2, 3, 4}, {1, -1}, {1, 1}},
    {"downhi_three_taps_wrap_to_end", Op::DownHi, {1, 2, 3, 4}, {1, -2, 3}, {12, 4}},
    {"downhi_halves", Op::DownHi, {1, 2, 3, 4, 5, 6, 7, 8}, {0.5, -0.5}, {0.5, 0.5, 0.5, 0.5}},
    {"downhi_one_tap_odd_samples", Op::DownHi, {1, 2, 3, 4}, {3}, {6, 12}},
    {"downhi_n2_third_tap_reads_x1", Op::DownHi, {1, 2}, {1, -2, 3}, {6}},
    {"downhi_filter_wraps_twice", Op::DownHi, {1, 2}, {1, -1, 1, -1, 1}, {4}},
    {"downhi_m_is_n_plus_2", Op::DownHi, {1, 2, 3, 4}, {1, 1, 1, 1, 1, 1}, {13, 17}},
    {"downhi_m_far_beyond_n", Op::DownHi, {1, 2, 3, 4}, Vec(13, 1.0), {32, 34}},
    {"downhi_empty_filter", Op::DownHi, {1, 2, 3, 4}, {}, {0, 0}},
    {"downhi_n1_writes_nothing", Op::DownHi, {5}, {1, -2, 3}, {}},
    {"downhi_negative_zero_taps_sum_to_plus_zero", Op::DownHi, {1, 2, 3, 4}, {nz}, {0, 0}},

    // Lowpass synthesis: y[2i] = sum h[2j] x[i-j], y[2i+1] = sum h[2j+1] x[i-j].
    {"uplo_three_taps", Op::UpLo, {1, 2, 3, 4}, {1, 2, 3}, {13, 2, 5, 4, 9, 6, 13, 8}},
    {"uplo_n1_long_filter", Op::UpLo, {5}, {1, 2, 3, 4, 5}, {45, 30}},
    {"uplo_one_tap", Op::UpLo, {1, 2, 3, 4}, {3}, {3, 0, 6, 0, 9, 0, 12, 0}},
    {"uplo_two_taps", Op::UpLo, {1, 2, 3}, {2, 5}, {2, 5, 4, 10, 6, 15}},
    {"uplo_empty_filter", Op::UpLo, {1, 2, 3, 4}, {}, Vec(8, 0.0)},
    {"uplo_haar", Op::UpLo, {1, 2}, {r, r}, {r, r, 2 * r, 2 * r}},
    {"uplo_m_is_2n_plus_1", Op::UpLo, {1, 2}, {1, 1, 1, 1, 1}, {4, 3, 5, 3}},
    {"uplo_negative_zero_taps_sum_to_plus_zero", Op::UpLo, {1, 2}, {nz, nz}, {0, 0, 0, 0}},

    // Highpass synthesis: y[2i+1] = sum g[2j] x[i+j], y[2i] = sum g[2j+1] x[i+j].
    {"uphi_three_taps", Op::UpHi, {1, 2, 3, 4}, {1, 2, 3}, {2, 7, 4, 11, 6, 15, 8, 7}},
    {"uphi_mirrored_three_taps",
     Op::UpHi,
     {1, 2, 3, 4},
     {1, -2, 3},
     {-2, 7, -4, 11, -6, 15, -8, 7}},
    {"uphi_n1_long_filter", Op::UpHi, {5}, {1, 2, 3, 4, 5}, {30, 45}},
    {"uphi_one_tap", Op::UpHi, {1, 2, 3, 4}, {3}, {0, 3, 0, 6, 0, 9, 0, 12}},
    {"uphi_two_taps", Op::UpHi, {1, 2, 3}, {2, 5}, {5, 2, 10, 4, 15, 6}},
    {"uphi_empty_filter", Op::UpHi, {1, 2, 3, 4}, {}, Vec(8, 0.0)},
    {"uphi_m_is_2n_plus_1", Op::UpHi, {1, 2}, {1, 1, 1, 1, 1}, {3, 4, 3, 5}},
    {"uphi_negative_zero_taps_sum_to_plus_zero", Op::UpHi, {1, 2}, {nz, nz}, {0, 0, 0, 0}},
};

void PrintTo(const Case &c, std::ostream *os) {
    *os << c.name;
}

class WorkedExample : public ::testing::TestWithParam<Case> {};

TEST_P(WorkedExample, MatchesBitForBit) {
    const Case &c = GetParam();
    const Vec got = harness::run(kernel_of(c.op), c.x, c.filter, out_len(c.op, c.x.size()));
    EXPECT_TRUE(harness::same_bits(got, c.want));
}

INSTANTIATE_TEST_SUITE_P(Kernels, WorkedExample, ::testing::ValuesIn(cases),
                         [](const auto &info) { return std::string(info.param.name); });

// n = 0 is outside what any caller passes, but the kernels must still stay
// inside their (empty) output buffers.
TEST(EmptySignal, WritesNothing) {
    for (Op op : {Op::DownLo, Op::DownHi, Op::UpLo, Op::UpHi}) {
        SCOPED_TRACE(static_cast<int>(op));
        EXPECT_TRUE(harness::same_bits(harness::run(kernel_of(op), {}, {1, 2, 3}, 0), {}));
    }
}

struct MirrorCase {
    const char *name;
    Vec h;
    Vec want;
};

const MirrorCase mirror_cases[] = {
    {"alternates_from_plus", {1, 2, 3, 4, 5}, {1, -2, 3, -4, 5}},
    {"odd_zero_taps_become_negative_zero", {1, 0, 3, 0}, {1, nz, 3, nz}},
    {"even_negative_zero_stays", {nz, nz}, {nz, 0}},
    {"negative_taps", {-1, -2}, {-1, 2}},
    {"one_tap", {7}, {7}},
    {"empty", {}, {}},
};

void PrintTo(const MirrorCase &c, std::ostream *os) {
    *os << c.name;
}

class Mirror : public ::testing::TestWithParam<MirrorCase> {};

TEST_P(Mirror, AlternatesSignsBitForBit) {
    const MirrorCase &c = GetParam();
    // mirrorfilt(h, g, m) in the harness's (input, length, -, -, output) form.
    const auto adapter = [](const double *h, int32_t m, const double *, int32_t, double *g) {
        mirrorfilt(h, g, m);
    };
    const Vec got = harness::run(adapter, c.h, {}, c.h.size());
    EXPECT_TRUE(harness::same_bits(got, c.want));
}

INSTANTIATE_TEST_SUITE_P(Kernels, Mirror, ::testing::ValuesIn(mirror_cases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
