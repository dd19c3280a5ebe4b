// The passes of the vector inverse grid transform, written once over the
// lane count W and compiled for each instruction set through grid_forms.h;
// grid_plan.h chooses which of them a level takes.
//
// As in the forward passes, lane l of every vector of a row panel is row
// r + l and performs that row's scalar sums unchanged, so every result
// equals the plain transform's bit for bit. The row passes read a separate
// source, so no input is overwritten before it is read.
#pragma once

#include "../kernels/periodic/lanes_body.h"
#include "grid_down.h"
#include "grid_plan.h"

#include <cstddef>
#include <cstdint>

namespace {
namespace grid {
using namespace signal_lanes;

// The samples that upsum's windows reach past the ends of its halves: the
// coarse taps reach mc - 1 before the first sample, the detail taps as many
// after the last.
inline int32_t up_pad(int32_t m) {
    return m > 2 ? (m + 1) / 2 - 1 : 0;
}

// Whether halves of e samples, each extended by up_pad(m), fit room doubles
// and fill whole vectors of W outputs.
inline bool up_extends(int32_t e, int32_t m, int32_t W, int64_t room) {
    return e % W == 0 && 2 * (int64_t{e} + up_pad(m)) <= room;
}

// upsum of the halves lo and hi (e samples each) into y, which overlaps
// neither. With extend, lo has up_pad(m) doubles of room before it and hi
// as many after it for the halves' periodic extension, so that no window
// wraps and every output goes through the tiled sums.
template <int W>
inline void upsum_halves(double *lo, double *hi, int32_t e, const double *g, const double *h,
                         int32_t m, double *y, bool extend, bool stream = false) {
    if (!extend) return upsum_lanes<W>(lo, hi, e, g, h, m, y, stream);
    const int32_t pad = up_pad(m);
    for (int32_t k = 1; k <= pad; ++k) lo[-k] = lo[(e - k % e) % e];
    for (int32_t k = 0; k < pad; ++k) hi[e + k] = hi[k % e];
    upsum_tiles<W>(lo, hi, e, g, h, m, y, 0, e, stream);
}

// Synthesises rows r .. r + R - 1 (coarse tap j in column lo_at[j], detail
// tap j in hi_at[j]) into the columns even and odd.
template <int W, int R>
WAVELET_TILE_INLINE inline void up_rows(const double *const *lo_at, const double *const *hi_at,
                                        ptrdiff_t r, const double *g, const double *h, int32_t m,
                                        double *even, double *odd) {
    constexpr int V = R / W;
    vec<W> a[V], b[V];
    tiles::synthesise<W, V, true, true>(strip<W>{lo_at, hi_at, r}, h, g, m, a, b);
    for (int v = 0; v < V; ++v) {
        store<W>(even + r + v * W, a[v]);
        store<W>(odd + r + v * W, b[v]);
    }
}

// Inverse row pass over rows rows from out (moved to the panel's first row)
// of the block of side 2e, R rows at a time: coarse column c at lo + n*c,
// detail column c at hi + n*(e + c), both in a separate source. Every tap
// reads stage, 2mc slices: each column is copied there as it enters the
// window of an output (coarse columns i - mc + 1 .. i, detail columns i ..
// i + mc - 1). Read in place, the columns of a window, a power-of-two stride
// apart, would compete for the same few cache sets; the slices take
// distinct ones.
template <int W, int R>
void up_panel(double *out, const double *lo, const double *hi, int32_t n, int32_t e,
              const double *g, const double *h, int32_t m, int32_t rows, double *stage) {
    const ptrdiff_t step = n, slot_size = rows;
    const int32_t mc = (m + 1) / 2;
    auto lo_at = [&](int32_t c) { return lo + step * (c < 0 ? c + e : c); };
    auto hi_at = [&](int32_t c) { return hi + step * (e + (c >= e ? c - e : c)); };
    // Coarse column k (from -mc + 1) in slice k mod mc, detail column k in
    // slice mc + k mod mc.
    auto coarse_slice = [&](int32_t k) { return stage + slot_size * ((k + mc) % mc); };
    auto detail_slice = [&](int32_t k) { return stage + slot_size * (mc + k % mc); };
    for (int32_t i = 0; i < e; ++i) {
        for (int32_t j = i == 0 || mc == 0 ? mc - 1 : 0; j >= 0; --j) {
            copy_lanes<W>(lo_at(i - j), coarse_slice(i - j), rows);
            const int32_t k = i == 0 ? j : i + mc - 1;
            copy_lanes<W>(hi_at(k), detail_slice(k), rows);
        }
        // The columns staged a few outputs later, asked for now: the
        // hardware prefetchers follow a column only within a page.
        if (i + prefetch_ahead < e)
            for (int32_t r = 0; r < rows; r += 8) {
                __builtin_prefetch(lo_at(i + prefetch_ahead) + r);
                __builtin_prefetch(hi_at(i + mc - 1 + prefetch_ahead) + r);
            }
        const double *coarse_at[listed_taps], *detail_at[listed_taps];
        // Slice i mod mc, and from there down (coarse) and up (detail).
        for (int32_t j = 0, c = mc > 0 ? i % mc : 0, d = c; j < mc; ++j) {
            coarse_at[j] = stage + slot_size * c;
            detail_at[j] = stage + slot_size * (mc + d);
            c = c == 0 ? mc - 1 : c - 1;
            d = d + 1 == mc ? 0 : d + 1;
        }
        double *even = out + step * (2 * i);
        for (int32_t r = 0; r < rows; r += R)
            up_rows<W, R>(coarse_at, detail_at, r, g, h, m, even, even + step);
    }
}

// The row pass's columns 2i and 2i + 1 of up_fused_level over rows base ..
// base + e - 1: coarse column i - j at lo[j], detail column i + j at hi[j].
// M fixes the filter length at compile time for the common filters; 0 takes
// it from m.
template <int W, int M>
void pair_rows(const double *const *lo, const double *const *hi, int32_t base, int32_t e,
               const double *g, const double *h, int32_t m, double *even_col, double *odd_col) {
    for (int32_t r = base; r < base + e; r += chunk_rows(W))
        up_rows<W, chunk_rows(W)>(lo, hi, r, g, h, M ? M : m, even_col, odd_col);
}

// One inverse level, its row and column passes fused: the block of side
// s = 2e is rebuilt a column pair at a time, from the last pair to the
// first. Pair i is the row pass's columns 2i and 2i + 1 over all s rows,
// built in two work columns and then filtered down the column into the
// block, so the level reads its inputs and writes its block once. Rows
// 0 .. e-1 read their coarse half from coarse (the bottom half of the
// block's first e columns), rows e .. s-1 from the source, which also holds
// every detail half. Pair i overwrites coarse columns 2i and 2i + 1, whose
// last readers, pairs 2i .. 2i + mc, are done by then; the wrapping first
// pairs read the last mc - 1 coarse columns, saved into head first. Needs
// 2s + (mc - 1)e doubles of work (and 4 up_pad(m) more to extend its
// columns).
template <int W>
void up_fused_level(double *block, const double *coarse, const double *src, int32_t n, int32_t e,
                    const double *g, const double *h, int32_t m, bool nt, double *work) {
    const ptrdiff_t step = n, slot_size = e;
    const int32_t s = 2 * e, mc = (m + 1) / 2;
    // The two work columns, each extended where they fit beside the head.
    const bool extend = up_extends(e, m, W, (4 * int64_t{n} - int64_t{mc - 1} * e) / 2);
    const int32_t gap = extend ? up_pad(m) : 0;
    double *even_col = work + gap, *odd_col = even_col + s + 2 * gap;
    double *head = odd_col + s + gap;
    // head slot k holds coarse column e - mc + 1 + k.
    for (int32_t k = 0; k + 1 < mc; ++k)
        copy_lanes<W>(coarse + step * (e - mc + 1 + k), head + slot_size * k, e);
    auto rows = m == 4 ? pair_rows<W, 4> : m == 8 ? pair_rows<W, 8> : pair_rows<W, 0>;
    const double *lo_top[listed_taps], *lo_bottom[listed_taps], *hi[listed_taps];
    for (int32_t i = e - 1; i >= 0; --i) {
        for (int32_t j = 0; j < mc; ++j) {
            int32_t c = i - j;
            if (c < 0) {
                c += e;
                lo_top[j] = head + slot_size * (c - (e - mc + 1));
            } else {
                lo_top[j] = coarse + step * c;
            }
            lo_bottom[j] = src + step * c; // rows e .. s-1, indexed from row 0
            c = i + j;
            if (c >= e) c -= e;
            hi[j] = src + step * (e + c);
        }
        rows(lo_top, hi, 0, e, g, h, m, even_col, odd_col);
        rows(lo_bottom, hi, e, e, g, h, m, even_col, odd_col);
        double *even = block + step * (2 * i);
        upsum_halves<W>(even_col, even_col + e, e, g, h, m, even, extend, nt);
        upsum_halves<W>(odd_col, odd_col + e, e, g, h, m, even + step, extend, nt);
    }
}

} // namespace grid
} // namespace
