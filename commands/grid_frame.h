// The call shared by the two grid commands, which differ only in the
// transform, the width of the work array and their messages.
#pragma once

#include "../kernels/periodic/periodic.h"
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

// The level: a real double array with an element, whose first element
// rounds to a 32-bit integer. Its data is read here, before anything is
// created, and read again where the transform takes it.
inline bool level_ok(const mxArray *a, const Messages &text) {
    if (!real_double(a)) return fail(text.level_class);
    const uint64_t rows = rows_of(a);
    const uint64_t cols = cols_of(a);
    if (rows == 0 || cols == 0) return fail(text.level_empty);
    if (!fits_int32(rows) || !fits_int32(cols)) return fail(text.too_large);
    const double rounded = std::floor(mxGetPr(a)[0] + 0.5);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return fail(text.level_range);
    return true;
}

// Everything a grid command checks, in order: counts, square, dyadic side,
// then the grid, the level and the filter.
inline bool grid_call_ok(int nlhs, int nrhs, const mxArray *prhs[], const Messages &text,
                         Grid &grid) {
    return counts_ok(nlhs, nrhs, 3, text) && read_grid(prhs[0], text, grid) &&
           grid_ok(prhs[0], grid, text) && level_ok(prhs[1], text) && filter_ok(prhs[2], text);
}

// w = transform(x, level, h): checks, then the result (n-by-n, into plhs[0])
// and the n-by-work_columns work array, the level, the mirror of the filter,
// the transform, and last the release of the work and mirror arrays.
inline void grid_call(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[],
                      const Messages &text, int32_t work_columns, GridTransform transform) {
    Grid grid;
    if (!grid_call_ok(nlhs, nrhs, prhs, text, grid)) return;
    const int32_t n = grid.n;
    plhs[0] = create_real(n, n);
    mxArray *work = create_real(n, work_columns);
    double *out = mxGetPr(plhs[0]);
    double *w = mxGetPr(work);
    const double *x = mxGetPr(prhs[0]);
    const double *level = mxGetPr(prhs[1]);
    const int32_t L = coarse_level(level[0]);
    const double *h = mxGetPr(prhs[2]);
    const int32_t m = filter_length(prhs[2]);
    mxArray *mirror = create_real(m, 1);
    double *g = mxGetPr(mirror);
    mirrorfilt(h, g, m);
    transform(x, n, n, L, grid.levels, g, h, m, out, w);
    mxDestroyArray(work);
    mxDestroyArray(mirror);
}

} // namespace frame
