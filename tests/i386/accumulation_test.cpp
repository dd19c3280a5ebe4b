// The accumulation rule of this platform's modules, and inputs on which the
// two rules part.
//
// The i386 Linux modules carry every tap product and running sum (and the
// sums of adddouble) in x87 80-bit extended precision and round to double
// once, at the store; every other build rounds each product and each sum to
// double. The same program is built for both, so each build is held to its
// own rule: bit for bit against the reference of its platform on random
// inputs, and on hand-worked inputs whose last bits depend on the rule.
#include "bitwise.h"
#include "build_paths.h"
#include "kernels/simd/accumulator.h"
#include "reference.h"
#include "transform2d/transform2d.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using standin::Module;
using standin::Value;
using Vec = std::vector<double>;

constexpr bool extended = sizeof(accum_t) > sizeof(double);

using bitwise::same_bits;

std::string show(const Vec &v) {
    std::string s;
    char buf[40];
    for (double x : v) {
        std::snprintf(buf, sizeof buf, "%s%a", s.empty() ? "" : " ", x);
        s += buf;
    }
    return s;
}

Vec call(const std::string &command, const std::vector<Value> &args) {
    const Module module(command_module(command));
    EXPECT_TRUE(module.has_gateway()) << command << ": " << module.load_error();
    if (!module.has_gateway()) return {};
    const auto out = module.call(1, args);
    EXPECT_TRUE(out.ok) << command << ": " << out.message;
    EXPECT_EQ(out.leaked, 0u) << command;
    return out.ok && !out.results.empty() ? out.results[0].re : Vec{};
}

TEST(AccumulationRule, ExtendedExactlyOnI386) {
#if defined(__i386__)
    EXPECT_TRUE(extended) << "the i386 build must accumulate in long double";
    EXPECT_EQ(LDBL_MANT_DIG, 64); // x87 extended: a 64-bit significand
    // The x87 precision control must be at 64-bit significands, or long
    // double sums would silently round to 53 bits.
    unsigned short control = 0;
    __asm__ volatile("fnstcw %0" : "=m"(control));
    EXPECT_EQ(control & 0x300, 0x300) << std::hex << control;
    // Plain double arithmetic must not be carried in x87 registers.
    volatile double one = 1.0, tiny = 0x1p-53;
    EXPECT_EQ(one + tiny + tiny, 1.0);
#else
    EXPECT_FALSE(extended);
#endif
}

// e = 2^-53 is half an ulp of 1: 1 + e + e is 1 when every sum is rounded to
// double (each addition ties to even), but 1 + 2^-52 when the sum is carried
// exactly and rounded once.
constexpr double e = 0x1p-53;
constexpr double up = 1 + 0x1p-52;

struct RuleCase {
    const char *command;
    Vec x, h;
    Vec when_extended, when_double;
};

TEST(AccumulationRule, CommandsFollowTheirBuildsRuleWhereTheRulesPart) {
    const std::vector<RuleCase> cases = {
        // y[i] = x[2i] + x[2i+1] + x[2i+2] + x[2i+3]
        {"SinkCoarse", {1, e, e, 0}, {1, 1, 1, 1}, {up, up}, {1, 1}},
        // mirror of (1,-1,1,-1) is all ones: d[i] = x[2i+1] + x[2i] + x[2i-1] + x[2i-2]
        {"SinkDetail", {1, e, e, 0}, {1, -1, 1, -1}, {up, 0x1p-52 + 1}, {1, 0x1p-52 + 1}},
        // y[2i] = y[2i+1] = x[i] + x[i-1] + x[i-2], six taps over four samples
        {"RaiseCoarse",
         {1, 0, e, e},
         {1, 1, 1, 1, 1, 1},
         {up, up, 1, 1, 1, 1, 0x1p-52, 0x1p-52},
         {1, 1, 1, 1, 1, 1, 0x1p-52, 0x1p-52}},
        // mirror is all ones: y[2i+1] = y[2i] = x[i] + x[i+1] + x[i+2]
        {"RaiseDetail",
         {1, e, e, 0},
         {1, -1, 1, -1, 1, -1},
         {up, up, 0x1p-52, 0x1p-52, 1, 1, 1, 1},
         {1, 1, 0x1p-52, 0x1p-52, 1, 1, 1, 1}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.command);
        // The input really separates the rules.
        ASSERT_FALSE(same_bits(c.when_extended, c.when_double));
        const Vec got = call(c.command, {Value::row(c.x), Value::row(c.h)});
        const Vec &want = extended ? c.when_extended : c.when_double;
        EXPECT_TRUE(same_bits(got, want)) << "got " << show(got) << "\nwant " << show(want);
    }
}

