// The calls of the multi-level commands: the two grid commands, which differ
// only in the transform, the width of the work array and their messages, and
// the two signal commands, which differ the same way. Both take a level.
#pragma once

#include "frame.h"

#include <cmath>

namespace frame {

// The grid and signal transforms share this order of arguments.
typedef void (*LevelTransform)(const double *src, int32_t col_len, int32_t row_step, int32_t L,
                               int32_t J, const double *g, const double *h, int32_t m, double *out,
                               double *work);

// Coarse level: floor(x + 0.5) of the first element, as a 32-bit integer.
inline int32_t coarse_level(double x) {
    return static_cast<int32_t>(std::floor(x + 0.5));
}

// The level (argument 1): a real double array with an element, whose first
// element rounds to a 32-bit integer. Its data is read here, before anything
// is created, and read again where the transform takes it.
template <class Call> bool level_ok(Call &call, const Messages &text) {
    if (!call.real_double(1)) return fail(call, text.level_class);
    const uint64_t rows = call.rows(1);
    const uint64_t cols = call.cols(1);
    if (rows == 0 || cols == 0) return fail(call, text.level_empty);
    if (!fits_int32(rows) || !fits_int32(cols)) return fail(call, text.too_large);
    const double rounded = std::floor(call.data(1)[0] + 0.5);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return fail(call, text.level_range);
    return true;
}

// Everything a grid command checks, in order: counts, square, dyadic side,
// then the grid, the level and the filter.
template <class Call> bool grid_call_ok(Call &call, const Messages &text, Grid &grid) {
    return counts_ok(call, 3, text) && read_grid(call, text, grid) && grid_ok(call, grid, text) &&
           level_ok(call, text) && filter_ok(call, 2, text);
}

// The work of a multi-level command once its checks have passed: the
// rows-by-cols result, the work array of work_rows-by-work_cols, the level,
// the mirror of the filter, the transform (given n, its second length and J),
// and last the release of the work and mirror arrays. The transform is fixed
// when the command is compiled and called directly, as the kernels are.
template <LevelTransform transform, class Call>
void transform_call(Call &call, int32_t rows, int32_t cols, int32_t work_rows, int32_t work_cols,
                    int32_t n, int32_t second, int32_t J) {
    auto result = call.make_result(rows, cols);
    auto work = call.make_scratch(work_rows, work_cols);
    double *out = call.data_of(result);
    double *w = call.data_of(work);
    const double *x = call.data(0);
    const int32_t L = coarse_level(call.data(1)[0]);
    const double *h = call.data(2);
    const int32_t m = filter_length(call, 2);
    auto mirror = call.make_scratch(m, 1);
    double *g = call.data_of(mirror);
    mirrorfilt(h, g, m);
    transform(x, n, second, L, J, g, h, m, out, w);
    call.release(work);
    call.release(mirror);
}

// w = transform(x, level, h) for a grid: the checks, then the n-by-n result
// and an n-by-work_columns work array.
template <int32_t work_columns, LevelTransform transform, class Call>
void grid_call(Call &call, const Messages &text) {
    Grid grid;
    if (!grid_call_ok(call, text, grid)) return;
    transform_call<transform>(call, grid.n, grid.n, grid.n, work_columns, grid.n, grid.n,
                              grid.levels);
}

// The signals of a multi-level signal command: one row, or every column of
// the argument. After the shape, a real double argument whose signals have at
// most 2^30 samples and whose elements have a 32-bit count.
template <class Call> bool signals_ok(Call &call, const Signal &s, const Messages &text) {
    if (!call.real_double(0)) return fail(call, text.signal_class);
    const uint64_t n = s.row ? s.cols : s.rows;
    if (n > longest_analysis) return fail(call, text.too_long);
    if (!fits_int32(s.cols)) return fail(call, text.too_large);
    if (!fits_int32(s.rows * s.cols)) return fail(call, text.too_many);
    return true;
}

// The work array of a signal transform, in doubles, for signals of n samples.
typedef int32_t (*WorkLength)(int32_t n);

// w = transform(x, level, h) for the signals of x: the checks (counts, a
// dyadic length, the signals, the level, the filter), then a result of x's
// rows and columns and a work array of work_length(n) doubles; the transform
// takes the number of signals as its second length.
template <WorkLength work_length, LevelTransform transform, class Call>
void signals_call(Call &call, const Messages &text) {
    Signal s;
    if (!counts_ok(call, 3, text) || !read_signal(call, text, s) || !signals_ok(call, s, text) ||
        !level_ok(call, text) || !filter_ok(call, 2, text))
        return;
    const auto rows = static_cast<int32_t>(s.rows);
    const auto cols = static_cast<int32_t>(s.cols);
    const int32_t count = s.row ? 1 : cols;
    // No signal (rows but no columns), no work: such an array may report
    // any number of rows while holding nothing.
    const int32_t work = count > 0 ? work_length(s.n) : 0;
    transform_call<transform>(call, rows, cols, work, 1, s.n, count, s.levels);
}

} // namespace frame
