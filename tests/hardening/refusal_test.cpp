// Unsafe input through the stand-in host: every call either computes the
// right answer or ends with its command's message before the gateway creates
// anything, reads no storage it was not given and leaks nothing.
#include "build_paths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using standin::ClassId;
using standin::Module;
using standin::Outcome;
using standin::Value;

namespace {

const std::vector<std::string> signal_commands = {"SinkCoarse", "SinkDetail", "RaiseCoarse",
                                                  "RaiseDetail"};
const std::vector<std::string> grid_commands = {"SiftGrid_WR", "MeldGrid_WR"};
const std::vector<std::string> signals_commands = {"SiftSignal_WR", "MeldSignal_WR"};
const std::vector<std::string> multilevel_commands = {"SiftGrid_WR", "MeldGrid_WR", "SiftSignal_WR",
                                                      "MeldSignal_WR"};

constexpr uint64_t two_to(int k) {
    return uint64_t{1} << k;
}

// A reported size that the platform's size_t can carry; rows beyond it do
// not exist on a 32-bit host and are skipped.
bool representable(uint64_t size) {
    return size <= std::numeric_limits<size_t>::max();
}

// An array reporting sizes that may not fit a 32-bit size_t (only used where
// they do).
Value wide(uint64_t rows, uint64_t cols) {
    return Value::phantom(static_cast<size_t>(rows), static_cast<size_t>(cols));
}

Value complex_row(std::vector<double> re) {
    Value v = Value::row(std::move(re));
    v.complex = true;
    v.im.assign(v.re.size(), 1.0);
    return v;
}

Value sparse_of(Value v) {
    v.sparse = true;
    return v;
}

Value grid4() {
    std::vector<double> d(16);
    for (size_t i = 0; i < d.size(); ++i) d[i] = static_cast<double>(i) - 5.5;
    return Value::matrix(4, 4, d);
}

// The checks of a refused call: the exact message, nothing created, nothing
// left behind, no misuse of the host.
void expect_refused(const Outcome &out, const std::string &message, const std::string &what) {
    SCOPED_TRACE(what);
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.message, message);
    for (const auto &op : out.ops) EXPECT_NE(op.what, "create") << "created before the error";
    EXPECT_TRUE(out.freed_by_host.empty());
    EXPECT_TRUE(out.results.empty());
    EXPECT_TRUE(out.faults.empty()) << (out.faults.empty() ? "" : out.faults[0]);
    EXPECT_EQ(out.leaked, 0u);
}

void expect_clean_success(const Outcome &out, const std::string &what) {
    SCOPED_TRACE(what);
    EXPECT_TRUE(out.ok) << out.message;
    EXPECT_TRUE(out.faults.empty()) << (out.faults.empty() ? "" : out.faults[0]);
    EXPECT_EQ(out.leaked, 0u);
    ASSERT_EQ(out.results.size(), 1u);
    for (double v : out.results[0].re) EXPECT_FALSE(std::isnan(v)) << "unwritten element";
}

struct Refusal {
    const char *what;
    std::vector<Value> args; // shape of the signal given by `rows`/`cols` when phantom
    std::string suffix;      // message after the command's name
    int nlhs = 1;
};

