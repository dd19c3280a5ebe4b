// The passes of the vector forward grid transform, written once over the
// lane count W and compiled for each instruction set through grid_forms.h;
// grid_plan.h chooses which of them a level takes.
//
// The column passes run the vector filtering kernels on each contiguous
// column. The row passes take a panel of adjacent rows: in a column-major
// grid the panel's entries in one column are contiguous doubles, so lane l
// of every vector belongs to row r0 + l and performs that row's scalar sum
// unchanged, in the tiled sums of tile.h (several vectors of rows of one
// output, or one vector of rows of several outputs). Every result therefore
// equals the plain transform's bit for bit.
//
// A panel is filtered in place. Outputs are produced in increasing order, and
// the only inputs a later output still needs after they are overwritten are
// saved to the work array first (the rings of grid_plan.h).
#pragma once

#include "../kernels/periodic/lanes_body.h"
#include "../kernels/periodic/tile.h"
#include "grid_plan.h"

#include <cstddef>
#include <cstdint>

namespace {
namespace grid {
using namespace signal_lanes;

// The rows of a strip for the tiled sums: vector k is rows r + kW .. r + kW
// + W - 1 of the column that lo_at(j) gives for lowpass (or coarse) tap j,
// and hi_at(j) for highpass (or detail) tap j.
template <int W, class Lo, class Hi> struct strip {
    const Lo &lo_at;
    const Hi &hi_at;
    ptrdiff_t r;
    template <int P> vec<W> lo(int32_t j, int k) const { return load<W>(lo_at(j) + r + k * W); }
    template <int P> vec<W> hi(int32_t j, int k) const { return load<W>(hi_at(j) + r + k * W); }
    vec<W> c(int32_t j, int k) const { return lo<0>(j, k); }
    vec<W> d(int32_t j, int k) const { return hi<0>(j, k); }
};
template <int W, class Lo, class Hi>
strip<W, Lo, Hi> strip_of(const Lo &lo, const Hi &hi, ptrdiff_t r) {
    return {lo, hi, r};
}

// The staged columns of a strip, one slice of slot doubles each, for a tile
// of outputs: the lowpass tap j of output i + k reads the slice of column
// 2(i + k) + j, the highpass tap the slice of column 2(i + k) + 1 - j, at
// fixed distances from the slice of column 2i.
template <int W> struct tile_lines {
    const double *at2i;
    ptrdiff_t slot;
    tile_lines from(ptrdiff_t r) const { return {at2i + r, slot}; }
    template <int P> vec<W> lo(int32_t j, int k) const {
        return load<W>(at2i + slot * (2 * k + j));
    }
    template <int P> vec<W> hi(int32_t j, int k) const {
        return load<W>(at2i + slot * (2 * k + 1 - j));
    }
};

// Analyses the rows r .. r + R - 1 of a strip (lowpass tap j at lo_at(j),
// highpass tap j at hi_at(j)) into low and high, streaming with nt.
template <int W, int R, class Lo, class Hi>
WAVELET_TILE_INLINE inline void down_rows(const Lo &lo_at, const Hi &hi_at, ptrdiff_t r,
                                          const double *g, const double *h, int32_t m, double *low,
                                          double *high, bool nt) {
    constexpr int V = R / W;
    vec<W> lo[V], hi[V];
    tiles::analyse<W, V, true, true>(strip_of<W>(lo_at, hi_at, r), h, g, m, lo, hi);
    for (int v = 0; v < V; ++v) {
        put<W>(low + r + v * W, lo[v], nt);
        put<W>(high + r + v * W, hi[v], nt);
    }
}

// The column pass through split samples. Tap j of output i of the lowpass
// filter reads x[2i + j], which is E[i + j/2] for even j and O[i + j/2] for
// odd j, where E and O hold the even and odd samples of x; tap j of the
// highpass filter reads x[2i + 1 - j], which is O[i - j/2] for even j and
// E[i - j/2] for odd j. Once a column is split (one pass of shuffles), every
// tap of a block of W outputs is one plain load, multiply and add; the sums
// keep their order, so the results are the kernels' bit for bit.

// Splits x (s samples, s even) into buffer (split_size doubles): E at
// buffer + pad, O after it, each extended periodically by pad samples on
// either side.
template <int W> void split_column(const double *x, int32_t s, int32_t m, double *buffer) {
    typedef lanes<W> L;
    const int32_t half = s / 2, pad = split_pad(m);
    double *E = buffer + pad, *O = E + half + 2 * pad;
    int32_t k = 0;
    for (; k + W <= half; k += W) {
        const vec<W> a = load<W>(x + 2 * k), b = load<W>(x + 2 * k + W);
        store<W>(E + k, L::even(a, b));
        store<W>(O + k, L::odd(a, b));
    }
    for (; k < half; ++k) {
        E[k] = x[2 * k];
        O[k] = x[2 * k + 1];
    }
    // Sample -t is sample half - t mod half, sample half + t - 1 is t - 1 mod
    // half; both followed by counting.
    for (int32_t t = 1, before = half - 1, after = 0; t <= pad; ++t) {
        E[-t] = E[before];
        O[-t] = O[before];
        E[half + t - 1] = E[after];
        O[half + t - 1] = O[after];
        before = before == 0 ? half - 1 : before - 1;
        after = after + 1 == half ? 0 : after + 1;
    }
}

// The split halves of a column for the tiled sums, from output i0 on:
// lowpass tap j reads E[i + j/2] (j even) or O[i + j/2] (j odd), highpass
// tap j reads O[i - j/2] (j even) or E[i - j/2] (j odd).
template <int W> struct split_lines {
    const double *E, *O; // E + i0, O + i0
    template <int P> vec<W> lo(int32_t j, int k) const {
        return load<W>((P ? O : E) + j / 2 + k * W);
    }
    template <int P> vec<W> hi(int32_t j, int k) const {
        return load<W>((P ? E : O) - j / 2 + k * W);
    }
};

// The lowpass and highpass outputs of a column split into buffer (s
// samples, s/2 a multiple of W), into lo[0 .. s/2-1] and hi[0 .. s/2-1];
// with nt the stores stream (lo and hi vector-aligned).
template <int W>
void down_split(const double *buffer, int32_t s, const double *g, const double *h, int32_t m,
                double *lo, double *hi, bool nt) {
    const int32_t count = s / 2, pad = split_pad(m);
    const double *E = buffer + pad, *O = E + count + 2 * pad;
    tiles::tiled<W, 4>(0, count, [&]<int K>(int32_t i) WAVELET_TILE_INLINE {
        vec<W> l[K], u[K];
        tiles::analyse<W, K, true, true>(split_lines<W>{E + i, O + i}, h, g, m, l, u);
        for (int k = 0; k < K; ++k) {
            put<W>(lo + i + k * W, l[k], nt);
            put<W>(hi + i + k * W, u[k], nt);
        }
    });
}

// Where a shuffled level keeps column c of a block of half-side half: even
// columns on the left, odd ones on the right.
inline int32_t shuffled_place(int32_t c, int32_t half) {
    return (c & 1) ? half + (c >> 1) : c >> 1;
}

// Forward row pass of a block whose column pass stored column c at position
// c/2 (c even) or half + c/2 (c odd), so that pair t (columns 2t and 2t + 1)
// sits at positions t and half + t and output i overwrites pair i. Each pair
// is copied into a stage of B contiguous slices just before the first tile
// that reads it, and the tiles read the stage: a grid's columns lie a
// power-of-two stride apart, so read in place the columns of a window would
// compete for the same few cache sets, while the stage's slices take
// distinct ones. Column c sits in slice c - base, so a tile's taps are fixed
// offsets from one place; when the stage is full, the window still needed is
// moved back to its front. The copy also saves each pair before its output
// overwrites it. Columns 0 .. m-2, read again by the wrapping last outputs,
// are kept in head. The pairs run on past both ends, as the windows of the
// first and last outputs do: pair t < 0 is pair half + t, copied from the
// grid before any output is written, and pair t >= half is pair t - half,
// copied from head; so every tile's window lies in the stage. Needs m >= 2,
// half a multiple of T and B >= dpwt2_window(m). head holds rows * (m - 1)
// doubles, stage rows * B.
template <int W>
void down_shuffled_panel(double *grid, int32_t n, int32_t s, const double *g, const double *h,
                         int32_t m, int32_t rows, double *head, double *stage, int32_t B) {
    constexpr int32_t T = panel_tile;
    const int32_t half = s / 2;
    const ptrdiff_t step = n;
    const ptrdiff_t slot_size = rows;
    for (int32_t c = 0; c + 1 < m; ++c)
        copy_lanes<W>(grid + step * shuffled_place(c, half), head + slot_size * c, rows);
    const int32_t ahead = (m + 1) / 2; // the pairs output i's lowpass sum reads: i .. i + ahead - 1
    // Pairs from the first of output 0's window up to copied - 1 have entered
    // the stage; they end with the last of output half - 1's.
    int32_t copied = (2 - m) >> 1;
    const int32_t end = ((s + m - 3) >> 1) + 1;
    int32_t base = 2 * copied;
    auto copy_pair = [&](int32_t t) {
        double *to = stage + slot_size * (2 * t - base);
        if (t >= half) {
            copy_lanes<W>(head + slot_size * 2 * (t - half), to, 2 * rows);
        } else {
            const int32_t u = t < 0 ? t + half : t;
            copy_lanes<W>(grid + step * u, to, rows);
            copy_lanes<W>(grid + step * (half + u), to + slot_size, rows);
        }
        // The hardware prefetchers follow a column only within a page:
        // ask for the pair copied a few outputs later now.
        if (t >= 0 && t + prefetch_ahead < half)
            for (int32_t r = 0; r < rows; r += 8) {
                __builtin_prefetch(grid + step * (t + prefetch_ahead) + r);
                __builtin_prefetch(grid + step * (half + t + prefetch_ahead) + r);
            }
    };
    for (int32_t i = 0; i < half; i += T) {
        const int32_t want = i + T - 1 + ahead < end ? i + T - 1 + ahead : end;
        if (2 * want - base > B) {
            // The tile's window, columns 2i + 2 - m .. 2(i + T - 1) + m - 1,
            // from the start of its first pair, to the front.
            const int32_t keep = ((2 * i + 2 - m) >> 1) * 2;
            copy_lanes<W>(stage + slot_size * (keep - base), stage, (2 * copied - keep) * rows);
            base = keep;
        }
        for (; copied < want; ++copied) copy_pair(copied);
        const tile_lines<W> lines{stage + slot_size * (2 * i - base), slot_size};
        for (int32_t r = 0; r < rows; r += W) {
            vec<W> lo[T], hi[T];
            tiles::analyse<W, T, true, true>(lines.from(r), h, g, m, lo, hi);
            for (int k = 0; k < T; ++k) {
                store<W>(grid + step * (i + k) + r, lo[k]);
                store<W>(grid + step * (half + i + k) + r, hi[k]);
            }
        }
    }
}

// The column pass of a level, in place, storing the filtered column c at
// position c/2 (c even) or half + c/2 (c odd) for down_shuffled_panel. That
// move rotates the bits of c right by one, so the columns fall into cycles
// of at most log2(s) columns; each cycle is followed from its smallest
// column, the column about to be overwritten split (saved) first. Uses two
// split columns of the work array (the plan checks that they fit).
template <int W>
void columns_down_shuffled(double *grid, int32_t n, int32_t s, const double *g, const double *h,
                           int32_t m, double *work) {
    const int32_t half = s / 2;
    const ptrdiff_t step = n;
    auto position = [&](int32_t c) { return shuffled_place(c, half); };
    for (int32_t first = 0; first < s; ++first) {
        bool leads = true;
        for (int32_t c = position(first); c != first; c = position(c))
            if (c < first) {
                leads = false;
                break;
            }
        if (!leads) continue;
        double *held = work, *spare = work + split_size(s, m);
        split_column<W>(grid + step * first, s, m, held);
        for (int32_t c = first;;) {
            const int32_t p = position(c);
            double *column = grid + step * p;
            if (p != first) split_column<W>(column, s, m, spare);
            down_split<W>(held, s, g, h, m, column, column + half, false);
            if (p == first) break;
            double *t = held;
            held = spare;
            spare = t;
            c = p;
        }
    }
}

// The first forward level of a grid of side s read from a separate source,
// its column and row passes fused, in two parts: the lowpass half of the
// rows (0 .. half-1) needs only every column's lowpass filter, the highpass
// half only its highpass filter. Output pair i of the row pass (columns i
// and half + i) reads the filtered columns 2i + 2 - m .. 2i + m - 1, which a
// ring of K = 2m - 2 slots of half doubles holds, two columns entering per
// pair. Each part filters every source column once (the last pairs' wrapped
// columns again), so the level reads the source twice, a whole column at a
// time, and writes the result once. Lane l of a vector is row r + l, as in
// down_shuffled_panel.
template <int W>
void down_fused_level(const double *src, double *out, int32_t n, const double *g, const double *h,
                      int32_t m, bool nt, double *ring) {
    constexpr int32_t R = chunk_rows(W);
    const int32_t s = n, half = n / 2;
    const int32_t K = dpwt2_fused_slots(m);
    const ptrdiff_t step = n, slot_size = half;
    const double *lo_at[listed_taps], *hi_at[listed_taps];
    for (int32_t part = 0; part < 2; ++part) {
        // Filters column u mod s (u may lie outside 0 .. s-1) into slot.
        auto fill = [&](int32_t u, int32_t slot) {
            double *to = ring + slot_size * slot;
            const double *x = src + step * (u < 0 ? u + s : u >= s ? u - s : u);
            if (part == 0)
                downlo_lanes<W>(x, s, h, m, to);
            else
                downhi_lanes<W>(x, s, g, m, to);
        };
        // Slot k holds column u with u + m - 2 = k (mod K); b is the slot of
        // column 2i, the first tap of the lowpass sum.
        for (int32_t u = 2 - m; u < m; ++u) fill(u, u + m - 2);
        int32_t b = m - 2;
        for (int32_t i = 0; i < half; ++i) {
            if (i > 0) {
                b += 2;
                if (b >= K) b -= K;
                int32_t k = b + m - 2;
                if (k >= K) k -= K;
                fill(2 * i + m - 2, k);
                fill(2 * i + m - 1, k + 1 == K ? 0 : k + 1);
            }
            for (int32_t j = 0; j < m; ++j) {
                int32_t k = b + j;
                if (k >= K) k -= K;
                lo_at[j] = ring + slot_size * k;
                k = b + 1 - j;
                if (k < 0) k += K;
                if (k >= K) k -= K;
                hi_at[j] = ring + slot_size * k;
            }
            double *low = out + step * i + part * half;
            double *high = low + step * half;
            auto lo_tap = [&](int32_t j) { return lo_at[j]; };
            auto hi_tap = [&](int32_t j) { return hi_at[j]; };
            for (int32_t r = 0; r < half; r += R)
                down_rows<W, R>(lo_tap, hi_tap, r, g, h, m, low, high, nt);
        }
    }
    if (nt) stream_fence();
}

} // namespace grid
} // namespace
