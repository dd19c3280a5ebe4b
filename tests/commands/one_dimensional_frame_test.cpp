// The call frame of the four one-dimensional commands: the three messages and
// the order in which they are checked, nothing asked of the host before a
// count check or created before the last check, and the exact sequence of
// host operations of a successful call.
#include "command_harness.h"

#include <algorithm>

namespace {

using cmd::Outcome;
using cmd::Value;
using cmd::Vec;

const char *const commands[] = {"SinkCoarse", "SinkDetail", "RaiseCoarse", "RaiseDetail"};

bool is_detail(const std::string &c) {
    return c == "SinkDetail" || c == "RaiseDetail";
}
bool is_raise(const std::string &c) {
    return c == "RaiseCoarse" || c == "RaiseDetail";
}

enum class Expect { Arguments, Results, Dyadic };

std::string message(const std::string &command, Expect e) {
    switch (e) {
    case Expect::Arguments:
        return command + " requires two input arguments.";
    case Expect::Results:
        return command + " requires one output argument.";
    case Expect::Dyadic:
        return command + " requires dyadic length";
    }
    return "";
}

struct FailCase {
    const char *name;
    int nlhs;
    int nrhs;
    Value x; // the signal, when there is an argument for it
    Expect want;
};

const Value good = Value::row({1, 2, 3, 4});
const Value six = Value::row({1, 2, 3, 4, 5, 6});

const FailCase fail_cases[] = {
    // Argument count first, whatever else is wrong.
    {"no_arguments", 1, 0, good, Expect::Arguments},
    {"one_argument", 1, 1, good, Expect::Arguments},
    {"three_arguments", 1, 3, good, Expect::Arguments},
    {"one_argument_no_result", 0, 1, good, Expect::Arguments},
    {"three_arguments_two_results", 2, 3, good, Expect::Arguments},
    {"no_arguments_no_result", 0, 0, good, Expect::Arguments},
    {"three_arguments_bad_length", 1, 3, six, Expect::Arguments},
    // Then the result count, before the signal is looked at.
    {"no_result", 0, 2, good, Expect::Results},
    {"two_results", 2, 2, good, Expect::Results},
    {"no_result_bad_length", 0, 2, six, Expect::Results},
    {"two_results_empty_signal", 2, 2, Value::empty(), Expect::Results},
    // Then the length of the signal.
    {"row_of_6", 1, 2, six, Expect::Dyadic},
    {"column_of_6", 1, 2, Value::column({1, 2, 3, 4, 5, 6}), Expect::Dyadic},
    {"row_of_3", 1, 2, Value::row({1, 2, 3}), Expect::Dyadic},
    {"empty_0_by_0", 1, 2, Value::empty(0, 0), Expect::Dyadic},
    {"empty_1_by_0", 1, 2, Value::empty(1, 0), Expect::Dyadic},
    {"empty_0_by_5", 1, 2, Value::empty(0, 5), Expect::Dyadic},
    // A matrix's length is its row count, not its column count.
    {"matrix_3_by_4", 1, 2, Value::matrix(3, 4, Vec(12, 1.0)), Expect::Dyadic},
    {"matrix_12_by_2", 1, 2, Value::matrix(12, 2, Vec(24, 1.0)), Expect::Dyadic},
};

void PrintTo(const FailCase &c, std::ostream *os) {
    *os << c.name;
}

using FailParam = std::tuple<const char *, FailCase>;

class OneDimensionalFailure : public ::testing::TestWithParam<FailParam> {};

TEST_P(OneDimensionalFailure, ExactMessageAndNothingCreated) {
    const std::string command = std::get<0>(GetParam());
    const FailCase &c = std::get<1>(GetParam());
    std::vector<Value> args;
    const Value h = Value::row({1, 1});
    for (int k = 0; k < c.nrhs; ++k) args.push_back(k == 0 ? c.x : h);
    const Outcome out = cmd::call(command, c.nlhs, args);
    cmd::expect_clean(out);
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.message, message(command, c.want));
    EXPECT_TRUE(out.results.empty());
    EXPECT_TRUE(out.freed_by_host.empty());
    // The counts are judged without asking the host anything; the length
    // needs the signal's rows and columns and nothing more. Then the error
    // call, and nothing after it.
    std::vector<std::string> seen;
    for (const auto &op : out.ops) seen.push_back(op.what + " " + op.array);
    std::vector<std::string> want_ops;
    if (c.want == Expect::Dyadic) want_ops = {"M prhs[0]", "N prhs[0]"};
    want_ops.push_back("error ");
    EXPECT_EQ(seen, want_ops);
}

INSTANTIATE_TEST_SUITE_P(Commands, OneDimensionalFailure,
                         ::testing::Combine(::testing::ValuesIn(commands),
                                            ::testing::ValuesIn(fail_cases)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param)) + "_" +
                                    std::get<1>(info.param).name;
                         });

// Successful calls: the host operations in order, the shapes asked for, and
// what the host frees.
struct ShapeCase {
    const char *name;
    Value x;
    Value h;
    bool row; // the result is a row
    size_t n; // signal length
};