// The level and the filter of a multi-level command whose first argument x
// passes every check.
std::vector<Refusal> level_and_filter_refusals(const Value &x) {
    const Value level = Value::scalar(0);
    const Value h = Value::row({0.5, 0.5});
    const double inf = std::numeric_limits<double>::infinity();
    return {
        // Levels that are not real full doubles.
        {"single level",
         {x, Value::of_class(ClassId::Single, 1, 1), h},
         " requires a real double level"},
        {"int32 level",
         {x, Value::of_class(ClassId::Int32, 1, 1), h},
         " requires a real double level"},
        {"logical level",
         {x, Value::of_class(ClassId::Logical, 1, 1), h},
         " requires a real double level"},
        {"char level",
         {x, Value::of_class(ClassId::Char, 1, 1), h},
         " requires a real double level"},
        {"struct level",
         {x, Value::of_class(ClassId::Struct, 1, 1), h},
         " requires a real double level"},
        {"complex level", {x, complex_row({1}), h}, " requires a real double level"},
        {"sparse level", {x, sparse_of(Value::scalar(1)), h}, " requires a real double level"},
        // Levels with no element to read.
        {"0-by-0 level", {x, Value::empty(), h}, " requires a nonempty level"},
        {"1-by-0 level", {x, Value::empty(1, 0), h}, " requires a nonempty level"},
        {"0-by-3 level", {x, Value::empty(0, 3), h}, " requires a nonempty level"},
        {"0-by-2^31 level", {x, Value::phantom(0, two_to(31)), h}, " requires a nonempty level"},
        {"2^31-by-1 level",
         {x, Value::phantom(two_to(31), 1), h},
         " requires arrays of fewer than 2^31 rows and columns"},
        // Levels that do not round to a 32-bit integer.
        {"NaN level",
         {x, Value::scalar(std::nan("")), h},
         " requires a level that rounds to a 32-bit integer"},
        {"+Inf level",
         {x, Value::scalar(inf), h},
         " requires a level that rounds to a 32-bit integer"},
        {"-Inf level",
         {x, Value::scalar(-inf), h},
         " requires a level that rounds to a 32-bit integer"},
        {"1e300 level",
         {x, Value::scalar(1e300), h},
         " requires a level that rounds to a 32-bit integer"},
        {"-1e300 level",
         {x, Value::scalar(-1e300), h},
         " requires a level that rounds to a 32-bit integer"},
        {"2^31 - 0.5 level",
         {x, Value::scalar(2147483647.5), h},
         " requires a level that rounds to a 32-bit integer"},
        {"-2^31 - 0.51 level",
         {x, Value::scalar(-2147483648.51), h},
         " requires a level that rounds to a 32-bit integer"},
        {"NaN first of a vector",
         {x, Value::row({std::nan(""), 1}), h},
         " requires a level that rounds to a 32-bit integer"},
        // Filters.
        {"single filter",
         {x, level, Value::of_class(ClassId::Single, 1, 2)},
         " requires a real double filter"},
        {"uint64 filter",
         {x, level, Value::of_class(ClassId::Uint64, 2, 2)},
         " requires a real double filter"},
        {"complex filter", {x, level, complex_row({1, 1})}, " requires a real double filter"},
        {"sparse filter", {x, level, sparse_of(h)}, " requires a real double filter"},
        {"2^31-by-1 filter",
         {x, level, Value::phantom(two_to(31), 1)},
         " requires arrays of fewer than 2^31 rows and columns"},
        {"2^16-by-2^16 filter",
         {x, level, Value::phantom(two_to(16), two_to(16))},
         " requires a filter of fewer than 2^31 taps"},
    };
}

} // namespace

