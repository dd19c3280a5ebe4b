// The vector grid transforms for one instruction set, the body that each
// grid_<isa>.cpp compiles after naming WAVELET_ISA (the variant),
// WAVELET_WIDTH (its lane count) and WAVELET_TARGET (the compiler target).
// Each level runs the strategy grid_plan.h gives it; dpwt2 and idpwt2
// choose among the forms at run time.
#include "grid_simd.h"

#if !defined(WAVELET_EXTENDED_ACCUMULATION)
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "../kernels/simd/isa_target.h"

static_assert(simd_lanes(WAVELET_FORM(simd)) == WAVELET_WIDTH, "the variant table's lane count");

WAVELET_TARGET_BEGIN(WAVELET_TARGET)
#include "grid_down.h"
#include "grid_up.h"

namespace {
using namespace grid;

// The shuffled row pass of a forward level in vectors of V rows.
template <int V>
void shuffled_rows(double *grid, int32_t n, int32_t s, const double *g, const double *h, int32_t m,
                   double *work) {
    const int32_t rows = dpwt2_shuffled_rows(n, s, m, V);
    double *head = staging(work), *stage = head + rows * dpwt2_head_slots(m);
    const int32_t slices = dpwt2_stage_slices(n, m, rows);
    for (int32_t r = 0; r < s; r += rows)
        down_shuffled_panel<V>(grid + r, n, s, g, h, m, rows, head, stage, slices);
}

// The row pass of one forward level on the block of side s, as planned.
template <int W>
void dpwt2_rows(double *grid, int32_t n, int32_t s, const double *g, const double *h, int32_t m,
                dpwt2_step step, double *work) {
    if (step == dpwt2_shuffled) {
        if constexpr (W >= 4)
            if (dpwt2_shuffled_lanes(n, s, m, W) < W)
                return shuffled_rows<W / 2>(grid, n, s, g, h, m, work);
        return shuffled_rows<W>(grid, n, s, g, h, m, work);
    }
    // Row by row: each row gathered, split where it fits, and filtered.
    const int32_t half = s / 2;
    const bool split = half % W == 0 && split_size(s, m) <= 2 * int64_t{n};
    double *w0 = work, *w1 = work + n, *w2 = work + 2 * ptrdiff_t{n};
    const ptrdiff_t stride = n;
    for (int32_t r = 0; r < s; ++r) {
        for (int32_t c = 0; c < s; ++c) w0[c] = grid[r + stride * c];
        if (split) {
            split_column<W>(w0, s, m, w1);
            down_split<W>(w1, s, g, h, m, w0, w0 + half, false);
            for (int32_t c = 0; c < s; ++c) grid[r + stride * c] = w0[c];
            continue;
        }
        downlo_lanes<W>(w0, s, h, m, w1);
        downhi_lanes<W>(w0, s, g, m, w2);
        for (int32_t c = 0; c < half; ++c) grid[r + stride * c] = w1[c];
        for (int32_t c = 0; c < half; ++c) grid[r + stride * (half + c)] = w2[c];
    }
}

template <int W>
void dpwt2_lanes(const double *src, int32_t n, int32_t L, int32_t J, const double *g,
                 const double *h, int32_t m, double *out, double *work) {
    const int32_t stop = L < 0 ? 0 : L;
    const ptrdiff_t stride = n;
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
        const dpwt2_step step = dpwt2_plan(n, size, m, from_src, W);
        if (step == dpwt2_fused_first) {
            // The result's stores go around the caches when the grid is
            // large: the next level reads back only a quarter of it.
            const bool nt = int64_t{n} * n >= 2 * int64_t{stream_from} && vector_aligned<W>(out);
            down_fused_level<W>(src, out, n, g, h, m, nt, work);
        } else if (step == dpwt2_shuffled && !from_src) {
            columns_down_shuffled<W>(out, n, size, g, h, m, work);
        } else {
            const bool shuffled = step == dpwt2_shuffled;
            // Split columns fit unless the filter is about as long as the
            // grid. A large first level leaves the caches long before its
            // row pass reads the columns back: its stores go around them.
            const bool split = split_size(size, m) <= 3 * int64_t{n} && half >= W;
            // cppcheck-suppress redundantAssignment ; from_src is read on every level
            const bool nt = split && from_src && int64_t{size} * size >= 2 * int64_t{stream_from} &&
                            vector_aligned<W>(out) && half % (2 * W) == 0;
            for (int32_t c = 0; c < size; ++c) {
                const int32_t place = shuffled ? shuffled_place(c, half) : c;
                double *column = out + stride * place;
                const double *x = src + stride * c;
                if (split) {
                    split_column<W>(from_src ? x : column, size, m, work);
                    down_split<W>(work, size, g, h, m, column, column + half, nt);
                    continue;
                }
                if (!from_src) {
                    copy_lanes<W>(column, work, size);
                    x = work;
                }
                downlo_lanes<W>(x, size, h, m, column);
                downhi_lanes<W>(x, size, g, m, column + half);
            }
            if (nt) stream_fence();
        }
        if (step != dpwt2_fused_first) dpwt2_rows<W>(out, n, size, g, h, m, step, work);
        from_src = false;
        size = half;
    }
}

