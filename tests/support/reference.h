// A plain reference for the kernels and transforms, written from the defining
// sums with modular indexing: one loop per output, taps in increasing order,
// the sum carried in the same type as this platform's modules and rounded to
// double once. Fast and literal paths alike must match it bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ref {

#if defined(WAVELET_EXTENDED_ACCUMULATION)
typedef long double sum_t;
#else
typedef double sum_t;
#endif

using Vec = std::vector<double>;

inline int64_t wrap(int64_t a, int64_t n) {
    const int64_t r = a % n;
    return r < 0 ? r + n : r;
}

inline Vec mirror(const Vec &h) {
    Vec g(h.size());
    for (size_t k = 0; k < h.size(); ++k) g[k] = (k % 2 ? -1.0 : 1.0) * h[k];
    return g;
}

inline Vec downlo(const Vec &x, const Vec &h) {
    const int64_t n = static_cast<int64_t>(x.size());
    Vec y(x.size() / 2);
    for (int64_t i = 0; i < n / 2; ++i) {
        sum_t s = 0.0;
        for (size_t j = 0; j < h.size(); ++j) s += static_cast<sum_t>(h[j]) * x[wrap(2 * i + j, n)];
        y[i] = static_cast<double>(s);
    }
    return y;
}

inline Vec downhi(const Vec &x, const Vec &g) {
    const int64_t n = static_cast<int64_t>(x.size());
    Vec y(x.size() / 2);
    for (int64_t i = 0; i < n / 2; ++i) {
        sum_t s = 0.0;
        for (size_t j = 0; j < g.size(); ++j)
            s += static_cast<sum_t>(g[j]) * x[wrap(2 * i + 1 - static_cast<int64_t>(j), n)];
        y[i] = static_cast<double>(s);
    }
    return y;
}

inline Vec uplo(const Vec &x, const Vec &h) {
    const int64_t n = static_cast<int64_t>(x.size());
    Vec y(2 * x.size());
    for (int64_t i = 0; i < n; ++i) {
        sum_t even = 0.0, odd = 0.0;
        for (size_t j = 0; 2 * j < h.size(); ++j)
            even += static_cast<sum_t>(h[2 * j]) * x[wrap(i - static_cast<int64_t>(j), n)];
        for (size_t j = 0; 2 * j + 1 < h.size(); ++j)
            odd += static_cast<sum_t>(h[2 * j + 1]) * x[wrap(i - static_cast<int64_t>(j), n)];
        y[2 * i] = static_cast<double>(even);
        y[2 * i + 1] = static_cast<double>(odd);
    }
    return y;
}

inline Vec uphi(const Vec &x, const Vec &g) {
    const int64_t n = static_cast<int64_t>(x.size());
    Vec y(2 * x.size());
    for (int64_t i = 0; i < n; ++i) {
        sum_t even = 0.0, odd = 0.0;
        for (size_t j = 0; 2 * j < g.size(); ++j)
            even += static_cast<sum_t>(g[2 * j]) * x[wrap(i + static_cast<int64_t>(j), n)];
        for (size_t j = 0; 2 * j + 1 < g.size(); ++j)
            odd += static_cast<sum_t>(g[2 * j + 1]) * x[wrap(i + static_cast<int64_t>(j), n)];
        y[2 * i + 1] = static_cast<double>(even);
        y[2 * i] = static_cast<double>(odd);
    }
    return y;
}

// Sum of two vectors as the transforms form it.
inline Vec add(const Vec &a, const Vec &b) {
    Vec z(a.size());
    for (size_t i = 0; i < a.size(); ++i)
        z[i] = static_cast<double>(static_cast<sum_t>(a[i]) + b[i]);
    return z;
}

