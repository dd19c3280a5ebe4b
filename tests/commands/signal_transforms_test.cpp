// SiftSignal_WR and MeldSignal_WR through the stand-in host: every result bit
// for bit against loops of the one-level commands, the messages and their
// order, the arrays a call leaves behind, and the round trip.
#include "command_harness.h"
#include "filters.h"

#include "kernels/simd/simd.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using cmd::Outcome;
using cmd::Value;
using cmd::Vec;

// The coarse level the commands take from their level argument.
int64_t rounded(double level) {
    return static_cast<int64_t>(std::floor(level + 0.5));
}

// One level of a one-level command on a column.
Vec one_level(const char *command, const Vec &x, const Vec &h) {
    return cmd::result_of(cmd::call(command, 1, {Value::column(x), Value::row(h)})).re;
}

// The forward transform of one signal as a user writes it: SinkCoarse and
// SinkDetail level by level, details laid out finest last.
Vec sift_by_loop(const Vec &x, int64_t L, const Vec &h) {
    Vec w = x;
    const uint64_t stop = uint64_t{1} << std::clamp<int64_t>(L, 0, 62);
    for (size_t len = x.size(); len >= 2 && len > stop; len /= 2) {
        const Vec c(w.begin(), w.begin() + static_cast<ptrdiff_t>(len));
        const Vec lo = one_level("SinkCoarse", c, h), hi = one_level("SinkDetail", c, h);
        std::copy(lo.begin(), lo.end(), w.begin());
        std::copy(hi.begin(), hi.end(), w.begin() + static_cast<ptrdiff_t>(len / 2));
    }
    return w;
}

// The inverse: RaiseCoarse(c) + RaiseDetail(d) level by level.
Vec meld_by_loop(const Vec &w, int64_t L, const Vec &h) {
    Vec x = w;
    if ((uint64_t{1} << std::clamp<int64_t>(L, 0, 62)) >= w.size()) return x;
    for (size_t e = size_t{1} << std::max<int64_t>(L, 0); e < w.size(); e *= 2) {
        const Vec c(x.begin(), x.begin() + static_cast<ptrdiff_t>(e));
        const Vec d(x.begin() + static_cast<ptrdiff_t>(e),
                    x.begin() + static_cast<ptrdiff_t>(2 * e));
        const Vec lo = one_level("RaiseCoarse", c, h), hi = one_level("RaiseDetail", d, h);
        for (size_t i = 0; i < 2 * e; ++i) x[i] = lo[i] + hi[i];
    }
    return x;
}

struct Command {
    const char *name;
    Vec (*by_loop)(const Vec &, int64_t, const Vec &);
};
const Command signal_commands[] = {{"SiftSignal_WR", sift_by_loop},
                                   {"MeldSignal_WR", meld_by_loop}};

// A call that must succeed and leave nothing behind: the work and mirror
// arrays destroyed by the gateway, nothing for the host to free, no misuse.
Value checked_result(const Command &c, const std::vector<Value> &args, const std::string &where) {
    const Outcome out = cmd::call(c.name, 1, args);
    EXPECT_TRUE(out.freed_by_host.empty()) << where;
    EXPECT_TRUE(out.faults.empty()) << where << ": " << (out.faults.empty() ? "" : out.faults[0]);
    EXPECT_EQ(out.leaked, 0u) << where;
    for (const Value &r : out.results)
        for (double v : r.re) EXPECT_NE(cmd::bits(v), cmd::host_unwritten) << where;
    return cmd::result_of(out);
}

// Rows, columns and matrices of signals of 1 to 2^13 samples; filters of 0
// to 20 taps and longer than the signal; levels from -2 to J + 1, halves
// included: each result is the loop of one-level commands, column by column.
TEST(SignalTransforms, AgreeBitForBitWithLoopsOfTheOneLevelCommands) {
    uint64_t seed = 1;
    // Up to 2^13 samples, where the vector kernels run their long loops; the
    // plain loops take no other path beyond 2^9 (a build without vector
    // variants runs them under an emulator, at a fiftieth of the speed).
    const int largest = simd_best_variant() == simd_plain ? 9 : 13;
    for (int J = 0; J <= largest; ++J) {
        const size_t n = size_t{1} << J;
        // Every level of the small sizes; the edges and the middle of the others.
        std::vector<double> levels = {-2, -0.5, 0.49, 1.5, J / 2.0, J - 1.0, J + 0.0, J + 1.0};
        if (J <= 4)
            for (int L = 0; L <= J; ++L) levels.push_back(L);
        std::vector<size_t> taps = {0, 1, 2, 3, 4, 7, 8, 13, 20, n + 3, 2 * n + 5};
        // Long filters too.
        if (J > 8) taps = {0, 4, 7, 20, 255, 257};
        size_t k = 0;
        for (size_t m : taps)
            for (double level : levels) {
                // Shapes in turn: a row, a column, a matrix of three signals.
                const size_t shape = k++ % 3;
                const size_t rows = shape == 0 ? 1 : n, cols = shape == 0 ? n : shape == 1 ? 1 : 3;
                if ((J > 8 || n == 1) && shape == 2) continue;
                const Vec x = bitwise::random_values(rows * cols, seed++);
                const Vec h = bitwise::random_values(m, seed++);
                for (const Command &c : signal_commands) {
                    const std::string where = std::string(c.name) + " " + std::to_string(rows) +
                                              "x" + std::to_string(cols) + " taps " +
                                              std::to_string(m) + " level " + std::to_string(level);
                    const Value got = checked_result(
                        c, {Value::matrix(rows, cols, x), Value::scalar(level), Value::row(h)},
                        where);
                    ASSERT_EQ(got.rows, rows) << where;
                    ASSERT_EQ(got.cols, cols) << where;
                    Vec want;
                    for (size_t s = 0; s < (rows == 1 ? 1 : cols); ++s) {
                        const Vec signal(x.begin() + static_cast<ptrdiff_t>(s * n),
                                         x.begin() + static_cast<ptrdiff_t>((s + 1) * n));
                        const Vec w = c.by_loop(signal, rounded(level), h);
                        want.insert(want.end(), w.begin(), w.end());
                    }
                    ASSERT_TRUE(cmd::same_bits(got.re, want)) << where;
                }
            }
    }
}

