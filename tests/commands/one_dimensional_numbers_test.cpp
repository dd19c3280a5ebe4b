// The numbers of the one-dimensional commands as a caller meets them through
// the host: bit-for-bit agreement with the plain reference on random inputs
// in every orientation, and perfect reconstruction with orthonormal filters
// at every dyadic length from 2 to 2^14.
#include "command_harness.h"
#include "filters.h"
#include "reference.h"

#include <cmath>
#include <random>

namespace {

using cmd::Value;
using cmd::Vec;

using bitwise::random_vec;

// The signal argument in one of three orientations: a row, a column, or the
// first column of a matrix with junk in its other columns.
Value signal_arg(const Vec &x, int orientation, std::mt19937_64 &rng) {
    switch (orientation % 3) {
    case 0:
        return Value::row(x);
    case 1:
        return Value::column(x);
    default: {
        if (x.size() == 1) return Value::scalar(x[0]);
        Vec data = x;
        const Vec junk = random_vec(rng, 2 * x.size());
        data.insert(data.end(), junk.begin(), junk.end());
        return Value::matrix(x.size(), 3, data);
    }
    }
}

// The filter argument: its taps in storage order, whatever its shape.
Value filter_arg(const Vec &h, int shape) {
    if (shape % 3 == 1) return Value::column(h);
    if (shape % 3 == 2 && h.size() % 2 == 0 && !h.empty()) return Value::matrix(2, h.size() / 2, h);
    return Value::row(h);
}

struct Expected {
    const char *command;
    Vec (*reference)(const Vec &x, const Vec &h);
};

const Expected expectations[] = {
    {"SinkCoarse", [](const Vec &x, const Vec &h) { return ref::downlo(x, h); }},
    {"SinkDetail", [](const Vec &x, const Vec &h) { return ref::downhi(x, ref::mirror(h)); }},
    {"RaiseCoarse", [](const Vec &x, const Vec &h) { return ref::uplo(x, h); }},
    {"RaiseDetail", [](const Vec &x, const Vec &h) { return ref::uphi(x, ref::mirror(h)); }},
};

void PrintTo(const Expected &e, std::ostream *os) {
    *os << e.command;
}

class AgreesWithReference : public ::testing::TestWithParam<Expected> {};

TEST_P(AgreesWithReference, BitForBitOnRandomInputs) {
    const Expected &e = GetParam();
    std::mt19937_64 rng(0x5eed0101);
    int turn = 0;
    for (size_t n = 1; n <= 1024; n *= 2) {
        for (size_t m = 0; m <= 13; ++m, ++turn) {
            SCOPED_TRACE("n = " + std::to_string(n) + ", m = " + std::to_string(m));
            const Vec x = random_vec(rng, n);
            const Vec h = random_vec(rng, m);
            const auto out =
                cmd::call(e.command, 1, {signal_arg(x, turn, rng), filter_arg(h, turn / 3)});
            cmd::expect_clean(out);
            ASSERT_TRUE(cmd::same_bits(cmd::result_of(out).re, e.reference(x, h)));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, AgreesWithReference, ::testing::ValuesIn(expectations),
                         [](const auto &info) { return std::string(info.param.command); });

using filters::Orthonormal;

class Reconstruction : public ::testing::TestWithParam<Orthonormal> {};

// RaiseCoarse(SinkCoarse(x, h), h) + RaiseDetail(SinkDetail(x, h), h) = x,
// including the short lengths where the filter is longer than the halves.
TEST_P(Reconstruction, AnalysisThenSynthesisGivesTheSignalBack) {
    const Vec &h = GetParam().h;
    std::mt19937_64 rng(0x5eed0102);
    for (int j = 1; j <= 14; ++j) {
        const size_t n = size_t{1} << j;
        SCOPED_TRACE("n = " + std::to_string(n));
        const Vec x = random_vec(rng, n);
        // Alternate rows and columns; every result keeps the orientation.
        const auto arg = [j](const Vec &v) { return j % 2 ? Value::row(v) : Value::column(v); };
        const Value coarse = cmd::result_of(cmd::call("SinkCoarse", 1, {arg(x), Value::row(h)}));
        const Value detail = cmd::result_of(cmd::call("SinkDetail", 1, {arg(x), Value::row(h)}));
        const Value low = cmd::result_of(cmd::call("RaiseCoarse", 1, {coarse, Value::row(h)}));
        const Value high = cmd::result_of(cmd::call("RaiseDetail", 1, {detail, Value::row(h)}));
        ASSERT_EQ(low.re.size(), n);
        ASSERT_EQ(high.re.size(), n);
        EXPECT_EQ(low.rows, j % 2 ? 1u : n);
        double largest = 0.0, worst = 0.0;
        for (size_t i = 0; i < n; ++i) {
            largest = std::max(largest, std::fabs(x[i]));
            worst = std::max(worst, std::fabs(low.re[i] + high.re[i] - x[i]));
        }
        EXPECT_LE(worst, 1e-12 * largest);
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, Reconstruction, ::testing::ValuesIn(filters::orthonormal),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