const ShapeCase shape_cases[] = {
    {"row", Value::row({3, 1, 4, 1, 5, 9, 2, 6}), Value::row({1, 2, 3, 4}), true, 8},
    {"column", Value::column({3, 1, 4, 1, 5, 9, 2, 6}), Value::row({1, 2, 3}), false, 8},
    {"matrix", Value::matrix(4, 2, {1, 2, 3, 4, 5, 6, 7, 8}), Value::matrix(2, 2, {1, 2, 3, 4}),
     false, 4},
    {"scalar", Value::scalar(5), Value::column({1, 2, 3, 4, 5}), true, 1},
    {"empty_filter", Value::row({1, 2, 3, 4}), Value::empty(), true, 4},
    {"filter_1_by_0", Value::column({1, 2}), Value::empty(1, 0), false, 2},
};

void PrintTo(const ShapeCase &c, std::ostream *os) {
    *os << c.name;
}

using ShapeParam = std::tuple<const char *, ShapeCase>;

class OneDimensionalCall : public ::testing::TestWithParam<ShapeParam> {};

std::string describe(const standin::Op &op) {
    std::string s = op.what;
    s.append(" ").append(op.array);
    if (op.what == "create")
        s.append(" ").append(std::to_string(op.rows)).append("x").append(std::to_string(op.cols));
    return s.append(" [plhs0=").append(op.plhs0).append("]");
}

// Reading a size or a type never changes anything; a gateway may ask such
// questions while it checks its arguments.
bool is_query(const standin::Op &op) {
    return op.what == "M" || op.what == "N" || op.what == "IsDouble" || op.what == "IsComplex" ||
           op.what == "IsSparse";
}

TEST_P(OneDimensionalCall, HostOperationsInOrder) {
    const std::string command = std::get<0>(GetParam());
    const ShapeCase &c = std::get<1>(GetParam());
    const Outcome out = cmd::call(command, 1, {c.x, c.h});
    cmd::expect_clean(out);
    const Value y = cmd::result_of(out);
    const int64_t len = static_cast<int64_t>(is_raise(command) ? 2 * c.n : c.n / 2);
    const int64_t m = static_cast<int64_t>(c.h.rows * c.h.cols);
    const int64_t rows = c.row ? 1 : len;
    const int64_t cols = c.row ? len : 1;
    EXPECT_EQ(y.rows, static_cast<size_t>(rows));
    EXPECT_EQ(y.cols, static_cast<size_t>(cols));

    // The signal's rows, then its columns; the checks may only read.
    const auto &ops = out.ops;
    const auto first_create =
        std::find_if(ops.begin(), ops.end(), [](const auto &op) { return op.what == "create"; });
    ASSERT_NE(first_create, ops.end());
    const size_t checks = static_cast<size_t>(first_create - ops.begin());
    ASSERT_GE(checks, 2u);
    EXPECT_EQ(describe(ops[0]), "M prhs[0] [plhs0=]");
    EXPECT_EQ(describe(ops[1]), "N prhs[0] [plhs0=]");
    for (size_t k = 2; k < checks; ++k) {
        EXPECT_TRUE(is_query(ops[k])) << describe(ops[k]);
        EXPECT_NE(ops[k].array.substr(0, 1), "#") << describe(ops[k]);
    }

    // From the creation of the result on, exactly this sequence, with the
    // result in plhs[0] from the operation after its creation.
    std::vector<std::string> want = {
        "create #1 " + std::to_string(rows) + "x" + std::to_string(cols) + " [plhs0=]",
        "Pr #1 [plhs0=#1]",
        "Pr prhs[0] [plhs0=#1]",
        "Pr prhs[1] [plhs0=#1]",
        "M prhs[1] [plhs0=#1]",
        "N prhs[1] [plhs0=#1]",
    };
    if (is_detail(command)) {
        want.push_back("create #2 " + std::to_string(m) + "x1 [plhs0=#1]");
        want.push_back("Pr #2 [plhs0=#1]");
    }
    std::vector<std::string> seen;
    for (auto it = first_create; it != ops.end(); ++it) seen.push_back(describe(*it));
    EXPECT_EQ(seen, want);

    // The mirror array is the host's to free; the result is returned.
    EXPECT_EQ(out.freed_by_host,
              is_detail(command) ? std::vector<std::string>{"#2"} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Commands, OneDimensionalCall,
                         ::testing::Combine(::testing::ValuesIn(commands),
                                            ::testing::ValuesIn(shape_cases)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param)) + "_" +
                                    std::get<1>(info.param).name;
                         });

// Calls hold no state: the same call twice gives the same bits, and a failed
// call in between changes nothing.
TEST(OneDimensionalCalls, RepeatAfterFailure) {
    for (const char *command : commands) {
        SCOPED_TRACE(command);
        const std::vector<Value> args = {Value::row({3, 1, 4, 1, 5, 9, 2, 6}),
                                         Value::row({0.25, -1.5, 2})};
        const Value first = cmd::result_of(cmd::call(command, 1, args));
        EXPECT_FALSE(cmd::call(command, 1, {six, args[1]}).ok);
        const Value second = cmd::result_of(cmd::call(command, 1, args));
        EXPECT_TRUE(cmd::same_bits(second.re, first.re));
    }
}

} // namespace
