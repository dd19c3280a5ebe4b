// Vector forms of the two grid transforms, written once over the lane count
// W and compiled for each instruction set by grid_<isa>.cpp.
//
// The column passes run the vector filtering kernels on each contiguous
// column. The row passes take a panel of R adjacent rows at a time: in a
// column-major grid the panel's entries in one column are R contiguous
// doubles, so lane l of every vector belongs to row r0 + l and performs that
// row's scalar sum unchanged. Every result therefore equals the plain
// transforms' bit for bit.
//
// A panel is filtered in place. Outputs are produced in increasing order, and
// the only inputs a later output still needs after they are overwritten are
// saved to the work array first:
//  - forward: the upper-half column half + i, which output i overwrites, goes
//    to a ring of about s/4 + m slots (it is read again by outputs near
//    (half + i) / 2); columns 0 .. m-2, read again by the wrapping last
//    outputs, are kept from the start;
//  - inverse: the coarse columns 2i and 2i + 1, which output i overwrites, go
//    to a ring of about e/2 + m/2 slots; the first detail columns, read again
//    by the wrapping last outputs, are kept from the start.
// The panel height is the largest that fits the work array the caller
// provides (3n doubles forward, 4n inverse); blocks too small for a panel go
// row by row through the vector kernels.
#pragma once

#include "../kernels/periodic/lanes.h"

#include <cstddef>
#include <cstdint>

