// SiftGrid_WR and MeldGrid_WR through the stand-in host: messages and the
// order of the checks, the host operations of a successful call, the rounding
// of the level, filter shapes, agreement with the plain reference and the
// round trip.
#include "build_paths.h"
#include "grid_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <limits>
#include <string>

namespace {

using grid_test::Vec;
using standin::Module;
using standin::Outcome;
using standin::Value;

struct Command {
    const char *name;
    int32_t work_columns;
    const char *messages[4]; // arguments, results, square, dyadic
    Vec (*reference)(Vec, int64_t, int64_t, const Vec &);
};

const Command sift = {
    "SiftGrid_WR",
    3,
    {"SiftGrid_WR requires 3 input arguments.", "SiftGrid_WR requires one output argument.",
     "SiftGrid_WR requires a square array", "SiftGrid_WR requires dyadic length sides"},
    ref::forward2d};
const Command meld = {
    "MeldGrid_WR",
    4,
    {"MeldGrid_WR requires 3 input arguments.", "MeldGrid_WR requires one output argument.",
     "MeldGrid_WR requires a square array", "MeldGrid requires dyadic length sides"},
    ref::inverse2d};
const Command *const both[] = {&sift, &meld};

Value grid_value(const Vec &x, int32_t n) {
    return Value::matrix(n, n, x);
}

// Calls the command and checks what every call must leave: no host misuse,
// nothing alive afterwards, and nothing for the host to free: a failed call
// created nothing, a successful one destroyed its work and mirror arrays.
Outcome call(const Module &module, int nlhs, const std::vector<Value> &args) {
    Outcome out = module.call(nlhs, args);
    EXPECT_TRUE(out.freed_by_host.empty())
        << out.freed_by_host.size() << " arrays left to the host, "
        << (out.ok ? "after success" : out.message);
    EXPECT_TRUE(out.faults.empty()) << (out.faults.empty() ? "" : out.faults.front());
    EXPECT_EQ(out.leaked, 0u);
    return out;
}

// The n-by-n result of a successful call, or an empty vector.
Vec result_of(const Outcome &out, int32_t n) {
    if (!out.ok || out.results.size() != 1 || out.results[0].rows != static_cast<size_t>(n) ||
        out.results[0].cols != static_cast<size_t>(n))
        return {};
    return out.results[0].re;
}

class GridCommand : public ::testing::Test {
  protected:
    const Module &module(const Command &c) { return c.work_columns == 3 ? sift_ : meld_; }
    void SetUp() override {
        ASSERT_TRUE(sift_.has_gateway()) << sift_.load_error();
        ASSERT_TRUE(meld_.has_gateway()) << meld_.load_error();
    }
    Module sift_{command_module("SiftGrid_WR")};
    Module meld_{command_module("MeldGrid_WR")};
};

TEST_F(GridCommand, ChecksInOrderAndCreateNothingWhenOneFails) {
    struct Case {
        const char *what;
        int nlhs;
        size_t nargs; // arguments passed
        size_t rows;  // shape of the grid argument
        size_t cols;
        int message; // index of the expected message, -1 for success
    };
    const Case cases[] = {
        {"two arguments", 1, 2, 2, 2, 0},
        {"four arguments", 1, 4, 2, 2, 0},
        {"no arguments, no result", 0, 0, 2, 2, 0},
        {"two arguments, two results", 2, 2, 3, 5, 0},
        {"no result requested", 0, 3, 2, 2, 1},
        {"two results requested", 2, 3, 2, 2, 1},
        {"two results and a bad grid", 2, 3, 3, 5, 1},
        {"2-by-4", 1, 3, 2, 4, 2},
        {"3-by-5: square before dyadic", 1, 3, 3, 5, 2},
        {"0-by-4", 1, 3, 0, 4, 2},
        {"4-by-1", 1, 3, 4, 1, 2},
        {"3-by-3", 1, 3, 3, 3, 3},
        {"6-by-6", 1, 3, 6, 6, 3},
        {"0-by-0", 1, 3, 0, 0, 3},
        {"1-by-1 passes", 1, 3, 1, 1, -1},
        {"2-by-2 passes", 1, 3, 2, 2, -1},
    };
    for (const Command *c : both) {
        for (const auto &k : cases) {
            std::vector<Value> args = {Value::matrix(k.rows, k.cols, Vec(k.rows * k.cols, 1.0)),
                                       Value::scalar(0), Value::row({1, 1})};
            args.resize(k.nargs, Value::scalar(0));
            const Outcome out = call(module(*c), k.nlhs, args);
            const std::string where = std::string(c->name) + ": " + k.what;
            if (k.message < 0) {
                EXPECT_TRUE(out.ok) << where << ": " << out.message;
                continue;
            }
            EXPECT_FALSE(out.ok) << where;
            EXPECT_EQ(out.message, c->messages[k.message]) << where;
            EXPECT_TRUE(out.results.empty()) << where;
            EXPECT_TRUE(out.freed_by_host.empty()) << where;
            for (const auto &op : out.ops) {
                EXPECT_NE(op.what, "create") << where;
                EXPECT_NE(op.what, "Pr") << where;
            }
        }
    }
}

// The record of a successful call: the shape of the grid read first; then,
// before anything is created, nothing but queries of the arguments; from the
// creation of the result on, exactly this sequence: the result into plhs[0]
// at once, the work array, the data, the filter size, the mirror, and last
// the work array and the mirror destroyed.
TEST_F(GridCommand, SuccessfulCallMakesTheseHostOperationsInOrder) {
    struct Expected {
        std::string what, array;
        int64_t rows, cols;
    };
    const std::string queries[] = {"M", "N", "Pr", "IsDouble", "IsComplex", "IsSparse"};
    for (const Command *c : both) {
        for (int32_t n : {1, 4, 16}) {
            for (size_t fr : {0, 1, 3}) {
                const size_t fc = 2;
                const int64_t m = static_cast<int64_t>(fr * fc);
                const Outcome out =
                    call(module(*c), 1,
                         {grid_value(Vec(static_cast<size_t>(n) * n, 1.0), n), Value::row({1, 7}),
                          Value::matrix(fr, fc, Vec(fr * fc, 0.5))});
                const std::string where =
                    std::string(c->name) + ", n " + std::to_string(n) + ", m " + std::to_string(m);
                ASSERT_TRUE(out.ok) << where << ": " << out.message;
                const std::vector<Expected> from_result = {
                    {"create", "#1", n, n},  {"create", "#2", n, c->work_columns},
                    {"Pr", "#1", 0, 0},      {"Pr", "#2", 0, 0},
                    {"Pr", "prhs[0]", 0, 0}, {"Pr", "prhs[1]", 0, 0},
                    {"Pr", "prhs[2]", 0, 0}, {"M", "prhs[2]", 0, 0},
                    {"N", "prhs[2]", 0, 0},  {"create", "#3", m, 1},
                    {"Pr", "#3", 0, 0},      {"destroy", "#2", 0, 0},
                    {"destroy", "#3", 0, 0},
                };
                ASSERT_GE(out.ops.size(), 2 + from_result.size()) << where;
                EXPECT_EQ(out.ops[0].what + " " + out.ops[0].array, "M prhs[0]") << where;
                EXPECT_EQ(out.ops[1].what + " " + out.ops[1].array, "N prhs[0]") << where;
                const size_t first = out.ops.size() - from_result.size();
                for (size_t i = 2; i < first; ++i) {
                    const auto &op = out.ops[i];
                    EXPECT_NE(std::find(std::begin(queries), std::end(queries), op.what),
                              std::end(queries))
                        << where << ", op " << i << " " << op.what << " before the result";
                    EXPECT_EQ(op.array.rfind("prhs[", 0), 0u) << where << ", op " << i;
                }
                for (size_t i = 0; i < from_result.size(); ++i) {
                    const auto &op = out.ops[first + i];
                    EXPECT_EQ(op.what, from_result[i].what) << where << ", op " << first + i;
                    EXPECT_EQ(op.array, from_result[i].array) << where << ", op " << first + i;
                    if (op.what == "create") {
                        EXPECT_EQ(op.rows, from_result[i].rows) << where << ", op " << first + i;
                        EXPECT_EQ(op.cols, from_result[i].cols) << where << ", op " << first + i;
                    }
                    // The result sits in plhs[0] from the operation after its creation on.
                    EXPECT_EQ(op.plhs0, i == 0 ? "" : "#1") << where << ", op " << first + i;
                }
                EXPECT_TRUE(out.freed_by_host.empty()) << where;
                EXPECT_EQ(result_of(out, n).size(), static_cast<size_t>(n) * n) << where;
            }
        }
    }
}

// The level is floor(x + 0.5) of the first element.
TEST_F(GridCommand, RoundsTheLevel) {
    struct Case {
        Value level;
        int64_t L;
    };
    const Case cases[] = {
        {Value::scalar(0.5), 1},
        {Value::scalar(2.49), 2},
        {Value::scalar(-0.5), 0},
        {Value::scalar(-1.5), -1},
        {Value::scalar(1.5), 2},
        {Value::scalar(-0.49), 0},
        {Value::scalar(0.49999999999999994), 1}, // x + 0.5 rounds to 1 before the floor
        {Value::row({2.49, 0.5, 7}), 2},
        {Value::column({0.7, 2}), 1},
        {Value::matrix(2, 2, {1.2, 3, 0, 0}), 1},
        {Value::scalar(-2147483648.0), INT32_MIN},
        {Value::scalar(-2147483648.4), INT32_MIN},
        {Value::scalar(2147483647.4), INT32_MAX},
    };
    std::mt19937_64 rng(5);
    const int32_t n = 8;
    const Vec x = grid_test::random_vec(rng, 64);
    for (const Command *c : both) {
        for (const auto &k : cases) {
            const Outcome out =
                call(module(*c), 1, {grid_value(x, n), k.level, Value::row(grid_test::daub4)});
            EXPECT_TRUE(
                grid_test::same_bits(result_of(out, n), c->reference(x, n, k.L, grid_test::daub4)))
                << c->name << ", level " << k.level.re[0] << " should act as " << k.L << ": "
                << out.message;
        }
    }
}

// A level that does not round into the 32-bit range never runs a wrong or
// unsafe transform: the call is either refused with the command's message,
// or runs as the nearest end of the range (no level above, level 0 below).
TEST_F(GridCommand, LevelsBeyondThirtyTwoBitsAreRefusedOrSaturate) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double level;
        int64_t L; // the saturated level
    };
    const Case cases[] = {
        {2147483647.5, INT32_MAX},
        {1e10, INT32_MAX},
        {inf, INT32_MAX},
        {-2147483649.0, INT32_MIN},
        {-1e10, INT32_MIN},
        {-inf, INT32_MIN},
        {std::numeric_limits<double>::quiet_NaN(), INT32_MIN},
    };
    std::mt19937_64 rng(6);
    const int32_t n = 4;
    const Vec x = grid_test::random_vec(rng, 16);
    for (const Command *c : both) {
        for (const auto &k : cases) {
            const Outcome out =
                call(module(*c), 1,
                     {grid_value(x, n), Value::scalar(k.level), Value::row(grid_test::haar)});
            if (out.ok) {
                EXPECT_TRUE(grid_test::same_bits(result_of(out, n),
                                                 c->reference(x, n, k.L, grid_test::haar)))
                    << c->name << ", level " << k.level;
            } else {
                EXPECT_EQ(out.message.rfind(std::string(c->name) + " requires ", 0), 0u)
                    << c->name << ", level " << k.level << ": " << out.message;
                EXPECT_TRUE(out.freed_by_host.empty()) << c->name << ", level " << k.level;
            }
        }
    }
}

