// The one place where the vector grid transforms choose how to run a level,
// and the sizes that go with each choice, from the grid side n, the block
// side s (or half side e), the filter length m, whether the level reads a
// separate source, and the lane count W of the variant in use. Everything
// fits the work arrays the gateways obtain from the host, 3n doubles forward
// and 4n inverse; nothing else is allocated. A test checks that the
// bit-for-bit cases reach every strategy on every variant.
#pragma once

#include <cstdint>

namespace {
namespace grid {

// How one forward level runs.
enum dpwt2_step : int32_t {
    // The first level of a grid of fused_grid cells or more, from a separate
    // source: column and row passes fused through a ring of filtered
    // half-columns (2 to 4 taps), so the column pass is never written out.
    dpwt2_fused_first,
    // Split columns stored shuffled (evens left, odds right), then the row
    // pass in staged panels that save only column pairs.
    dpwt2_shuffled,
    // Filters of fewer than two taps, blocks under 16 or under twice the
    // filter, and panels that do not fit: row by row.
    dpwt2_by_row,
};

// How one inverse level runs.
enum idpwt2_step : int32_t {
    // Row and column passes fused, a column pair at a time, last to first.
    idpwt2_fused,
    // The row pass in staged panels, then the column pass.
    idpwt2_panel,
    // Blocks too small for a panel: row by row.
    idpwt2_by_row,
};

// Grids of this many cells or more (1024 squared) fuse their first forward
// level: below it, the column pass written out is read back from the
// caches, and the split columns and the shuffled panel measured faster.
constexpr int64_t fused_grid = int64_t{1} << 20;

// Rows per chunk of a panel: as many vectors as stay in registers.
constexpr int32_t chunk_rows(int32_t W) {
    return W == 2 ? 8 : 16;
}

// The most rows a panel takes at once: 2 KiB of each column it visits.
constexpr int32_t tallest_panel = 256;

// The most bytes of the slices that every tap of a staged panel reads: they
// should stay in the first-level data cache.
constexpr int64_t staged_bytes = int64_t{24} << 10;

// How many outputs ahead a staged panel asks for the grid columns it will
// copy: the hardware prefetchers follow a column only within a page.
constexpr int32_t prefetch_ahead = 8;

// The most taps whose columns the fused levels and the inverse panel list.
constexpr int32_t listed_taps = 32;

// Outputs per tile of the forward panel: each tap value serves this many.
constexpr int32_t panel_tile = 4;

// Staged slices start at the first 64-byte boundary of the work array, so
// that a vector of rows is one cache line wherever the host put the array;
// up to staging_slack doubles of the array go to that.
constexpr int32_t staging_slack = 7;
inline double *staging(double *work) {
    const auto past = reinterpret_cast<uintptr_t>(work) % 64;
    return work + (past ? (64 - past) / sizeof(double) : 0);
}

// The rows of a staged panel over a block of `available` rows (a power of
// two): a power of two from chunk to tallest_panel, halved until its slices
// fit room doubles past the staging slack and the staged ones fit
// staged_bytes; 0 if not even one chunk fits the room.
inline int32_t panel_rows(int32_t available, int32_t chunk, int64_t slices, int64_t staged,
                          int64_t room) {
    room -= staging_slack;
    int32_t rows = available < tallest_panel ? available : tallest_panel;
    while (rows > chunk &&
           (slices * rows > room || staged * rows * int64_t{sizeof(double)} > staged_bytes))
        rows /= 2;
    return rows >= chunk && slices * rows <= room ? rows : 0;
}

// Columns 0 .. m-2 of a forward block, read again by the wrapping last
// outputs of its row pass after the first outputs overwrote them: the
// forward panel keeps them in its head from the start.
inline int64_t dpwt2_head_slots(int32_t m) {
    return m > 1 ? m - 1 : 0;
}

// The columns of the forward panel's stage that one tile reads: outputs i ..
// i + T - 1 read columns 2i + 2 - m .. 2(i + T - 1) + m - 1, in whole pairs.
inline int32_t dpwt2_window(int32_t m) {
    return 2 * panel_tile + 2 * m - 2;
}

// The rows of the forward panel in vectors of W lanes; 0 if none fit.
inline int32_t dpwt2_shuffled_rows(int32_t n, int32_t s, int32_t m, int32_t W) {
    const int32_t window = dpwt2_window(m);
    return panel_rows(s, W, window + dpwt2_head_slots(m), window, 3 * int64_t{n});
}

// The slices of the forward panel's stage: two windows where they fit beside
// the head, so that the window moves back to the front only every few
// tiles; one at least.
inline int32_t dpwt2_stage_slices(int32_t n, int32_t m, int32_t rows) {
    const int64_t fit = (3 * int64_t{n} - staging_slack) / rows - dpwt2_head_slots(m);
    return static_cast<int32_t>(fit < 2 * dpwt2_window(m) ? fit : 2 * dpwt2_window(m));
}

// The lanes of the forward panel's vectors: W, or W/2 where not even W rows
// fit (long filters on small grids); 0 where neither does.
inline int32_t dpwt2_shuffled_lanes(int32_t n, int32_t s, int32_t m, int32_t W) {
    if (dpwt2_shuffled_rows(n, s, m, W) > 0) return W;
    return W >= 4 && dpwt2_shuffled_rows(n, s, m, W / 2) > 0 ? W / 2 : 0;
}

// The slots of the fused first level's ring of filtered half-columns: output
// pair i reads the filtered columns 2i + 2 - m .. 2i + m - 1.
inline int32_t dpwt2_fused_slots(int32_t m) {
    return 2 * m - 2;
}

// The samples each half of a split column keeps past both ends, so that no
// tap wraps, and the doubles a split column of side s takes.
inline int32_t split_pad(int32_t m) {
    return m / 2 + 1;
}
inline int64_t split_size(int32_t s, int32_t m) {
    return int64_t{s} + 4 * int64_t{split_pad(m)};
}

// The strategy of the forward level of block side s; from_source says the
// level is the first and reads a separate source. The fused level's slots
// of n/2 doubles fit for 2 to 4 taps; the shuffled column pass holds two
// split columns.
inline dpwt2_step dpwt2_plan(int32_t n, int32_t s, int32_t m, bool from_source, int32_t W) {
    if (from_source && s == n && int64_t{n} * n >= fused_grid && m >= 2 &&
        int64_t{dpwt2_fused_slots(m)} * (n / 2) <= 3 * int64_t{n})
        return dpwt2_fused_first;
    if (m >= 2 && s >= 2 * m && s >= 16 && 2 * split_size(s, m) <= 3 * int64_t{n} &&
        dpwt2_shuffled_lanes(n, s, m, W) > 0)
        return dpwt2_shuffled;
    return dpwt2_by_row;
}

// The rows of an inverse panel, whose stage holds mc coarse and mc detail
// columns; one vector where not even a chunk fits.
inline int32_t idpwt2_panel_rows(int32_t n, int32_t e, int32_t m, int32_t W) {
    const int64_t slices = 2 * int64_t{(m + 1) / 2};
    const int32_t rows = panel_rows(e, chunk_rows(W), slices, slices, 4 * int64_t{n});
    return rows > 0 ? rows : W;
}

// The strategy of the inverse level of half side e (block side s = 2e). The
// level fuses its two passes when 2s + (mc - 1)e doubles fit the work
// array; otherwise its row pass runs as two passes of e rows (the top rows
// read the coarse block, the bottom rows the source).
inline idpwt2_step idpwt2_plan(int32_t n, int32_t e, int32_t m, int32_t W) {
    const int32_t mc = (m + 1) / 2;
    if (m > 0 && mc <= listed_taps && e >= 2 * mc && e % chunk_rows(W) == 0 &&
        4 * int64_t{e} + int64_t{mc - 1} * e <= 4 * int64_t{n})
        return idpwt2_fused;
    if (e >= 4 * mc && e >= 8 && mc <= listed_taps) return idpwt2_panel;
    return idpwt2_by_row;
}

} // namespace grid
} // namespace