TEST(AccumulationRule, AdddoubleRoundsItsSumOnceFromItsOwnPrecision) {
    // 1 + (2^-53 + 2^-105): correctly rounded to double it is 1 + 2^-52, but
    // rounded first to the 64-bit significand it becomes 1 + 2^-53, a tie,
    // which then rounds to even: 1. The i386 rule gives the latter.
    const Vec a = {1, -1, 0x1p-53};
    const Vec b = {0x1p-53 + 0x1p-105, -(0x1p-53 + 0x1p-105), 1};
    const Vec when_extended = {1, -1, 1};
    const Vec when_double = {up, -up, 1};
    Vec z(3);
    adddouble(a.data(), b.data(), 3, z.data());
    EXPECT_TRUE(same_bits(z, extended ? when_extended : when_double)) << show(z);
    EXPECT_TRUE(same_bits(z, ref::add(a, b))) << show(z);
}

// Random signals and filters through every command, against the reference
// of this platform, bit for bit.
TEST(AccumulationRule, CommandsMatchThePlatformReferenceBitForBit) {
    std::mt19937_64 rng(20260808);
    std::uniform_real_distribution<double> value(-1, 1);
    std::uniform_int_distribution<int> taps(0, 11);
    auto random = [&](size_t n) {
        Vec v(n);
        // Mixed magnitudes make the rounding of every partial sum matter.
        for (auto &x : v) x = value(rng) * std::ldexp(1.0, static_cast<int>(rng() % 40) - 20);
        return v;
    };
    struct OneD {
        const char *command;
        std::function<Vec(const Vec &, const Vec &)> reference;
    };
    const std::vector<OneD> one_d = {
        {"SinkCoarse", [](const Vec &x, const Vec &h) { return ref::downlo(x, h); }},
        {"SinkDetail", [](const Vec &x, const Vec &h) { return ref::downhi(x, ref::mirror(h)); }},
        {"RaiseCoarse", [](const Vec &x, const Vec &h) { return ref::uplo(x, h); }},
        {"RaiseDetail", [](const Vec &x, const Vec &h) { return ref::uphi(x, ref::mirror(h)); }},
    };
    for (const auto &c : one_d) {
        for (int32_t n : {1, 2, 4, 8, 32, 128}) {
            for (int trial = 0; trial < 6; ++trial) {
                const Vec x = random(n), h = random(taps(rng));
                SCOPED_TRACE(std::string(c.command) + " n=" + std::to_string(n) +
                             " m=" + std::to_string(h.size()));
                const Vec got = call(c.command, {Value::row(x), Value::row(h)});
                const Vec want = c.reference(x, h);
                EXPECT_TRUE(same_bits(got, want)) << "got " << show(got) << "\nwant " << show(want);
            }
        }
    }
    for (int32_t n : {1, 2, 4, 16, 32}) {
        for (int level : {-1, 0, 1, 3}) {
            const Vec grid = random(static_cast<size_t>(n) * n), h = random(1 + taps(rng));
            SCOPED_TRACE("n=" + std::to_string(n) + " level=" + std::to_string(level) +
                         " m=" + std::to_string(h.size()));
            const Vec w = call("SiftGrid_WR",
                               {Value::matrix(n, n, grid), Value::scalar(level), Value::row(h)});
            EXPECT_TRUE(same_bits(w, ref::forward2d(grid, n, level, h)));
            const Vec x = call("MeldGrid_WR",
                               {Value::matrix(n, n, grid), Value::scalar(level), Value::row(h)});
            EXPECT_TRUE(same_bits(x, ref::inverse2d(grid, n, level, h)));
        }
    }
}

} // namespace