namespace {

template <int W, int R> inline void copy_slice(const double *from, double *to) {
    for (int v = 0; v < R / W; ++v) store<W>(to + v * W, load<W>(from + v * W));
}

// How many outputs ahead the panels request the columns they will touch.
constexpr int32_t prefetch_ahead = 16;

// Forward row pass over the R rows starting at grid (already moved to the
// panel's first row) of the block of side s. head holds R * (m - 1) doubles,
// ring R * K.
template <int W, int R>
void down_panel(double *grid, int32_t n, int32_t s, const double *g, const double *h, int32_t m,
                double *head, double *ring, int32_t K) {
    constexpr int V = R / W;
    const int32_t half = s / 2;
    const ptrdiff_t step = n;
    for (int32_t c = 0; c + 1 < m; ++c) copy_slice<W, R>(grid + step * c, head + R * c);
    int32_t slot = 0;
    for (int32_t i = 0; i < half; ++i) {
        // Where column c of the panel holds its original values at output i.
        auto at = [&](int32_t c) -> const double * {
            if (c < 0)
                c += s;
            else if (c >= s)
                c -= s;
            if (c < half) return c < i ? head + ptrdiff_t{R} * c : grid + step * c;
            int32_t k = c - half;
            if (k >= i) return grid + step * c;
            if (k >= K) k -= K;
            return ring + ptrdiff_t{R} * k;
        };
        // The columns a few outputs ahead, requested early so that their
        // page walks and cache misses overlap with this output's sums.
        if (i + prefetch_ahead < half) {
            const int32_t ahead = i + prefetch_ahead;
            if (2 * ahead + m < s) {
                __builtin_prefetch(grid + step * (2 * ahead + m - 1));
                __builtin_prefetch(grid + step * (2 * ahead + m - 2));
            }
            __builtin_prefetch(grid + step * ahead, 1);
            __builtin_prefetch(grid + step * (half + ahead), 1);
        }
        vec<W> lo[V], hi[V];
        for (int v = 0; v < V; ++v) lo[v] = hi[v] = vec<W>{};
        for (int32_t j = 0; j < m; ++j) {
            const double *p = at(2 * i + j);
            for (int v = 0; v < V; ++v) lo[v] += h[j] * load<W>(p + v * W);
        }
        for (int32_t j = 0; j < m; ++j) {
            const double *p = at(2 * i + 1 - j);
            for (int v = 0; v < V; ++v) hi[v] += g[j] * load<W>(p + v * W);
        }
        double *low = grid + step * i;
        double *high = grid + step * (half + i);
        copy_slice<W, R>(high, ring + ptrdiff_t{R} * slot);
        if (++slot == K) slot = 0;
        for (int v = 0; v < V; ++v) {
            store<W>(low + v * W, lo[v]);
            store<W>(high + v * W, hi[v]);
        }
    }
}

template <int W, int R>
void down_panels(double *grid, int32_t n, int32_t s, const double *g, const double *h, int32_t m,
                 double *work, int32_t K) {
    double *head = work;
    double *ring = work + ptrdiff_t{R} * (m > 1 ? m - 1 : 0);
    for (int32_t r = 0; r < s; r += R) down_panel<W, R>(grid + r, n, s, g, h, m, head, ring, K);
}

// The row pass of one forward level on the block of side s.
template <int W>
void rows_down(double *grid, int32_t n, int32_t s, const double *g, const double *h, int32_t m,
               double *work) {
    const int32_t half = s / 2;
    const int32_t K = half / 2 + m + 2;
    const int64_t room = 3 * int64_t{n};
    const int64_t slices = int64_t{K} + (m > 1 ? m - 1 : 0);
    if (s >= 2 * m && s >= 16) {
        if (W >= 4 && 16 * slices <= room) return down_panels<W, 16>(grid, n, s, g, h, m, work, K);
        if (8 * slices <= room) return down_panels<W, 8>(grid, n, s, g, h, m, work, K);
        if (W < 8 && W * slices <= room) return down_panels<W, W>(grid, n, s, g, h, m, work, K);
    }
    double *w0 = work, *w1 = work + n, *w2 = work + 2 * ptrdiff_t{n};
    const ptrdiff_t step = n;
    for (int32_t r = 0; r < s; ++r) {
        for (int32_t c = 0; c < s; ++c) w0[c] = grid[r + step * c];
        downlo_lanes<W>(w0, s, h, m, w1);
        downhi_lanes<W>(w0, s, g, m, w2);
        for (int32_t c = 0; c < half; ++c) grid[r + step * c] = w1[c];
        for (int32_t c = 0; c < half; ++c) grid[r + step * (half + c)] = w2[c];
    }
}

template <int W>
void dpwt2_lanes(const double *src, int32_t n, int32_t L, int32_t J, const double *g,
                 const double *h, int32_t m, double *out, double *work) {
    const int32_t stop = L < 0 ? 0 : L;
    const ptrdiff_t step = n;
    if (stop >= J) {
        if (src != out) copy_lanes<W>(src, out, n * n);
        return;
    }
    // The first column pass reads the source grid directly, which spares
    // copying it into the result first.
    bool from_src = src != out;
    int32_t size = n;
    for (int32_t lev = J - 1; lev >= stop; --lev) {
        const int32_t half = size / 2;
        for (int32_t c = 0; c < size; ++c) {
            double *column = out + step * c;
            const double *x = src + step * c;
            if (!from_src) {
                copy_lanes<W>(column, work, size);
                x = work;
            }
            downlo_lanes<W>(x, size, h, m, column);
            downhi_lanes<W>(x, size, g, m, column + half);
        }
        rows_down<W>(out, n, size, g, h, m, work);
        from_src = false;
        size = half;
    }
}

// Inverse row pass over the R rows starting at out (moved to the panel's
// first row) of the block of side 2e. Coarse column c is read at lo + n*c,
// detail column c at hi + n*(e + c); either may be out itself, and only then
// is it saved before being overwritten. head holds R * (mc - 1) doubles,
// ring R * K.
template <int W, int R>
void up_panel(double *out, const double *lo, const double *hi, int32_t n, int32_t e,
              const double *g, const double *h, int32_t m, double *head, double *ring, int32_t K) {
    constexpr int V = R / W;
    const ptrdiff_t step = n;
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    const bool lo_here = lo == out;
    const bool hi_here = hi == out;
    if (hi_here)
        for (int32_t c = 0; c + 1 < mc; ++c) copy_slice<W, R>(out + step * (e + c), head + R * c);
    for (int32_t i = 0; i < e; ++i) {
        auto lo_at = [&](int32_t c) -> const double * {
            if (c < 0) c += e;
            if (lo_here && c < 2 * i) return ring + ptrdiff_t{R} * (c >= K ? c - K : c);
            return lo + step * c;
        };
        auto hi_at = [&](int32_t c) -> const double * {
            if (c >= e) c -= e;
            if (hi_here && e + c < 2 * i) return head + ptrdiff_t{R} * c;
            return hi + step * (e + c);
        };
        vec<W> a0[V], a1[V], b0[V], b1[V];
        for (int v = 0; v < V; ++v) a0[v] = a1[v] = b0[v] = b1[v] = vec<W>{};
        for (int32_t j = 0; j < mc; ++j) {
            const double *p = lo_at(i - j);
            for (int v = 0; v < V; ++v) {
                const vec<W> x = load<W>(p + v * W);
                a0[v] += h[2 * j] * x;
                if (j < mf) a1[v] += h[2 * j + 1] * x;
            }
        }
        for (int32_t j = 0; j < mc; ++j) {
            const double *p = hi_at(i + j);
            for (int v = 0; v < V; ++v) {
                const vec<W> x = load<W>(p + v * W);
                b1[v] += g[2 * j] * x;
                if (j < mf) b0[v] += g[2 * j + 1] * x;
            }
        }
        double *even = out + step * (2 * i);
        double *odd = even + step;
        if (lo_here && 2 * i < e) {
            const int32_t k = 2 * i >= K ? 2 * i - K : 2 * i;
            copy_slice<W, R>(even, ring + ptrdiff_t{R} * k);
            copy_slice<W, R>(odd, ring + ptrdiff_t{R} * (k + 1 == K ? 0 : k + 1));
        }
        for (int v = 0; v < V; ++v) {
            store<W>(even + v * W, a0[v] + b0[v]);
            store<W>(odd + v * W, a1[v] + b1[v]);
        }
    }
}

template <int W, int R>
void up_panels(double *out, const double *lo, const double *hi, int32_t n, int32_t e, int32_t r0,
               int32_t r1, const double *g, const double *h, int32_t m, double *work, int32_t K) {
    const int32_t mc = (m + 1) / 2;
    double *head = work;
    double *ring = work + ptrdiff_t{R} * (mc > 1 ? mc - 1 : 0);
    for (int32_t r = r0; r < r1; r += R)
        up_panel<W, R>(out + r, lo + r, hi + r, n, e, g, h, m, head, ring, K);
}

// The row pass of one inverse level, rows r0 .. r1-1 of the block of side
// 2e, coarse halves read from lo and detail halves from hi (see up_panel).
template <int W>
void rows_up(double *out, const double *lo, const double *hi, int32_t n, int32_t e, int32_t r0,
             int32_t r1, const double *g, const double *h, int32_t m, double *work) {
    const int32_t mc = (m + 1) / 2;
    const int32_t K = e / 2 + mc + 2;
    const int64_t room = 4 * int64_t{n};
    const int64_t slices = int64_t{K} + (mc > 1 ? mc - 1 : 0);
    const int32_t rows = r1 - r0;
    if (e >= 4 * mc && e >= 8) {
        if (W >= 4 && rows % 16 == 0 && 16 * slices <= room)
            return up_panels<W, 16>(out, lo, hi, n, e, r0, r1, g, h, m, work, K);
        if (rows % 8 == 0 && 8 * slices <= room)
            return up_panels<W, 8>(out, lo, hi, n, e, r0, r1, g, h, m, work, K);
        if (W < 8 && rows % W == 0 && W * slices <= room)
            return up_panels<W, W>(out, lo, hi, n, e, r0, r1, g, h, m, work, K);
    }
    double *w0 = work, *w1 = work + n, *w2 = work + 2 * ptrdiff_t{n};
    const ptrdiff_t step = n;
    for (int32_t r = r0; r < r1; ++r) {
        for (int32_t c = 0; c < e; ++c) w1[c] = lo[r + step * c];
        for (int32_t c = 0; c < e; ++c) w2[c] = hi[r + step * (e + c)];
        upsum_lanes<W>(w1, w2, e, g, h, m, w0);
        for (int32_t c = 0; c < 2 * e; ++c) out[r + step * c] = w0[c];
    }
}

template <int W>
void idpwt2_lanes(const double *src, int32_t n, int32_t L, int32_t J, const double *g,
                  const double *h, int32_t m, double *out, double *work) {
    const int32_t start = L < 0 ? 0 : L;
    const ptrdiff_t step = n;
    if (start >= J) {
        if (src != out) copy_lanes<W>(src, out, n * n);
        return;
    }
    // Only the top-left quarter is copied ahead: the levels below the last
    // work inside it, and the last level's row pass reads everything else
    // straight from the source.
    const bool separate = src != out;
    const int32_t quarter = n / 2;
    if (separate)
        for (int32_t c = 0; c < quarter; ++c)
            copy_lanes<W>(src + step * c, out + step * c, quarter);
    int32_t e = int32_t{1} << start;
    for (int32_t lev = start; lev < J; ++lev) {
        const int32_t s = 2 * e;
        if (separate && lev == J - 1) {
            rows_up<W>(out, out, src, n, e, 0, e, g, h, m, work);
            rows_up<W>(out, src, src, n, e, e, s, g, h, m, work);
        } else {
            rows_up<W>(out, out, out, n, e, 0, s, g, h, m, work);
        }
        for (int32_t c = 0; c < s; ++c) {
            double *column = out + step * c;
            copy_lanes<W>(column, work, s);
            upsum_lanes<W>(work, work + e, e, g, h, m, column);
        }
        e = s;
    }
}

} // namespace
