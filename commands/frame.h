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
//
// The frame reaches the call through a small view that each interface
// fills (mex_call.h for the MEX interface, octave_call.h for native Octave
// functions), so the checks, their order and the work of each command are
// written once. A view `call` offers:
//   call.arguments(), call.results()      the counts the caller gave
//   call.rows(k), call.cols(k)            argument k's sizes, as reported
//   call.real_double(k)                   a real, full double array
//   call.data(k)                          its elements, column by column
//   call.fail(message)                    the host's error call
//   call.make_result(rows, cols)          the array returned to the caller
//   call.make_scratch(rows, cols)         an array for the call's own use
//   call.data_of(a), call.release(a)      an array made above: its data, and
//                                         an early release (the rest go when
//                                         the call ends)
#pragma once

#include "../kernels/periodic/periodic.h"

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
    const char *too_many;     // signals whose elements need more than a 32-bit count
    const char *level_class;  // level not a real full double array
    const char *level_empty;  // level with no elements
    const char *level_range;  // level not rounding to a 32-bit integer
    const char *filter_class; // filter not a real full double array
    const char *filter_long;  // filter with more taps than a 32-bit count holds
};

// Every command's messages, from its name and what sets it apart; each text
// begins with the command's name. The refusals shared by all commands are
// written once here.
#define WAVELET_MESSAGES(name, arguments_, dyadic_, square_, kind, too_long_, no_samples_,         \
                         too_many_)                                                                \
    {                                                                                              \
        .arguments = name " requires " arguments_ " input arguments.",                             \
        .results = name " requires one output argument.", .dyadic = dyadic_, .square = square_,    \
        .signal_class = name " requires a real double " kind, .too_long = too_long_,               \
        .too_large = name " requires arrays of fewer than 2^31 rows and columns",                  \
        .no_samples = no_samples_, .too_many = too_many_,                                          \
        .level_class = name " requires a real double level",                                       \
        .level_empty = name " requires a nonempty level",                                          \
        .level_range = name " requires a level that rounds to a 32-bit integer",                   \
        .filter_class = name " requires a real double filter",                                     \
        .filter_long = name " requires a filter of fewer than 2^31 taps",                          \
    }

// A one-level command of one signal, of at most `longest` samples.
#define WAVELET_SIGNAL_MESSAGES(name, longest)                                                     \
    WAVELET_MESSAGES(name, "two", name " requires dyadic length", nullptr, "signal",               \
                     name " requires a signal of at most " longest " samples",                     \
                     name " requires a nonempty signal", nullptr)

// A grid command; the inverse names itself in a short form when the side is
// not dyadic.
#define WAVELET_GRID_MESSAGES(name, dyadic_name)                                                   \
    WAVELET_MESSAGES(name, "3", dyadic_name " requires dyadic length sides",                       \
                     name " requires a square array", "array",                                     \
                     name " requires sides of at most 2^15", nullptr, nullptr)

// A multi-level command of the signals in a matrix's columns (or one row).
#define WAVELET_SIGNALS_MESSAGES(name)                                                             \
    WAVELET_MESSAGES(name, "3", name " requires dyadic length", nullptr, "signal",                 \
                     name " requires signals of at most 2^30 samples", nullptr,                    \
                     name " requires fewer than 2^31 elements")

template <class Call> bool fail(Call &call, const char *message) {
    call.fail(message);
    return false;
}