// One-dimensional commands: every refusal with its message, the checks of the
// frame keeping their precedence over the new ones.
TEST(Refusal, SignalCommands) {
    const Value x = Value::row({1, 2, 3, 4});
    const Value h = Value::row({0.5, 0.5});
    const std::vector<Refusal> table = {
        // The original checks come first, whatever the class.
        {"single signal, three arguments",
         {Value::of_class(ClassId::Single, 1, 4), h, h},
         " requires two input arguments."},
        {"single signal, no result",
         {Value::of_class(ClassId::Single, 1, 4), h},
         " requires one output argument.",
         0},
        {"single 1-by-6 signal",
         {Value::of_class(ClassId::Single, 1, 6), h},
         " requires dyadic length"},
        {"cell 0-by-0 signal",
         {Value::of_class(ClassId::Cell, 0, 0), h},
         " requires dyadic length"},
        // Signals that are not real full doubles.
        {"single signal",
         {Value::of_class(ClassId::Single, 1, 4), h},
         " requires a real double signal"},
        {"int32 signal",
         {Value::of_class(ClassId::Int32, 4, 1), h},
         " requires a real double signal"},
        {"uint8 signal",
         {Value::of_class(ClassId::Uint8, 1, 8), h},
         " requires a real double signal"},
        {"logical signal",
         {Value::of_class(ClassId::Logical, 1, 2), h},
         " requires a real double signal"},
        {"char signal",
         {Value::of_class(ClassId::Char, 1, 4), h},
         " requires a real double signal"},
        {"cell signal",
         {Value::of_class(ClassId::Cell, 1, 4), h},
         " requires a real double signal"},
        {"struct signal",
         {Value::of_class(ClassId::Struct, 1, 1), h},
         " requires a real double signal"},
        {"complex signal", {complex_row({1, 2, 3, 4}), h}, " requires a real double signal"},
        {"sparse signal", {sparse_of(x), h}, " requires a real double signal"},
        {"bad signal and bad filter",
         {complex_row({1, 2}), Value::of_class(ClassId::Char, 1, 2)},
         " requires a real double signal"},
        // Filters that are not real full doubles.
        {"single filter",
         {x, Value::of_class(ClassId::Single, 1, 2)},
         " requires a real double filter"},
        {"int8 filter",
         {x, Value::of_class(ClassId::Int8, 2, 1)},
         " requires a real double filter"},
        {"logical filter",
         {x, Value::of_class(ClassId::Logical, 1, 1)},
         " requires a real double filter"},
        {"struct filter",
         {x, Value::of_class(ClassId::Struct, 1, 1)},
         " requires a real double filter"},
        {"empty char filter",
         {x, Value::of_class(ClassId::Char, 0, 0)},
         " requires a real double filter"},
        {"complex filter", {x, complex_row({1, 1})}, " requires a real double filter"},
        {"sparse filter", {x, sparse_of(h)}, " requires a real double filter"},
        // A signal with rows but no columns holds none of its n samples.
        {"4-by-0 signal", {Value::empty(4, 0), h}, " requires a nonempty signal"},
        {"2-by-0 signal", {Value::empty(2, 0), h}, " requires a nonempty signal"},
        // Reported sizes beyond 32 bits, judged at full width.
        {"2^31-by-1 signal", {Value::phantom(two_to(31), 1), h}, " requires a signal of at most"},
        {"1-by-2^31 signal", {Value::phantom(1, two_to(31)), h}, " requires a signal of at most"},
        {"2^31-by-0 signal", {Value::phantom(two_to(31), 0), h}, " requires a signal of at most"},
        {"4-by-(2^31) signal",
         {Value::phantom(4, two_to(31)), h},
         " requires arrays of fewer than 2^31 rows and columns"},
        {"(2^32-1)-by-1 signal", {Value::phantom(two_to(32) - 1, 1), h}, " requires dyadic length"},
        {"(2^31+2)-by-1 signal", {Value::phantom(two_to(31) + 2, 1), h}, " requires dyadic length"},
        // Filters whose sizes or tap count do not fit a 32-bit length.
        {"2^31-by-0 filter",
         {x, Value::phantom(two_to(31), 0)},
         " requires arrays of fewer than 2^31 rows and columns"},
        {"1-by-2^31 filter",
         {x, Value::phantom(1, two_to(31))},
         " requires arrays of fewer than 2^31 rows and columns"},
        {"2^16-by-2^16 filter",
         {x, Value::phantom(two_to(16), two_to(16))},
         " requires a filter of fewer than 2^31 taps"},
        {"2^16-by-2^15 filter",
         {x, Value::phantom(two_to(16), two_to(15))},
         " requires a filter of fewer than 2^31 taps"},
    };
    for (const auto &command : signal_commands) {
        const Module module(command_module(command));
        ASSERT_TRUE(module.has_gateway()) << module.load_error();
        for (const auto &row : table) {
            const Outcome out = module.call(row.nlhs, row.args);
            std::string message = command + row.suffix;
            if (row.suffix == " requires a signal of at most")
                message += command.rfind("Sink", 0) == 0 ? " 2^30 samples" : " 2^29 samples";
            expect_refused(out, message, command + ": " + row.what);
        }
    }
}