TEST_F(GridCommand, FilterShapeDoesNotMatter) {
    std::mt19937_64 rng(9);
    const int32_t n = 16;
    const Vec x = grid_test::random_vec(rng, 256);
    const Vec h = grid_test::random_vec(rng, 6);
    const Value shapes[] = {Value::row(h), Value::column(h), Value::matrix(2, 3, h),
                            Value::matrix(3, 2, h)};
    for (const Command *c : both) {
        const Vec expected = c->reference(x, n, 1, h);
        for (const auto &shape : shapes) {
            const Outcome out = call(module(*c), 1, {grid_value(x, n), Value::scalar(1), shape});
            EXPECT_TRUE(grid_test::same_bits(result_of(out, n), expected))
                << c->name << ", filter " << shape.rows << "-by-" << shape.cols;
        }
    }
}

// An empty filter zeroes every level it runs; with no level to run, the grid
// comes back unchanged; a 1-by-1 grid never runs a level.
TEST_F(GridCommand, EmptyFiltersAndTrivialGrids) {
    std::mt19937_64 rng(13);
    const Value empties[] = {Value::empty(0, 0), Value::empty(1, 0), Value::empty(0, 1)};
    for (const Command *c : both) {
        for (int32_t n : {2, 8}) {
            const int32_t J = grid_test::exponent_of(n);
            const Vec x = grid_test::random_vec(rng, static_cast<size_t>(n) * n);
            for (const auto &h : empties) {
                for (int32_t L : {-1, 0, J - 1}) {
                    const Vec w =
                        result_of(call(module(*c), 1, {grid_value(x, n), Value::scalar(L), h}), n);
                    EXPECT_TRUE(grid_test::same_bits(w, Vec(x.size(), 0.0)))
                        << c->name << ", n " << n << ", L " << L;
                }
                const Vec same =
                    result_of(call(module(*c), 1, {grid_value(x, n), Value::scalar(J), h}), n);
                EXPECT_TRUE(grid_test::same_bits(same, x)) << c->name << ", n " << n;
            }
        }
        for (double level : {-3.0, 0.0, 2.0}) {
            const Vec w = result_of(
                call(module(*c), 1,
                     {Value::scalar(-2.5), Value::scalar(level), Value::row(grid_test::daub8)}),
                1);
            EXPECT_EQ(w, (Vec{-2.5})) << c->name << ", level " << level;
        }
    }
}

