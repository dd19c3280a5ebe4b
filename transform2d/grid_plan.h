// The one place where the vector grid transforms choose how to run a level.
//
// Each level of dpwt2 and idpwt2 takes one of a few strategies, picked here
// from the grid side n, the block side s, the filter length m, whether the
// level reads a separate source, and the lane count W of the variant in use.
// The transforms follow the plan; a test lists the plans of its cases and
// checks that every strategy is reached on every variant.
//
// The work arrays are what the gateways obtain from the host: 3n doubles for
// the forward transform and 4n for the inverse. Every ring and panel below
// fits in them; nothing else is allocated.
#pragma once

#include <cstdint>

namespace {
namespace grid {

// How one forward level runs.
enum dpwt2_step : int32_t {
    // The first level from a separate source of a grid of fused_grid cells
    // or more, its column and row passes fused through a ring of filtered
    // half-columns (2 to 4 taps): it reads the source twice and writes the
    // result once instead of writing the column pass out and reading it
    // back.
    dpwt2_fused_first,
    // The column pass stores its columns shuffled (evens left, odds right),
    // and the row pass takes tall panels that save only column pairs.
    dpwt2_shuffled,
    // Filters of fewer than two taps, blocks smaller than 16 or than twice
    // the filter, and grids whose work array cannot hold the panel's ring:
    // row by row through the vector kernels.
    dpwt2_by_row,
};

// How one inverse level runs.
enum idpwt2_step : int32_t {
    // Row and column passes fused, one column pair at a time from the last
    // to the first.
    idpwt2_fused,
    // Row panels in chunks of chunk_rows(W) rows (or of one vector where
    // those do not fit), then the column pass.
    idpwt2_panel,
    // Blocks too small for a panel: row by row through upsum.
    idpwt2_by_row,
};

// Grids of this many cells or more (1024 squared) have their first forward
// level fused: below it, the column pass written out is read back from the
// caches, and the split columns and the shuffled panel measured faster.
constexpr int64_t fused_grid = int64_t{1} << 20;

// Rows per chunk of a panel: as many vectors as stay in registers.
constexpr int32_t chunk_rows(int32_t W) {
    return W == 2 ? 8 : 16;
}

// The most rows a panel takes at once: 2 KiB of each column it visits.
constexpr int32_t tallest_panel = 256;

// How many outputs ahead the staged row panels (the forward shuffled panel,
// the inverse panel) ask for the grid columns they will copy: the hardware
// prefetchers follow a column only within a page.
constexpr int32_t prefetch_ahead = 8;

// Filters up to this length have their tap columns listed once per output
// (the fused levels need the list, the shuffled panels use it when they can).
constexpr int32_t listed_taps = 32;

// The rows of a panel: a multiple of chunk, at most tallest_panel and the
// rows available, with slices * rows doubles fitting the room; 0 if not even
// one chunk fits.
inline int32_t panel_rows(int32_t available, int32_t chunk, int64_t slices, int64_t room) {
    int32_t rows = available < tallest_panel ? available : tallest_panel;
    if (slices > 0 && room / slices < rows) rows = static_cast<int32_t>(room / slices);
    rows -= rows % chunk;
    // Panels must tile the rows exactly; the row counts are powers of two.
    while (rows > chunk && available % rows != 0) rows -= chunk;
    return rows >= chunk && available % rows == 0 ? rows : 0;
}

// Columns 0 .. m-2 of a forward block are read again by the wrapping last
// outputs of its row pass, after the first outputs have overwritten them,
// so every forward panel keeps them from the start.
inline int64_t dpwt2_head_slots(int32_t m) {
    return m > 1 ? m - 1 : 0;
}

// Outputs per tile of the shuffled panel: each tap value serves this many
// outputs, and the lowpass and highpass sums make twice as many independent
// chains.
constexpr int32_t panel_tile = 4;

// The columns of the shuffled panel's stage that one tile reads: outputs
// i .. i + T - 1 (T = panel_tile) read columns 2i + 2 - m .. 2(i + T - 1) +
// m - 1, and the stage keeps whole pairs, so one column more at most.
inline int32_t dpwt2_window(int32_t m) {
    return 2 * panel_tile + 2 * m - 2;
}

// The most bytes the slices that every tap of a row panel reads (the
// shuffled forward panel's and the inverse panel's stages) take: they
// should stay in the first-level data cache.
constexpr int64_t staged_bytes = int64_t{24} << 10;

// Panel rows (a power of two, at least chunk) halved until the given number
// of slices of that many rows fits staged_bytes, or one chunk is left.
inline int32_t staged_rows(int32_t rows, int32_t chunk, int64_t slices) {
    while (rows > chunk && slices * rows * int64_t{sizeof(double)} > staged_bytes) rows /= 2;
    return rows;
}

// The staged panels (the forward shuffled panel, the inverse panel) lay out
// their slices from the first 64-byte boundary in the work array, so that a
// vector of rows is one cache line wherever the host put the array: of the
// room this many doubles less is theirs.
constexpr int32_t staging_slack = 7;
inline double *staging(double *work) {
    const auto past = reinterpret_cast<uintptr_t>(work) % 64;
    return work + (past ? (64 - past) / sizeof(double) : 0);
}
inline int64_t staging_room(int64_t room) {
    return room - staging_slack;
}

// The rows of the shuffled panel in the 3n work array; 0 if none fit.
inline int32_t dpwt2_shuffled_rows(int32_t n, int32_t s, int32_t m, int32_t W) {
    const int32_t window = dpwt2_window(m);
    const int64_t room = staging_room(3 * int64_t{n});
    return staged_rows(panel_rows(s, W, window + dpwt2_head_slots(m), room), W, window);
}

// The slices of the shuffled panel's stage for panels of the given rows: two
// windows where they fit beside the head, so that the window moves back to
// the front only every few tiles; one at least.
inline int32_t dpwt2_stage_slices(int32_t n, int32_t m, int32_t rows) {
    const int64_t fit = staging_room(3 * int64_t{n}) / rows - dpwt2_head_slots(m);
    return static_cast<int32_t>(fit < 2 * dpwt2_window(m) ? fit : 2 * dpwt2_window(m));
}

// The lanes of the shuffled panel's vectors (its rows are a multiple of
// them): the variant's W, or W/2 where not even W rows fit the work array
// (long filters on small grids); 0 where neither fits. Narrower vectors run
// the same sums on fewer rows at once.
inline int32_t dpwt2_shuffled_lanes(int32_t n, int32_t s, int32_t m, int32_t W) {
    if (dpwt2_shuffled_rows(n, s, m, W) > 0) return W;
    return W >= 4 && dpwt2_shuffled_rows(n, s, m, W / 2) > 0 ? W / 2 : 0;
}

// The fused first level (dpwt2_fused_first) keeps a ring of 2m - 2 filtered
// half-columns: output pair i reads the filtered columns 2i + 2 - m ..
// 2i + m - 1. Its n/2-double slots fit the 3n work array for 2 to 4 taps.
inline int32_t dpwt2_fused_slots(int32_t m) {
    return 2 * m - 2;
}

// Samples each half of a split column keeps past its ends, so that no tap
// wraps.
inline int32_t split_pad(int32_t m) {
    return m / 2 + 1;
}

// Doubles one split column of side s takes in the work array.
inline int64_t split_size(int32_t s, int32_t m) {
    return int64_t{s} + 4 * int64_t{split_pad(m)};
}

// The strategy of the forward level of block side s in a grid of side n;
// from_source says the level is the first and reads a separate source. The
// shuffled column pass holds two split columns in the 3n work array.
inline dpwt2_step dpwt2_plan(int32_t n, int32_t s, int32_t m, bool from_source, int32_t W) {
    if (from_source && s == n && int64_t{n} * n >= fused_grid && m >= 2 &&
        int64_t{dpwt2_fused_slots(m)} * (n / 2) <= 3 * int64_t{n})
        return dpwt2_fused_first;
    if (m >= 2 && s >= 2 * m && s >= 16 && 2 * split_size(s, m) <= 3 * int64_t{n} &&
        dpwt2_shuffled_lanes(n, s, m, W) > 0)
        return dpwt2_shuffled;
    return dpwt2_by_row;
}

// The strategy of the inverse level of half side e (block side 2e) in a grid
// of side n, read from a separate source. The level fuses its two passes
// when 2s + (mc - 1)e doubles of work fit the 4n work array; otherwise its
// row pass runs as two passes of e rows (the top rows read the coarse block,
// the bottom rows the source), in panels whose stage of 2mc slices always
// fits it.
inline idpwt2_step idpwt2_plan(int32_t n, int32_t e, int32_t m, int32_t W) {
    const int32_t mc = (m + 1) / 2;
    if (m > 0 && mc <= listed_taps && e >= 2 * mc && e % chunk_rows(W) == 0 &&
        4 * int64_t{e} + int64_t{mc - 1} * e <= 4 * int64_t{n})
        return idpwt2_fused;
    // The panels list the columns of their taps (at most listed_taps).
    if (e >= 4 * mc && e >= 8 && mc <= listed_taps) return idpwt2_panel;
    return idpwt2_by_row;
}

} // namespace grid
} // namespace