// Sizes that only a 64-bit host can report: the low 32 bits must never stand
// in for the size.
TEST(Refusal, WideSizesAreNotTruncated) {
    if (!representable(two_to(32) + 4)) GTEST_SKIP() << "size_t holds 32 bits here";
    const Value h = Value::row({1, 1});
    struct Row {
        const char *command;
        std::vector<Value> args;
        const char *suffix;
    };
    const std::vector<Row> table = {
        {"SinkCoarse", {wide(two_to(32) + 4, 1), h}, " requires dyadic length"},
        {"SinkCoarse", {wide(two_to(32), 1), h}, " requires a signal of at most 2^30 samples"},
        {"RaiseDetail", {wide(1, two_to(40)), h}, " requires a signal of at most 2^29 samples"},
        {"SinkDetail",
         {wide(4, two_to(32) + 3), h},
         " requires arrays of fewer than 2^31 rows and columns"},
        {"RaiseCoarse",
         {wide(4, two_to(32)), h},
         " requires arrays of fewer than 2^31 rows and columns"},
        {"SinkCoarse",
         {Value::row({1, 2}), wide(two_to(32) + 1, 1)},
         " requires arrays of fewer than 2^31 rows and columns"},
        {"RaiseCoarse",
         {Value::row({1, 2}), wide(two_to(32), 0)},
         " requires arrays of fewer than 2^31 rows and columns"},
        {"SiftGrid_WR", {wide(two_to(32) + 4, 4), Value::scalar(0), h}, " requires a square array"},
        {"MeldGrid_WR",
         {wide(two_to(32), two_to(32)), Value::scalar(0), h},
         " requires sides of at most 2^15"},
        {"SiftGrid_WR",
         {grid4(), wide(1, two_to(32) + 1), h},
         " requires arrays of fewer than 2^31 rows and columns"},
        {"MeldGrid_WR",
         {grid4(), Value::scalar(0), wide(two_to(32) + 2, 1)},
         " requires arrays of fewer than 2^31 rows and columns"},
    };
    for (const auto &row : table) {
        const Module module(command_module(row.command));
        expect_refused(module.call(1, row.args), std::string(row.command) + row.suffix,
                       row.command);
    }
}

// Two-dimensional commands: the grid, the level and the filter.
TEST(Refusal, GridCommands) {
    const Value x = grid4();
    const Value level = Value::scalar(0);
    const Value h = Value::row({0.5, 0.5});
    std::vector<Refusal> table = {
        // The original checks first, whatever the class.
        {"single grid, two arguments",
         {Value::of_class(ClassId::Single, 4, 4), level},
         " requires 3 input arguments."},
        {"empty level, two results", {x, Value::empty(), h}, " requires one output argument.", 2},
        {"single 2-by-4 grid",
         {Value::of_class(ClassId::Single, 2, 4), level, h},
         " requires a square array"},
        {"int16 3-by-3 grid", {Value::of_class(ClassId::Int16, 3, 3), level, h}, "@dyadic"},
        // Grids that are not real full doubles, or too wide for 32-bit counts.
        {"single grid",
         {Value::of_class(ClassId::Single, 4, 4), level, h},
         " requires a real double array"},
        {"logical grid",
         {Value::of_class(ClassId::Logical, 2, 2), level, h},
         " requires a real double array"},
        {"cell grid",
         {Value::of_class(ClassId::Cell, 1, 1), level, h},
         " requires a real double array"},
        {"sparse grid", {sparse_of(x), level, h}, " requires a real double array"},
        {"complex grid",
         {[] {
              Value v = grid4();
              v.complex = true;
              v.im.assign(16, 0.0);
              return v;
          }(),
          level, h},
         " requires a real double array"},
        {"2^16 grid",
         {Value::phantom(two_to(16), two_to(16)), level, h},
         " requires sides of at most 2^15"},
        {"2^31 grid",
         {Value::phantom(two_to(31), two_to(31)), level, h},
         " requires sides of at most 2^15"},
        {"(2^31+1) grid", {Value::phantom(two_to(31) + 1, two_to(31) + 1), level, h}, "@dyadic"},
        // Grid before level before filter.
        {"bad grid, level and filter",
         {Value::of_class(ClassId::Single, 2, 2), Value::empty(),
          Value::of_class(ClassId::Char, 1, 1)},
         " requires a real double array"},
        {"bad level and filter",
         {x, Value::scalar(std::nan("")), complex_row({1})},
         " requires a level that rounds to a 32-bit integer"},
    };
    const std::vector<Refusal> shared = level_and_filter_refusals(x);
    table.insert(table.end(), shared.begin(), shared.end());
    for (const auto &command : grid_commands) {
        const Module module(command_module(command));
        ASSERT_TRUE(module.has_gateway()) << module.load_error();
        for (const auto &row : table) {
            // The inverse names itself in short in its dyadic message.
            const std::string message = row.suffix == "@dyadic"
                                            ? (command == "MeldGrid_WR" ? "MeldGrid" : command) +
                                                  " requires dyadic length sides"
                                            : command + row.suffix;
            expect_refused(module.call(row.nlhs, row.args), message, command + ": " + row.what);
        }
    }
}

