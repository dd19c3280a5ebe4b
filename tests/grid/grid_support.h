// Shared pieces of the grid tests: orthonormal filters, random grids and
// filters, and the two transforms run on buffers fenced by guard values so a
// write outside the grid or the work array shows.
#pragma once

#include "bitwise.h"
#include "filters.h"
#include "reference.h"
#include "transform2d/transform2d.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace grid_test {

using Vec = std::vector<double>;

using bitwise::random_vec;
using bitwise::same_bits;
using filters::daub4;
using filters::daub8;
using filters::haar;

// log2 of a power of two.
inline int32_t exponent_of(int32_t n) {
    int32_t j = 0;
    while ((int32_t{1} << j) < n) ++j;
    return j;
}

// r + n*c at row r, column c.
inline Vec ramp_grid(int32_t n) {
    Vec g(static_cast<size_t>(n) * n);
    for (size_t i = 0; i < g.size(); ++i) g[i] = static_cast<double>(i);
    return g;
}

inline double max_abs(const Vec &v) {
    double m = 0.0;
    for (double x : v) m = std::fmax(m, std::fabs(x));
    return m;
}

inline double max_abs_diff(const Vec &a, const Vec &b) {
    double m = 0.0;
    for (size_t i = 0; i < a.size(); ++i) m = std::fmax(m, std::fabs(a[i] - b[i]));
    return m;
}

inline double sum_of_squares(const Vec &v) {
    long double s = 0.0L;
    for (double x : v) s += static_cast<long double>(x) * x;
    return static_cast<double>(s);
}

// A transform call on guarded buffers: the result and work arrays sit between
// fences of a guard value, and the source and filters are checked unchanged.
struct Guarded {
    Vec result;         // the n*n result
    bool fences_intact; // nothing written before or after the result or work
    bool inputs_intact; // source and filters unchanged
};

enum class Direction { forward, inverse };

inline Guarded run_guarded(Direction dir, const Vec &src, int32_t n, int32_t L, const Vec &h) {
    constexpr size_t fence = 64;
    constexpr double guard = -12345.678;
    const size_t cells = static_cast<size_t>(n) * n;
    const size_t work_len = static_cast<size_t>(n) * (dir == Direction::forward ? 3 : 4);
    const Vec g = ref::mirror(h);
    const Vec src_copy = src, h_copy = h, g_copy = g;
    Vec out(cells + 2 * fence, guard);
    // The work array starts one double past a cache line, so the staged
    // passes skip the most they ever skip to align their slices.
    Vec space(work_len + 2 * fence + 8, guard);
    size_t lead = fence;
    while (reinterpret_cast<uintptr_t>(space.data() + lead) % 64 != sizeof(double)) ++lead;
    double *const work = space.data() + lead;
    if (dir == Direction::forward)
        dpwt2(src.data(), n, n, L, exponent_of(n), g.data(), h.data(),
              static_cast<int32_t>(h.size()), out.data() + fence, work);
    else
        idpwt2(src.data(), n, n, L, exponent_of(n), g.data(), h.data(),
               static_cast<int32_t>(h.size()), out.data() + fence, work);
    Guarded r;
    r.result.assign(out.begin() + fence, out.begin() + static_cast<ptrdiff_t>(fence + cells));
    r.fences_intact = true;
    for (size_t i = 0; i < fence; ++i) {
        r.fences_intact = r.fences_intact && out[i] == guard && out[fence + cells + i] == guard &&
                          work[-1 - static_cast<ptrdiff_t>(i)] == guard &&
                          work[work_len + i] == guard;
    }
    r.inputs_intact = same_bits(src, src_copy) && same_bits(h, h_copy) && same_bits(g, g_copy);
    return r;
}

} // namespace grid_test
