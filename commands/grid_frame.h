// The call shared by the two grid commands, which differ only in the
// transform, the width of the work array and their messages.
#pragma once

#include "frame.h"

#include <cmath>

namespace frame {

typedef void (*GridTransform)(const double *src, int32_t col_len, int32_t row_step, int32_t L,
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

// w = transform(x, level, h): checks, then the result (n-by-n) and the
// n-by-work_columns work array, the level, the mirror of the filter, the
// transform, and last the release of the work and mirror arrays.
template <class Call>
void grid_call(Call &call, const Messages &text, int32_t work_columns, GridTransform transform) {
    Grid grid;
    if (!grid_call_ok(call, text, grid)) return;
    const int32_t n = grid.n;
    auto result = call.make_result(n, n);
    auto work = call.make_scratch(n, work_columns);
    double *out = call.data_of(result);
    double *w = call.data_of(work);
    const double *x = call.data(0);
    const double *level = call.data(1);
    const int32_t L = coarse_level(level[0]);
    const double *h = call.data(2);
    const int32_t m = filter_length(call, 2);
    auto mirror = call.make_scratch(m, 1);
    double *g = call.data_of(mirror);
    mirrorfilt(h, g, m);
    transform(x, n, n, L, grid.levels, g, h, m, out, w);
    call.release(work);
    call.release(mirror);
}

} // namespace frame
