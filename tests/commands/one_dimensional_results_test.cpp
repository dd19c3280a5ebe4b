// What the four one-dimensional commands return: values worked out by hand,
// the orientation rule (a row gives a row, anything else its first column and
// a column result), scalar signals, empty and shaped filters.
#include "command_harness.h"

namespace {

using cmd::Value;
using cmd::Vec;

struct ResultCase {
    const char *name;
    const char *command;
    Value x;
    Value h;
    size_t rows; // expected shape of the result
    size_t cols;
    Vec want;
};

// A 4-by-3 matrix whose first column is (1, 2, 3, 4); the other columns must
// not be read.
Value matrix_with_first_column_1234() {
    return Value::matrix(4, 3, {1, 2, 3, 4, 100, 200, 300, 400, -7, -8, -9, -10});
}

const ResultCase cases[] = {
    // Analysis, lowpass.
    {"SinkCoarse_worked_request",
     "SinkCoarse",
     Value::row({3, 1, 4, 1, 5, 9, 2, 6}),
     Value::row({1, 2, 3, 4}),
     1,
     4,
     {21, 57, 53, 27}},
    {"SinkCoarse_row", "SinkCoarse", Value::row({1, 2, 3, 4}), Value::row({1, 1}), 1, 2, {3, 7}},
    {"SinkCoarse_column",
     "SinkCoarse",
     Value::column({1, 2, 3, 4}),
     Value::row({1, 1}),
     2,
     1,
     {3, 7}},
    {"SinkCoarse_matrix_first_column",
     "SinkCoarse",
     matrix_with_first_column_1234(),
     Value::row({1, 1}),
     2,
     1,
     {3, 7}},
    {"SinkCoarse_scalar_gives_1_by_0",
     "SinkCoarse",
     Value::scalar(5),
     Value::row({1, 2}),
     1,
     0,
     {}},
    {"SinkCoarse_empty_filter",
     "SinkCoarse",
     Value::column({1, 2, 3, 4}),
     Value::empty(),
     2,
     1,
     {0, 0}},
    {"SinkCoarse_filter_longer_than_signal",
     "SinkCoarse",
     Value::row({1, 2}),
     Value::row({1, 1, 1, 1, 1}),
     1,
     1,
     {7}},
    {"SinkCoarse_filter_as_column",
     "SinkCoarse",
     Value::row({3, 1, 4, 1, 5, 9, 2, 6}),
     Value::column({1, 2, 3, 4}),
     1,
     4,
     {21, 57, 53, 27}},
    {"SinkCoarse_filter_as_matrix",
     "SinkCoarse",
     Value::row({3, 1, 4, 1, 5, 9, 2, 6}),
     Value::matrix(2, 2, {1, 2, 3, 4}),
     1,
     4,
     {21, 57, 53, 27}},

    // Analysis, highpass with the mirrored filter.
    {"SinkDetail_two_taps",
     "SinkDetail",
     Value::row({1, 2, 3, 4}),
     Value::row({1, 1}),
     1,
     2,
     {1, 1}},
    {"SinkDetail_three_taps",
     "SinkDetail",
     Value::row({1, 2, 3, 4}),
     Value::row({1, 2, 3}),
     1,
     2,
     {12, 4}},
    {"SinkDetail_column",
     "SinkDetail",
     Value::column({1, 2, 3, 4}),
     Value::row({1, 2, 3}),
     2,
     1,
     {12, 4}},
    {"SinkDetail_matrix_first_column",
     "SinkDetail",
     matrix_with_first_column_1234(),
     Value::row({1, 2, 3}),
     2,
     1,
     {12, 4}},
    {"SinkDetail_scalar_gives_1_by_0",
     "SinkDetail",
     Value::scalar(5),
     Value::row({1, 2}),
     1,
     0,
     {}},
    {"SinkDetail_empty_filter",
     "SinkDetail",
     Value::row({1, 2, 3, 4}),
     Value::empty(),
     1,
     2,
     {0, 0}},
    {"SinkDetail_filter_longer_than_signal",
     "SinkDetail",
     Value::row({1, 2}),
     Value::row({1, 1, 1, 1, 1}),
     1,
     1,
     {4}},
    {"SinkDetail_filter_as_matrix",
     "SinkDetail",
     Value::row({1, 2, 3, 4}),
     Value::matrix(3, 1, {1, 2, 3}),
     1,
     2,
     {12, 4}},
    // Odd zero taps mirror to -0.0; the sums still start at +0.0.
    {"SinkDetail_zero_filter_gives_plus_zero",
     "SinkDetail",
     Value::row({1, 2, 3, 4}),
     Value::row({0, 0}),
     1,
     2,
     {0, 0}},

    // Synthesis, lowpass.
    {"RaiseCoarse_row",
     "RaiseCoarse",
     Value::row({1, 2, 3, 4}),
     Value::row({1, 2, 3}),
     1,
     8,
     {13, 2, 5, 4, 9, 6, 13, 8}},
    {"RaiseCoarse_column",
     "RaiseCoarse",
     Value::column({1, 2, 3, 4}),
     Value::row({1, 2, 3}),
     8,
     1,
     {13, 2, 5, 4, 9, 6, 13, 8}},
    {"RaiseCoarse_matrix_first_column",
     "RaiseCoarse",
     matrix_with_first_column_1234(),
     Value::row({1, 2, 3}),
     8,
     1,
     {13, 2, 5, 4, 9, 6, 13, 8}},
    {"RaiseCoarse_scalar",
     "RaiseCoarse",
     Value::scalar(5),
     Value::row({1, 2, 3, 4, 5}),
     1,
     2,
     {45, 30}},
    {"RaiseCoarse_filter_as_matrix",
     "RaiseCoarse",
     Value::row({1, 2}),
     Value::matrix(2, 2, {1, 2, 3, 4}),
     1,
     4,
     {7, 10, 5, 8}},
    {"RaiseCoarse_empty_filter_row", "RaiseCoarse", Value::row({1, 2, 3, 4}), Value::empty(), 1, 8,
     Vec(8, 0.0)},
    {"RaiseCoarse_empty_filter_column", "RaiseCoarse", Value::column({1, 2}), Value::empty(1, 0), 4,
     1, Vec(4, 0.0)},

    // Synthesis, highpass with the mirrored filter.
    {"RaiseDetail_row",
     "RaiseDetail",
     Value::row({1, 2, 3, 4}),
     Value::row({1, 2, 3}),
     1,
     8,
     {-2, 7, -4, 11, -6, 15, -8, 7}},
    {"RaiseDetail_column",
     "RaiseDetail",
     Value::column({1, 2, 3, 4}),
     Value::row({1, 2, 3}),
     8,
     1,
     {-2, 7, -4, 11, -6, 15, -8, 7}},
    {"RaiseDetail_matrix_first_column",
     "RaiseDetail",
     matrix_with_first_column_1234(),
     Value::row({1, 2, 3}),
     8,
     1,
     {-2, 7, -4, 11, -6, 15, -8, 7}},
    {"RaiseDetail_scalar",
     "RaiseDetail",
     Value::scalar(5),
     Value::row({1, 2, 3, 4, 5}),
     1,
     2,
     {-30, 45}},
    {"RaiseDetail_filter_as_matrix",
     "RaiseDetail",
     Value::row({1, 2}),
     Value::matrix(2, 2, {1, 2, 3, 4}),
     1,
     4,
     {-10, 7, -8, 5}},
    {"RaiseDetail_empty_filter", "RaiseDetail", Value::row({1, 2, 3, 4}), Value::empty(), 1, 8,
     Vec(8, 0.0)},
    {"RaiseDetail_zero_filter_gives_plus_zero",
     "RaiseDetail",
     Value::row({1, 2}),
     Value::row({0, 0}),
     1,
     4,
     {0, 0, 0, 0}},
};

void PrintTo(const ResultCase &c, std::ostream *os) {
    *os << c.name;
}

class OneDimensionalResult : public ::testing::TestWithParam<ResultCase> {};

TEST_P(OneDimensionalResult, ValuesAndShape) {
    const ResultCase &c = GetParam();
    const auto out = cmd::call(c.command, 1, {c.x, c.h});
    cmd::expect_clean(out);
    const Value y = cmd::result_of(out);
    EXPECT_EQ(y.rows, c.rows);
    EXPECT_EQ(y.cols, c.cols);
    EXPECT_TRUE(cmd::same_bits(y.re, c.want));
}

INSTANTIATE_TEST_SUITE_P(Commands, OneDimensionalResult, ::testing::ValuesIn(cases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