// Forward 2-D transform of an n-by-n column-major grid: on each level, every
// column of the top-left block, then every row, levels J-1 down to max(L, 0).
inline Vec forward2d(Vec grid, int64_t n, int64_t L, const Vec &h) {
    const Vec g = mirror(h);
    int64_t J = 0;
    while ((int64_t{1} << J) < n) ++J;
    int64_t size = n;
    for (int64_t lev = J - 1; lev >= (L < 0 ? 0 : L); --lev, size /= 2) {
        const int64_t half = size / 2;
        for (int64_t c = 0; c < size; ++c) {
            Vec col(grid.begin() + c * n, grid.begin() + c * n + size);
            const Vec lo = downlo(col, h), hi = downhi(col, g);
            for (int64_t i = 0; i < half; ++i) {
                grid[i + c * n] = lo[i];
                grid[half + i + c * n] = hi[i];
            }
        }
        for (int64_t r = 0; r < size; ++r) {
            Vec row(size);
            for (int64_t c = 0; c < size; ++c) row[c] = grid[r + c * n];
            const Vec lo = downlo(row, h), hi = downhi(row, g);
            for (int64_t i = 0; i < half; ++i) {
                grid[r + i * n] = lo[i];
                grid[r + (half + i) * n] = hi[i];
            }
        }
    }
    return grid;
}

// Inverse 2-D transform: on each level from max(L, 0) up to J-1, every row of
// the doubled block, then every column.
inline Vec inverse2d(Vec grid, int64_t n, int64_t L, const Vec &h) {
    const Vec g = mirror(h);
    int64_t J = 0;
    while ((int64_t{1} << J) < n) ++J;
    for (int64_t lev = (L < 0 ? 0 : L); lev < J; ++lev) {
        const int64_t e = int64_t{1} << lev, s = 2 * e;
        for (int64_t r = 0; r < s; ++r) {
            Vec lo(e), hi(e);
            for (int64_t c = 0; c < e; ++c) {
                lo[c] = grid[r + c * n];
                hi[c] = grid[r + (e + c) * n];
            }
            const Vec row = add(uplo(lo, h), uphi(hi, g));
            for (int64_t c = 0; c < s; ++c) grid[r + c * n] = row[c];
        }
        for (int64_t c = 0; c < s; ++c) {
            const Vec lo(grid.begin() + c * n, grid.begin() + c * n + e);
            const Vec hi(grid.begin() + c * n + e, grid.begin() + c * n + s);
            const Vec col = add(uplo(lo, h), uphi(hi, g));
            for (int64_t i = 0; i < s; ++i) grid[i + c * n] = col[i];
        }
    }
    return grid;
}

// Multi-level transform of one signal: levels J-1 down to max(L, 0), each
// taking the coarse head to downlo and downhi, details laid out finest last.
inline Vec forward1d(Vec x, int64_t L, const Vec &h) {
    const Vec g = mirror(h);
    const uint64_t stop = uint64_t{1} << (L < 0 ? 0 : L > 62 ? 62 : L);
    for (size_t len = x.size(); len >= 2 && len > stop; len /= 2) {
        const Vec c(x.begin(), x.begin() + static_cast<ptrdiff_t>(len));
        const Vec lo = downlo(c, h), hi = downhi(c, g);
        for (size_t i = 0; i < len / 2; ++i) {
            x[i] = lo[i];
            x[len / 2 + i] = hi[i];
        }
    }
    return x;
}

// Its inverse: levels max(L, 0) up to J-1, each uplo(c) + uphi(d), the two
// branches added as doubles.
inline Vec inverse1d(Vec w, int64_t L, const Vec &h) {
    const Vec g = mirror(h);
    if ((uint64_t{1} << (L < 0 ? 0 : L > 62 ? 62 : L)) >= w.size()) return w;
    for (size_t e = size_t{1} << (L < 0 ? 0 : L); e < w.size(); e *= 2) {
        const Vec c(w.begin(), w.begin() + static_cast<ptrdiff_t>(e));
        const Vec d(w.begin() + static_cast<ptrdiff_t>(e),
                    w.begin() + static_cast<ptrdiff_t>(2 * e));
        const Vec lo = uplo(c, h), hi = uphi(d, g);
        for (size_t i = 0; i < 2 * e; ++i) w[i] = lo[i] + hi[i];
    }
    return w;
}

} // namespace ref
