// The gateway frame shared by every command module.
//
// A gateway checks the argument count, then the result count, then the shape
// of its first argument; then it refuses input the commands cannot compute
// on safely (arrays that are not real full doubles, sizes beyond the 32-bit
// lengths the kernels take, a signal with no samples, a level that is empty
// or does not round to a 32-bit integer). Only when every check has passed
// does it create the result, which goes to plhs[0] at once. Failures go
// through the host's error call, which ends the call; the helpers below also
// return false after it, so a gateway stops even if a host ever came back.
//
// Sizes arrive from the host as size_t and are judged at their full width;
// they become 32-bit lengths only once they are known to fit.
#pragma once

#include "../host/host_api.h"

#include <cstdint>

namespace frame {

struct Messages {
    const char *arguments; // wrong number of arguments
    const char *results;   // wrong number of results
    const char *dyadic;    // length not a power of two
    const char *square;    // grid not square (two-dimensional commands)
    // Input refused after the checks above, before anything is created.
    const char *signal_class; // first argument not a real full double array
    const char *too_long;     // signal or grid side beyond the command's limit
    const char *too_large;    // a reported size beyond 32 bits
    const char *no_samples;   // signal with rows but no columns
    const char *level_class;  // level not a real full double array
    const char *level_empty;  // level with no elements
    const char *level_range;  // level not rounding to a 32-bit integer
    const char *filter_class; // filter not a real full double array
    const char *filter_long;  // filter with more taps than a 32-bit count holds
};

inline bool fail(const char *message) {
    mexErrMsgTxt(message);
    return false;
}

// A real rows-by-cols double array from the build's creation entry.
inline mxArray *create_real(int32_t rows, int32_t cols) {
#if defined(WAVELET_HOST_MEX_H) || __SIZEOF_POINTER__ == 4
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
// and 0 fails. *exponent receives log2 n. Run at 64 bits, so a reported size
// of 2^32 + 4 is not mistaken for 4 and no doubling overflows.
inline bool is_dyadic(uint64_t n, int32_t *exponent) {
    uint64_t p = 1;
    int32_t j = 0;
    while (p < n) {
        if (p > UINT64_MAX / 2) return false;
        p *= 2;
        ++j;
    }
    *exponent = j;
    return p == n;
}

inline uint64_t rows_of(const mxArray *a) {
    return mxGetM(a);
}
inline uint64_t cols_of(const mxArray *a) {
    return mxGetN(a);
}

inline bool fits_int32(uint64_t size) {
    return size <= static_cast<uint64_t>(INT32_MAX);
}

// A real, full (not sparse) double array: the only kind whose data the
// kernels can read as doubles.
inline bool real_double(const mxArray *a) {
    return mxIsDouble(a) && !mxIsComplex(a) && !mxIsSparse(a);
}

// Number of taps of a filter argument: rows, then columns. Called only after
// filter_ok has found the product to fit.
inline int32_t filter_length(const mxArray *f) {
    const uint64_t rows = rows_of(f);
    const uint64_t cols = cols_of(f);
    return static_cast<int32_t>(rows * cols);
}

// Any length of filter is accepted, 0 and longer than the signal included,
// as long as each size and the tap count fit a 32-bit length.
inline bool filter_ok(const mxArray *f, const Messages &text) {
    if (!real_double(f)) return fail(text.filter_class);
    const uint64_t rows = rows_of(f);
    const uint64_t cols = cols_of(f);
    if (!fits_int32(rows) || !fits_int32(cols)) return fail(text.too_large);
    if (!fits_int32(rows * cols)) return fail(text.filter_long);
    return true;
}

// The signal of a one-dimensional command: an argument with one row gives
// that row (n = columns), any other gives its first column (n = rows).
struct Signal {
    int32_t n;
    bool row;
    uint64_t rows; // reported sizes, kept for the checks after the shape
    uint64_t cols;
};

inline bool read_signal(const mxArray *a, const Messages &text, Signal &s) {
    s.rows = rows_of(a);
    s.cols = cols_of(a);
    s.row = s.rows == 1;
    const uint64_t n = s.row ? s.cols : s.rows;
    int32_t exponent = 0;
    if (!is_dyadic(n, &exponent)) return fail(text.dyadic);
    s.n = fits_int32(n) ? static_cast<int32_t>(n) : 0; // larger n is refused by signal_ok
    return true;
}

// The checks after the shape: a real double signal of at most `longest`
// samples whose sizes fit 32 bits and that holds its n samples, then the
// filter.
inline bool signal_ok(const mxArray *x, const mxArray *h, const Signal &s, uint64_t longest,
                      const Messages &text) {
    if (!real_double(x)) return fail(text.signal_class);
    const uint64_t n = s.row ? s.cols : s.rows;
    if (n > longest) return fail(text.too_long);
    if (!fits_int32(s.cols)) return fail(text.too_large);
    if (s.cols == 0) return fail(text.no_samples);
    return filter_ok(h, text);
}

// Longest signals: 2^30 for the analysis commands, whose power-of-two test
// reaches no further in 32 bits, and 2^29 for the synthesis commands, whose
// result of 2n samples must still have a 32-bit length.
constexpr uint64_t longest_analysis = uint64_t{1} << 30;
constexpr uint64_t longest_synthesis = uint64_t{1} << 29;

// Everything a one-dimensional command checks, in order; s receives the
// signal when the call may go ahead.
inline bool signal_call_ok(int nlhs, int nrhs, const mxArray *prhs[], uint64_t longest,
                           const Messages &text, Signal &s) {
    return counts_ok(nlhs, nrhs, 2, text) && read_signal(prhs[0], text, s) &&
           signal_ok(prhs[0], prhs[1], s, longest, text);
}

// A result of the given length, a row when the signal was a row.
inline mxArray *create_like(const Signal &s, int32_t length) {
    return s.row ? create_real(1, length) : create_real(length, 1);
}

// The grid of a two-dimensional command: square, then a power-of-two side.
struct Grid {
    int32_t n;
    int32_t levels; // J, with n = 2^J
    uint64_t side;  // reported side, kept for the checks after the shape
};

// Largest grid side: n*n elements must have a 32-bit count.
constexpr uint64_t longest_side = uint64_t{1} << 15;

inline bool read_grid(const mxArray *a, const Messages &text, Grid &grid) {
    const uint64_t rows = rows_of(a);
    const uint64_t cols = cols_of(a);
    if (rows != cols) return fail(text.square);
    grid.side = rows;
    if (!is_dyadic(rows, &grid.levels)) return fail(text.dyadic);
    grid.n = fits_int32(rows) ? static_cast<int32_t>(rows) : 0; // larger n is refused by grid_ok
    return true;
}

// The checks after the shape: a real double grid of side at most 2^15.
inline bool grid_ok(const mxArray *a, const Grid &grid, const Messages &text) {
    if (!real_double(a)) return fail(text.signal_class);
    if (grid.side > longest_side) return fail(text.too_long);
    return true;
}

} // namespace frame