// Random grids, filters of 0..12 taps and every level: both commands return
// what the reference computes, bit for bit.
TEST_F(GridCommand, MatchReferenceBitForBit) {
    std::mt19937_64 rng(17);
    for (const Command *c : both) {
        for (int32_t n = 1; n <= 32; n *= 2) {
            const int32_t J = grid_test::exponent_of(n);
            for (size_t m = 0; m <= 12; ++m) {
                const Vec x = grid_test::random_vec(rng, static_cast<size_t>(n) * n);
                const Vec h = grid_test::random_vec(rng, m);
                std::vector<int64_t> levels = {INT32_MIN};
                for (int64_t L = -2; L <= J + 1; ++L) levels.push_back(L);
                for (int64_t L : levels) {
                    const Outcome out = call(
                        module(*c), 1,
                        {grid_value(x, n), Value::scalar(static_cast<double>(L)), Value::row(h)});
                    EXPECT_TRUE(grid_test::same_bits(result_of(out, n), c->reference(x, n, L, h)))
                        << c->name << ", n " << n << ", m " << m << ", L " << L;
                }
            }
        }
    }
}

// MeldGrid_WR(SiftGrid_WR(x, L, h), L, h) = x for orthonormal filters, every
// side from 1 to 512 and every level from below 0 to beyond the grid.
TEST_F(GridCommand, InverseUndoesForward) {
    std::mt19937_64 rng(19);
    const Vec *filters[] = {&grid_test::haar, &grid_test::daub4, &grid_test::daub8};
    for (int32_t n = 1; n <= 512; n *= 2) {
        const int32_t J = grid_test::exponent_of(n);
        const Vec x = grid_test::random_vec(rng, static_cast<size_t>(n) * n);
        const double scale = grid_test::max_abs(x);
        std::vector<double> levels = {-2147483648.0};
        for (int32_t L = -2; L <= J + 1; ++L) levels.push_back(L);
        for (const Vec *h : filters) {
            for (double L : levels) {
                const Vec w = result_of(
                    call(sift_, 1, {grid_value(x, n), Value::scalar(L), Value::row(*h)}), n);
                ASSERT_EQ(w.size(), x.size());
                const Vec back = result_of(
                    call(meld_, 1, {grid_value(w, n), Value::scalar(L), Value::row(*h)}), n);
                ASSERT_EQ(back.size(), x.size());
                EXPECT_LE(grid_test::max_abs_diff(back, x), 1e-12 * scale)
                    << "n " << n << ", m " << h->size() << ", L " << L;
            }
        }
    }
}

} // namespace
