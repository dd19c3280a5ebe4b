// The passes of the vector forward grid transform, written once over the
// lane count W and compiled for each instruction set through grid_forms.h;
// grid_plan.h chooses which of them a level takes.
//
// The column passes filter each contiguous column, split into its even and
// odd samples. The row passes take a panel of adjacent rows: in a
// column-major grid the panel's entries in one column are contiguous, so
// lane l of every vector is row r + l and performs that row's scalar sum
// unchanged in the tiled sums of tile.h. Every result therefore equals the
// plain transform's bit for bit. A panel is filtered in place, its outputs
// in increasing order, each input a later output needs saved first.
#pragma once

#include "../kernels/periodic/lanes_body.h"
#include "../kernels/periodic/tile.h"
#include "grid_plan.h"

#include <cstddef>
#include <cstdint>

namespace {
namespace grid {
using namespace signal_lanes;

// A strip of rows for the tiled sums: vector k holds rows r + kW .. r + kW +
// W - 1 of column lo_at[j] for lowpass (or coarse) tap j and of column
// hi_at[j] for highpass (or detail) tap j.
template <int W> struct strip {
    const double *const *lo_at, *const *hi_at;
    ptrdiff_t r;
    template <int P> vec<W> lo(int32_t j, int k) const { return load<W>(lo_at[j] + r + k * W); }
    template <int P> vec<W> hi(int32_t j, int k) const { return load<W>(hi_at[j] + r + k * W); }
    vec<W> c(int32_t j, int k) const { return lo<0>(j, k); }
    vec<W> d(int32_t j, int k) const { return hi<0>(j, k); }
};

// The staged columns of a panel, one slice of slot doubles each, for a tile
// of outputs: lowpass tap j of output i + k reads the slice of column
// 2(i + k) + j, highpass tap j that of column 2(i + k) + 1 - j, at fixed
// distances from the slice of column 2i.
template <int W> struct tile_lines {
    const double *at2i;
    ptrdiff_t slot;
    template <int P> vec<W> lo(int32_t j, int k) const {
        return load<W>(at2i + slot * (2 * k + j));
    }
    template <int P> vec<W> hi(int32_t j, int k) const {
        return load<W>(at2i + slot * (2 * k + 1 - j));
    }
};

// Split columns. Lowpass tap j of output i reads x[2i + j], which is
// E[i + j/2] for even j and O[i + j/2] for odd j (E and O the even and odd
// samples of x); highpass tap j reads x[2i + 1 - j], which is O[i - j/2]
// for even j and E[i - j/2] for odd j. Once a column is split, every tap of
// a vector of outputs is one plain load, multiply and add.

// Splits x (s samples, s/2 a multiple of W) into buffer (split_size
// doubles): E at buffer + pad, O after it, each extended periodically by
// pad samples on either side.
template <int W> void split_column(const double *x, int32_t s, int32_t m, double *buffer) {
    const int32_t half = s / 2, pad = split_pad(m);
    double *E = buffer + pad, *O = E + half + 2 * pad;
    for (int32_t k = 0; k < half; k += W) {
        const vec<W> a = load<W>(x + 2 * k), b = load<W>(x + 2 * k + W);
        store<W>(E + k, lanes<W>::even(a, b));
        store<W>(O + k, lanes<W>::odd(a, b));
    }
    // Sample -t is sample half - t mod half, sample half + t - 1 is t - 1
    // mod half; both followed by counting.
    for (int32_t t = 1, before = half - 1, after = 0; t <= pad; ++t) {
        E[-t] = E[before];
        O[-t] = O[before];
        E[half + t - 1] = E[after];
        O[half + t - 1] = O[after];
        before = before == 0 ? half - 1 : before - 1;
        after = after + 1 == half ? 0 : after + 1;
    }
}

// The halves of a split column for the tiled sums, from output i0 on.
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
// samples), into lo[0 .. s/2-1] and hi[0 .. s/2-1]; with nt the stores
// stream (lo and hi vector-aligned).
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

// Forward row pass of a shuffled block: pair t (columns 2t and 2t + 1) sits
// at positions t and half + t, and output i overwrites pair i. Each pair is
// copied into a stage of B slices just before the first tile that reads it,
// and the tiles read the stage: read in place, the columns of a window, a
// power-of-two stride apart, would compete for the same few cache sets. The
// copy also saves each pair before its output overwrites it. Column c sits
// in slice c - base, so a tile's taps are fixed offsets from one place; when
// the stage is full, the window still needed moves back to its front. The
// pairs run on past both ends, as the first and last windows do: pair t < 0
// is pair half + t, copied before any output is written, and pair t >= half
// is pair t - half, copied from head, which keeps columns 0 .. m-2 from the
// start. Needs m >= 2, half a multiple of T and B >= dpwt2_window(m); head
// holds rows * (m - 1) doubles, stage rows * B.
template <int W>
void down_shuffled_panel(double *grid, int32_t n, int32_t s, const double *g, const double *h,
                         int32_t m, int32_t rows, double *head, double *stage, int32_t B) {
    constexpr int32_t T = panel_tile;
    const int32_t half = s / 2;
    const ptrdiff_t step = n, slot_size = rows;
    for (int32_t c = 0; c + 1 < m; ++c)
        copy_lanes<W>(grid + step * shuffled_place(c, half), head + slot_size * c, rows);
    const int32_t ahead = (m + 1) / 2; // output i's lowpass sum reads pairs i .. i + ahead - 1
    // Pairs from the first of output 0's window up to copied - 1 are in the
    // stage; they end with the last of output half - 1's.
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
        if (t >= 0 && t + prefetch_ahead < half)
            for (int32_t r = 0; r < rows; r += 8) {
                __builtin_prefetch(grid + step * (t + prefetch_ahead) + r);
                __builtin_prefetch(grid + step * (half + t + prefetch_ahead) + r);
            }
    };
    for (int32_t i = 0; i < half; i += T) {
        const int32_t want = i + T - 1 + ahead < end ? i + T - 1 + ahead : end;
        if (2 * want - base > B) {
            // The tile's window, from the start of its first pair.
            const int32_t keep = ((2 * i + 2 - m) >> 1) * 2;
            copy_lanes<W>(stage + slot_size * (keep - base), stage, (2 * copied - keep) * rows);
            base = keep;
        }
        for (; copied < want; ++copied) copy_pair(copied);
        for (int32_t r = 0; r < rows; r += W) {
            vec<W> lo[T], hi[T];
            const tile_lines<W> lines{stage + slot_size * (2 * i - base) + r, slot_size};
            tiles::analyse<W, T, true, true>(lines, h, g, m, lo, hi);
            for (int k = 0; k < T; ++k) {
                store<W>(grid + step * (i + k) + r, lo[k]);
                store<W>(grid + step * (half + i + k) + r, hi[k]);
            }
        }
    }
}

// The column pass of a level, in place, storing filtered column c at
// shuffled_place(c). That move rotates the bits of c right by one, so the
// columns fall into cycles of at most log2(s); each is followed from its
// smallest column, the column about to be overwritten split (saved) first
// into the second of two split columns of work.
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

// The first level of a grid of side s from a separate source, its column and
// row passes fused, in two parts: the top (lowpass) half of the rows needs
// only every column's lowpass filter, the bottom half only its highpass
// filter. Output pair i of the row pass (columns i and half + i) reads the
// filtered columns 2i + 2 - m .. 2i + m - 1, held in a ring of
// dpwt2_fused_slots(m) slots of half doubles, two columns entering per
// pair. So the level reads the source twice, a whole column at a time, and
// writes the result once.
template <int W>
void down_fused_level(const double *src, double *out, int32_t n, const double *g, const double *h,
                      int32_t m, bool nt, double *ring) {
    constexpr int32_t R = chunk_rows(W), V = R / W;
    const int32_t s = n, half = n / 2, K = dpwt2_fused_slots(m);
    const ptrdiff_t step = n, slot_size = half;
    // Filtered column u (from 2 - m on) sits in slot u + m - 2 mod K.
    auto slot = [&](int32_t u) { return ring + slot_size * ((u + m - 2) % K); };
    const double *lo_at[listed_taps], *hi_at[listed_taps];
    for (int32_t part = 0; part < 2; ++part) {
        // Filters column u mod s into its slot.
        auto fill = [&](int32_t u) {
            const double *x = src + step * (u < 0 ? u + s : u >= s ? u - s : u);
            if (part == 0)
                downlo_lanes<W>(x, s, h, m, slot(u));
            else
                downhi_lanes<W>(x, s, g, m, slot(u));
        };
        for (int32_t u = 2 - m; u < m; ++u) fill(u);
        for (int32_t i = 0; i < half; ++i) {
            if (i > 0) {
                fill(2 * i + m - 2);
                fill(2 * i + m - 1);
            }
            for (int32_t j = 0; j < m; ++j) {
                lo_at[j] = slot(2 * i + j);
                hi_at[j] = slot(2 * i + 1 - j);
            }
            double *low = out + step * i + part * half, *high = low + step * half;
            for (int32_t r = 0; r < half; r += R) {
                vec<W> lo[V], hi[V];
                tiles::analyse<W, V, true, true>(strip<W>{lo_at, hi_at, r}, h, g, m, lo, hi);
                for (int v = 0; v < V; ++v) {
                    put<W>(low + r + v * W, lo[v], nt);
                    put<W>(high + r + v * W, hi[v], nt);
                }
            }
        }
    }
    if (nt) stream_fence();
}

} // namespace grid
} // namespace