// With an orthonormal filter the inverse undoes the forward transform at
// every level, a row and the columns of a matrix alike.
TEST(SignalTransforms, MeldUndoesSift) {
    for (const auto &f : filters::orthonormal)
        for (const size_t rows : {size_t{1}, size_t{64}})
            for (int L = -1; L <= 7; ++L) {
                const size_t cols = rows == 1 ? 64 : 5;
                const Vec x = bitwise::random_values(rows * cols, 7 + static_cast<uint64_t>(L));
                const std::string where = std::string(f.name) + " level " + std::to_string(L);
                const Value level = Value::scalar(L);
                const Value w =
                    checked_result(signal_commands[0],
                                   {Value::matrix(rows, cols, x), level, Value::row(f.h)}, where);
                const Value back = checked_result(
                    signal_commands[1], {Value::matrix(rows, cols, w.re), level, Value::row(f.h)},
                    where);
                ASSERT_EQ(back.re.size(), x.size()) << where;
                for (size_t i = 0; i < x.size(); ++i)
                    ASSERT_NEAR(back.re[i], x[i], 1e-11) << where << ", element " << i;
            }
}

// The checks in order, each with its message, and nothing created when one
// fails; a matrix with no columns holds no signal and gives an empty result.
TEST(SignalTransforms, ChecksInOrder) {
    const Value h = Value::row({1, 1});
    const Value level = Value::scalar(0);
    struct Case {
        const char *what;
        int nlhs;
        std::vector<Value> args;
        const char *suffix; // after the command's name; nullptr for success
    };
    const Case cases[] = {
        {"two arguments", 1, {Value::row({1, 2}), level}, " requires 3 input arguments."},
        {"four arguments", 1, {Value::row({1, 2}), level, h, h}, " requires 3 input arguments."},
        {"four arguments, no result",
         0,
         {Value::row({1}), level, h, h},
         " requires 3 input arguments."},
        {"no result", 0, {Value::row({1, 2}), level, h}, " requires one output argument."},
        {"two results, 1-by-6",
         2,
         {Value::row(Vec(6)), level, h},
         " requires one output argument."},
        {"1-by-6", 1, {Value::row(Vec(6)), level, h}, " requires dyadic length"},
        {"6-by-2", 1, {Value::matrix(6, 2, Vec(12)), level, h}, " requires dyadic length"},
        {"1-by-0", 1, {Value::empty(1, 0), level, h}, " requires dyadic length"},
        {"0-by-0", 1, {Value::empty(), level, h}, " requires dyadic length"},
        {"0-by-4", 1, {Value::empty(0, 4), level, h}, " requires dyadic length"},
        {"2^30-by-2",
         1,
         {Value::phantom(size_t{1} << 30, 2), level, h},
         " requires fewer than 2^31 elements"},
        {"2^16-by-2^15",
         1,
         {Value::phantom(size_t{1} << 16, size_t{1} << 15), level, h},
         " requires fewer than 2^31 elements"},
        {"2^31-by-1",
         1,
         {Value::phantom(size_t{1} << 31, 1), level, h},
         " requires signals of at most 2^30 samples"},
        {"4-by-0", 1, {Value::empty(4, 0), level, h}, nullptr},
    };
    for (const Command &c : signal_commands)
        for (const Case &k : cases) {
            const std::string where = std::string(c.name) + ": " + k.what;
            const Outcome out = cmd::call(c.name, k.nlhs, k.args);
            if (!k.suffix) {
                EXPECT_TRUE(out.ok) << where << ": " << out.message;
                ASSERT_EQ(out.results.size(), 1u) << where;
                EXPECT_EQ(out.results[0].rows, k.args[0].rows) << where;
                EXPECT_EQ(out.results[0].cols, k.args[0].cols) << where;
                continue;
            }
            EXPECT_FALSE(out.ok) << where;
            EXPECT_EQ(out.message, std::string(c.name) + k.suffix) << where;
            for (const auto &op : out.ops) EXPECT_NE(op.what, "create") << where;
            EXPECT_EQ(out.leaked, 0u) << where;
        }
}

} // namespace