// Argument count first, result count second.
template <class Call> bool counts_ok(Call &call, int arguments, const Messages &text) {
    if (call.arguments() != arguments) return fail(call, text.arguments);
    if (call.results() != 1) return fail(call, text.results);
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

inline bool fits_int32(uint64_t size) {
    return size <= static_cast<uint64_t>(INT32_MAX);
}

// Number of taps of filter argument k: rows, then columns. Called only after
// filter_ok has found the product to fit.
template <class Call> int32_t filter_length(Call &call, int k) {
    const uint64_t rows = call.rows(k);
    const uint64_t cols = call.cols(k);
    return static_cast<int32_t>(rows * cols);
}

// Any length of filter is accepted, 0 and longer than the signal included,
// as long as each size and the tap count fit a 32-bit length.
template <class Call> bool filter_ok(Call &call, int k, const Messages &text) {
    if (!call.real_double(k)) return fail(call, text.filter_class);
    const uint64_t rows = call.rows(k);
    const uint64_t cols = call.cols(k);
    if (!fits_int32(rows) || !fits_int32(cols)) return fail(call, text.too_large);
    if (!fits_int32(rows * cols)) return fail(call, text.filter_long);
    return true;
}

// The signal of a one-dimensional command: an argument with one row gives
// that row (n = columns), any other gives its first column (n = rows).
struct Signal {
    int32_t n;
    int32_t levels; // J, with n = 2^J
    bool row;
    uint64_t rows; // reported sizes, kept for the checks after the shape
    uint64_t cols;
};

template <class Call> bool read_signal(Call &call, const Messages &text, Signal &s) {
    s.rows = call.rows(0);
    s.cols = call.cols(0);
    s.row = s.rows == 1;
    const uint64_t n = s.row ? s.cols : s.rows;
    s.levels = 0;
    if (!is_dyadic(n, &s.levels)) return fail(call, text.dyadic);
    s.n = fits_int32(n) ? static_cast<int32_t>(n) : 0; // larger n is refused by signal_ok
    return true;
}

// The checks after the shape: a real double signal of at most `longest`
// samples whose sizes fit 32 bits and that holds its n samples, then the
// filter.
template <class Call>
bool signal_ok(Call &call, const Signal &s, uint64_t longest, const Messages &text) {
    if (!call.real_double(0)) return fail(call, text.signal_class);
    const uint64_t n = s.row ? s.cols : s.rows;
    if (n > longest) return fail(call, text.too_long);
    if (!fits_int32(s.cols)) return fail(call, text.too_large);
    if (s.cols == 0) return fail(call, text.no_samples);
    return filter_ok(call, 1, text);
}

// Longest signals: 2^30 for the analysis commands, whose power-of-two test
// reaches no further in 32 bits, and 2^29 for the synthesis commands, whose
// result of 2n samples must still have a 32-bit length.
constexpr uint64_t longest_analysis = uint64_t{1} << 30;
constexpr uint64_t longest_synthesis = uint64_t{1} << 29;

typedef void (*SignalKernel)(const double *x, int32_t n, const double *filter, int32_t m,
                             double *y);

// y = command(x, h) for a one-dimensional command: analysis halves the
// signal, synthesis doubles it; the detail commands (mirrored) filter with
// the mirror of h. The checks, in order; then the result (a row when the
// signal is a row), the data of both arguments and the filter's length, and
// for a detail command the mirror of the filter, which is left for the end
// of the call to release; then the kernel. The choices and the kernel are
// fixed when the command is compiled, so a module holds only the kernel it
// calls, and calls it directly: a kernel reached only through its address
// is one that some linkers drop as unused.
template <bool synthesis, bool mirrored, SignalKernel kernel, class Call>
void signal_call(Call &call, const Messages &text) {
    Signal s;
    const uint64_t longest = synthesis ? longest_synthesis : longest_analysis;
    if (!counts_ok(call, 2, text) || !read_signal(call, text, s) ||
        !signal_ok(call, s, longest, text))
        return;
    const int32_t length = synthesis ? 2 * s.n : s.n / 2;
    auto result = s.row ? call.make_result(1, length) : call.make_result(length, 1);
    double *y = call.data_of(result);
    const double *x = call.data(0);
    const double *h = call.data(1);
    const int32_t m = filter_length(call, 1);
    if constexpr (mirrored) {
        double *g = call.data_of(call.make_scratch(m, 1));
        mirrorfilt(h, g, m);
        h = g;
    }
    kernel(x, s.n, h, m, y);
}

// The grid of a two-dimensional command: square, then a power-of-two side.
struct Grid {
    int32_t n;
    int32_t levels; // J, with n = 2^J
    uint64_t side;  // reported side, kept for the checks after the shape
};

// Largest grid side: n*n elements must have a 32-bit count.
constexpr uint64_t longest_side = uint64_t{1} << 15;

template <class Call> bool read_grid(Call &call, const Messages &text, Grid &grid) {
    const uint64_t rows = call.rows(0);
    const uint64_t cols = call.cols(0);
    if (rows != cols) return fail(call, text.square);
    grid.side = rows;
    if (!is_dyadic(rows, &grid.levels)) return fail(call, text.dyadic);
    grid.n = fits_int32(rows) ? static_cast<int32_t>(rows) : 0; // larger n is refused by grid_ok
    return true;
}

// The checks after the shape: a real double grid of side at most 2^15.
template <class Call> bool grid_ok(Call &call, const Grid &grid, const Messages &text) {
    if (!call.real_double(0)) return fail(call, text.signal_class);
    if (grid.side > longest_side) return fail(call, text.too_long);
    return true;
}

} // namespace frame
