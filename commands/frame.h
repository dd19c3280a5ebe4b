// The gateway frame shared by every command module.
//
// A gateway checks the argument count, then the result count, then the shape
// of its first argument; only when every check has passed does it create the
// result, which goes to plhs[0] at once. Failures go through the host's error
// call, which ends the call; the helpers below also return false after it, so
// a gateway stops even if a host ever came back.
#pragma once

#include "../host/host_api.h"

#include <cstdint>

namespace frame {

struct Messages {
    const char *arguments; // wrong number of arguments
    const char *results;   // wrong number of results
    const char *dyadic;    // length not a power of two
    const char *square;    // grid not square (two-dimensional commands)
};

inline bool fail(const char *message) {
    mexErrMsgTxt(message);
    return false;
}

// A real rows-by-cols double array from the build's creation entry.
inline mxArray *create_real(int32_t rows, int32_t cols) {
#if defined(WAVELET_HOST_MEX_H) || !defined(__LP64__)
    return mxCreateDoubleMatrix(rows, cols, mxREAL);
#else
    return mxCreateDoubleMatrix_700(rows, cols, mxREAL);
#endif
}

// Argument count first, result count second.
inline bool counts_ok(int nlhs, int nrhs, int arguments, const Messages &text) {
    if (nrhs != arguments) return fail(text.arguments);
    if (nlhs != 1) return fail(text.results);
    return true;
}

// p = 1, doubled while p < n; n passes when p reaches it exactly, so 1 passes
// and 0 fails. *exponent receives log2 n.
inline bool is_dyadic(int32_t n, int32_t *exponent) {
    int32_t p = 1;
    int32_t j = 0;
    while (p < n) {
        if (p > INT32_MAX / 2) return false;
        p *= 2;
        ++j;
    }
    *exponent = j;
    return p == n;
}

// Sizes are used as signed 32-bit lengths.
inline int32_t rows_of(const mxArray *a) { return static_cast<int32_t>(mxGetM(a)); }
inline int32_t cols_of(const mxArray *a) { return static_cast<int32_t>(mxGetN(a)); }

// Number of taps of a filter argument: rows, then columns.
inline int32_t filter_length(const mxArray *f) {
    const int32_t rows = rows_of(f);
    const int32_t cols = cols_of(f);
    return rows * cols;
}

// The signal of a one-dimensional command: an argument with one row gives
// that row (n = columns), any other gives its first column (n = rows).
struct Signal {
    int32_t n;
    bool row;
};

inline bool read_signal(const mxArray *a, const Messages &text, Signal &s) {
    const int32_t rows = rows_of(a);
    const int32_t cols = cols_of(a);
    s.row = rows == 1;
    s.n = s.row ? cols : rows;
    int32_t exponent = 0;
    if (!is_dyadic(s.n, &exponent)) return fail(text.dyadic);
    return true;
}

// A result of the given length, a row when the signal was a row.
inline mxArray *create_like(const Signal &s, int32_t length) {
    return s.row ? create_real(1, length) : create_real(length, 1);
}

// The grid of a two-dimensional command: square, then a power-of-two side.
struct Grid {
    int32_t n;
    int32_t levels; // J, with n = 2^J
};

inline bool read_grid(const mxArray *a, const Messages &text, Grid &grid) {
    const int32_t rows = rows_of(a);
    const int32_t cols = cols_of(a);
    if (rows != cols) return fail(text.square);
    grid.n = rows;
    if (!is_dyadic(grid.n, &grid.levels)) return fail(text.dyadic);
    return true;
}

} // namespace frame
