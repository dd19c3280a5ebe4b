// The call shared by the two grid commands, which differ only in the
// transform, the width of the work array and their messages.
#pragma once

#include "../kernels/periodic/periodic.h"
#include "frame.h"

#include <cmath>

namespace frame {

typedef void (*GridTransform)(const double *src, int32_t col_len, int32_t row_step, int32_t L,
                              int32_t J, const double *g, const double *h, int32_t m,
                              double *out, double *work);

// Coarse level: floor(x + 0.5) of the first element, as a 32-bit integer.
inline int32_t coarse_level(double x) { return static_cast<int32_t>(std::floor(x + 0.5)); }

// w = transform(x, level, h): checks, then the result (n-by-n, into plhs[0])
// and the n-by-work_columns work array, the level, the mirror of the filter,
// the transform, and last the release of the work and mirror arrays.
inline void grid_call(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[],
                      const Messages &text, int32_t work_columns, GridTransform transform) {
    Grid grid;
    if (!counts_ok(nlhs, nrhs, 3, text) || !read_grid(prhs[0], text, grid)) return;
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