// The row pass of one inverse level, as planned: rows r0 .. r1-1 of the
// block of side 2e, coarse halves read from lo, detail halves from hi.
template <int W>
void idpwt2_rows(double *out, const double *lo, const double *hi, int32_t n, int32_t e, int32_t r0,
                 int32_t r1, const double *g, const double *h, int32_t m, idpwt2_step step,
                 double *work) {
    constexpr int32_t R = chunk_rows(W);
    if (step == idpwt2_panel) {
        const int32_t rows = idpwt2_panel_rows(n, e, m, W);
        for (int32_t r = r0; r < r1; r += rows)
            if (rows >= R)
                up_panel<W, R>(out + r, lo + r, hi + r, n, e, g, h, m, rows, staging(work));
            else
                up_panel<W, W>(out + r, lo + r, hi + r, n, e, g, h, m, rows, staging(work));
        return;
    }
    // Row by row: each row's halves gathered (extended where they fit) after
    // the row they make.
    const bool extend = up_extends(e, m, W, 3 * int64_t{n});
    double *w0 = work, *w1 = work + n + (extend ? up_pad(m) : 0), *w2 = w1 + e;
    const ptrdiff_t stride = n;
    for (int32_t r = r0; r < r1; ++r) {
        for (int32_t c = 0; c < e; ++c) w1[c] = lo[r + stride * c];
        for (int32_t c = 0; c < e; ++c) w2[c] = hi[r + stride * (e + c)];
        upsum_halves<W>(w1, w2, e, g, h, m, w0, extend);
        for (int32_t c = 0; c < 2 * e; ++c) out[r + stride * c] = w0[c];
    }
}

// The column pass of an inverse level: each column of the block of side 2e
// copied (extended where it fits) and rebuilt from its two halves.
template <int W>
void idpwt2_columns(double *block, int32_t n, int32_t e, const double *g, const double *h,
                    int32_t m, double *work) {
    const ptrdiff_t stride = n;
    const bool extend = up_extends(e, m, W, 4 * int64_t{n});
    double *lo = work + (extend ? up_pad(m) : 0);
    for (int32_t c = 0; c < 2 * e; ++c) {
        double *column = block + stride * c;
        copy_lanes<W>(column, lo, 2 * e);
        upsum_halves<W>(lo, lo + e, e, g, h, m, column, extend);
    }
}

template <int W>
void idpwt2_lanes(const double *src, int32_t n, int32_t L, int32_t J, const double *g,
                  const double *h, int32_t m, double *out, double *work) {
    const int32_t start = L < 0 ? 0 : L;
    const ptrdiff_t stride = n;
    if (start >= J) {
        copy_lanes<W>(src, out, n * n);
        return;
    }
    int32_t e = int32_t{1} << start;
    // The block that a level rebuilds sits in the bottom-left corner of the
    // result, and the coarse block it reads (the previous level's block, or
    // a copy of the source's for the first) in the bottom half of it. The
    // top rows of the block read the coarse block and the source and
    // overwrite neither; the bottom rows read only the source. No input is
    // overwritten before it is read, so the row passes save nothing; the
    // last level's block is the whole result.
    double *coarse = out + (n - e);
    for (int32_t c = 0; c < e; ++c) copy_lanes<W>(src + stride * c, coarse + stride * c, e);
    for (int32_t lev = start; lev < J; ++lev) {
        const int32_t s = 2 * e;
        double *block = out + (n - s);
        const idpwt2_step step = idpwt2_plan(n, e, m, W);
        if (step == idpwt2_fused) {
            // The last level's block is the result, read by no later level.
            // cppcheck-suppress redundantAssignment ; a new value on every level
            const bool nt = lev + 1 == J && int64_t{s} * s >= 2 * int64_t{stream_from};
            up_fused_level<W>(block, coarse, src, n, e, g, h, m, nt, work);
        } else {
            idpwt2_rows<W>(block, coarse, src, n, e, 0, e, g, h, m, step, work);
            idpwt2_rows<W>(block, src, src, n, e, e, s, g, h, m, step, work);
            idpwt2_columns<W>(block, n, e, g, h, m, work);
        }
        coarse = block;
        e = s;
    }
}

} // namespace

#if WAVELET_FORMS_OF(dpwt2)
void WAVELET_FORM(dpwt2)(const double *src, int32_t n, int32_t L, int32_t J, const double *g,
                         const double *h, int32_t m, double *out, double *work) {
    dpwt2_lanes<WAVELET_WIDTH>(src, n, L, J, g, h, m, out, work);
}
#endif
#if WAVELET_FORMS_OF(idpwt2)
void WAVELET_FORM(idpwt2)(const double *src, int32_t n, int32_t L, int32_t J, const double *g,
                          const double *h, int32_t m, double *out, double *work) {
    idpwt2_lanes<WAVELET_WIDTH>(src, n, L, J, g, h, m, out, work);
}
#endif
WAVELET_TARGET_END
#endif