// Multi-level signal commands: the signals, then the level and the filter as
// for the grids.
TEST(Refusal, SignalTransformCommands) {
    const Value x = Value::matrix(4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    const Value level = Value::scalar(0);
    const Value h = Value::row({0.5, 0.5});
    std::vector<Refusal> table = {
        {"single signal, two arguments",
         {Value::of_class(ClassId::Single, 1, 4), level},
         " requires 3 input arguments."},
        {"single 1-by-6 signal",
         {Value::of_class(ClassId::Single, 1, 6), level, h},
         " requires dyadic length"},
        {"single signal",
         {Value::of_class(ClassId::Single, 4, 2), level, h},
         " requires a real double signal"},
        {"cell signal",
         {Value::of_class(ClassId::Cell, 1, 1), level, h},
         " requires a real double signal"},
        {"complex signal", {complex_row({1, 2}), level, h}, " requires a real double signal"},
        {"sparse signal", {sparse_of(x), level, h}, " requires a real double signal"},
        {"1-by-2^31 signal",
         {Value::phantom(1, two_to(31)), level, h},
         " requires signals of at most 2^30 samples"},
        {"4-by-2^31 signals",
         {Value::phantom(4, two_to(31)), level, h},
         " requires arrays of fewer than 2^31 rows and columns"},
        {"2^29-by-4 signals",
         {Value::phantom(two_to(29), 4), level, h},
         " requires fewer than 2^31 elements"},
        {"bad signal, level and filter",
         {Value::of_class(ClassId::Single, 2, 2), Value::empty(),
          Value::of_class(ClassId::Char, 1, 1)},
         " requires a real double signal"},
    };
    const std::vector<Refusal> shared = level_and_filter_refusals(x);
    table.insert(table.end(), shared.begin(), shared.end());
    for (const auto &command : signals_commands) {
        const Module module(command_module(command));
        ASSERT_TRUE(module.has_gateway()) << module.load_error();
        for (const auto &row : table)
            expect_refused(module.call(row.nlhs, row.args), command + row.suffix,
                           command + ": " + row.what);
    }
}

// Levels at the edges of the 32-bit range are still accepted; with L >= J the
// result is the input itself, and L below 0 runs every level.
TEST(Refusal, LevelsAtTheEdgesOfTheRangeAreAccepted) {
    const Value x = grid4();
    const Value h = Value::row({0.5, 0.5});
    const std::vector<double> edges = {2147483646.5,  2147483647.0,  2147483647.49, 1e9,
                                       -2147483648.0, -2147483648.5, -1e9};
    for (const auto &command : multilevel_commands) {
        const Module module(command_module(command));
        const Outcome deep = module.call(1, {x, Value::scalar(0), h});
        ASSERT_TRUE(deep.ok) << deep.message;
        for (double level : edges) {
            const Outcome out = module.call(1, {x, Value::scalar(level), h});
            const std::string what = command + " level " + std::to_string(level);
            expect_clean_success(out, what);
            if (!out.ok) continue;
            EXPECT_EQ(out.results[0].re, level > 0 ? x.re : deep.results[0].re) << what;
        }
    }
}

// Accepted corner cases stay accepted: filters of any length, including 0 and
// longer than the signal, and a signal matrix whose further columns are unused.
TEST(Refusal, UnusualButValidInputIsAccepted) {
    struct Row {
        const char *what;
        std::vector<Value> args;
    };
    const std::vector<Row> signal_rows = {
        {"empty filter", {Value::row({1, 2, 3, 4}), Value::empty()}},
        {"0-by-7 filter", {Value::row({1, 2, 3, 4}), Value::empty(0, 7)}},
        {"filter longer than the signal", {Value::row({1, 2}), Value::row({1, 2, 3, 4, 5, 6, 7})}},
        {"scalar signal, long filter", {Value::scalar(3), Value::column({1, 2, 3, 4, 5})}},
        {"4-by-3 signal",
         {Value::matrix(4, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
          Value::matrix(2, 2, {1, 2, 3, 4})}},
    };
    for (const auto &command : signal_commands) {
        const Module module(command_module(command));
        for (const auto &row : signal_rows)
            expect_clean_success(module.call(1, row.args), command + ": " + row.what);
    }
    const std::vector<Row> grid_rows = {
        {"empty filter", {grid4(), Value::scalar(0), Value::empty()}},
        {"filter longer than the grid",
         {grid4(), Value::scalar(0), Value::row({1, 2, 3, 4, 5, 6, 7, 8, 9})}},
        {"level as a matrix", {grid4(), Value::matrix(2, 2, {1, 9, 9, 9}), Value::row({1, 1})}},
        {"1-by-1 grid", {Value::scalar(2), Value::scalar(-3), Value::row({1, 1})}},
    };
    for (const auto &command : multilevel_commands) {
        const Module module(command_module(command));
        for (const auto &row : grid_rows)
            expect_clean_success(module.call(1, row.args), command + ": " + row.what);
    }
}

// A successful call makes the checks' queries between the shape of the first
// argument and the first array it creates; from there on its host operations
// are the same as they have always been.
TEST(Refusal, HostOperationsOfASuccessfulCall) {
    const std::vector<std::string> classes = {"IsDouble", "IsComplex", "IsSparse"};
    auto queries = [&](const std::string &array) {
        std::vector<std::string> ops;
        for (const auto &q : classes) ops.push_back(q + " " + array);
        return ops;
    };
    auto join = [](std::vector<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (auto &p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    const std::vector<std::string> checks_1d = join({{"M prhs[0]", "N prhs[0]"},
                                                     queries("prhs[0]"),
                                                     queries("prhs[1]"),
                                                     {"M prhs[1]", "N prhs[1]"}});
    const std::vector<std::string> tail_1d = {"create #1",  "Pr #1",     "Pr prhs[0]",
                                              "Pr prhs[1]", "M prhs[1]", "N prhs[1]"};
    const std::vector<std::string> checks_2d = join({{"M prhs[0]", "N prhs[0]"},
                                                     queries("prhs[0]"),
                                                     queries("prhs[1]"),
                                                     {"M prhs[1]", "N prhs[1]", "Pr prhs[1]"},
                                                     queries("prhs[2]"),
                                                     {"M prhs[2]", "N prhs[2]"}});
    const std::vector<std::string> tail_2d = {
        "create #1", "create #2", "Pr #1",     "Pr #2", "Pr prhs[0]", "Pr prhs[1]", "Pr prhs[2]",
        "M prhs[2]", "N prhs[2]", "create #3", "Pr #3", "destroy #2", "destroy #3"};
    struct Row {
        const char *command;
        std::vector<std::string> expected;
    };
    const std::vector<Row> table = {
        {"SinkCoarse", join({checks_1d, tail_1d})},
        {"SinkDetail", join({checks_1d, tail_1d, {"create #2", "Pr #2"}})},
        {"RaiseCoarse", join({checks_1d, tail_1d})},
        {"RaiseDetail", join({checks_1d, tail_1d, {"create #2", "Pr #2"}})},
        {"SiftGrid_WR", join({checks_2d, tail_2d})},
        {"MeldGrid_WR", join({checks_2d, tail_2d})},
        {"SiftSignal_WR", join({checks_2d, tail_2d})},
        {"MeldSignal_WR", join({checks_2d, tail_2d})},
    };
    for (const auto &row : table) {
        const Module module(command_module(row.command));
        const bool grid = std::string(row.command).find("_WR") != std::string::npos;
        const Outcome out =
            grid ? module.call(1, {grid4(), Value::scalar(1), Value::row({1, 2, 3})})
                 : module.call(1, {Value::column({1, 2, 3, 4}), Value::row({1, 2, 3})});
        ASSERT_TRUE(out.ok) << row.command << ": " << out.message;
        std::vector<std::string> seen;
        for (const auto &op : out.ops) seen.push_back(op.what + " " + op.array);
        EXPECT_EQ(seen, row.expected) << row.command;
    }
}
