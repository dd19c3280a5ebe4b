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

// The most rows a panel takes at once: 2 KiB of each column it visits.
constexpr int32_t tallest_panel = 256;

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

// Rows per chunk of a panel: as many vectors as stay in registers.
template <int W> constexpr int32_t chunk_rows() {
    return W == 2 ? 8 : 16;
}

// Forward row pass over the rows rows starting at grid (already moved to the
// panel's first row) of the block of side s, R rows at a time. head holds
// rows * (m - 1) doubles, ring rows * K.
template <int W, int R>
void down_panel(double *grid, int32_t n, int32_t s, const double *g, const double *h, int32_t m,
                int32_t rows, double *head, double *ring, int32_t K) {
    constexpr int V = R / W;
    const int32_t half = s / 2;
    const ptrdiff_t step = n;
    const ptrdiff_t slot_size = rows;
    for (int32_t c = 0; c + 1 < m; ++c) copy_lanes<W>(grid + step * c, head + slot_size * c, rows);
    int32_t slot = 0;
    for (int32_t i = 0; i < half; ++i) {
        // Where column c of the panel holds its original values at output i.
        auto at = [&](int32_t c) -> const double * {
            if (c < 0)
                c += s;
            else if (c >= s)
                c -= s;
            if (c < half) return c < i ? head + slot_size * c : grid + step * c;
            int32_t k = c - half;
            if (k >= i) return grid + step * c;
            if (k >= K) k -= K;
            return ring + slot_size * k;
        };
        // Most outputs read a window of columns that all sit in one place
        // with a fixed distance between them: the untouched lower half of
        // the grid, or consecutive slots of the ring. Tap j of the lowpass
        // sum then reads lo_base + j * stride, of the highpass sum
        // hi_base - j * stride.
        const int32_t first = 2 * i + 2 - m, last = 2 * i + m - 1;
        const double *lo_base = nullptr, *hi_base = nullptr;
        ptrdiff_t stride = 0;
        if (m > 1 && first >= i && last < half) {
            lo_base = grid + step * (2 * i);
            hi_base = lo_base + step;
            stride = step;
        } else if (m > 1 && first >= half && last - half < i) {
            int32_t k = first - half;
            if (k >= K) k -= K;
            if (k + (last - first) < K) {
                lo_base = ring + slot_size * (k + m - 2);
                hi_base = lo_base + slot_size;
                stride = slot_size;
            }
        }
        double *low = grid + step * i;
        double *high = grid + step * (half + i);
        double *saved = ring + slot_size * slot;
        for (int32_t r = 0; r < rows; r += R) {
            vec<W> lo[V], hi[V];
            for (int v = 0; v < V; ++v) lo[v] = hi[v] = vec<W>{};
            for (int32_t j = 0; j < m; ++j) {
                const double *p = (lo_base ? lo_base + stride * j : at(2 * i + j)) + r;
                for (int v = 0; v < V; ++v) lo[v] += h[j] * load<W>(p + v * W);
            }
            for (int32_t j = 0; j < m; ++j) {
                const double *p = (hi_base ? hi_base - stride * j : at(2 * i + 1 - j)) + r;
                for (int v = 0; v < V; ++v) hi[v] += g[j] * load<W>(p + v * W);
            }
            copy_slice<W, R>(high + r, saved + r);
            for (int v = 0; v < V; ++v) {
                store<W>(low + r + v * W, lo[v]);
                store<W>(high + r + v * W, hi[v]);
            }
        }
        if (++slot == K) slot = 0;
    }
}

// Filters up to this length have their tap columns listed once per output.
constexpr int32_t listed_taps = 32;

// Forward row pass of a block whose column pass stored column c at position
// c/2 (c even) or half + c/2 (c odd). Output i then overwrites positions i
// and half + i, which hold columns 2i and 2i + 1: only the next m/2 outputs
// still read them, so a ring of P column pairs suffices, and the panel can
// be tall. Columns 0 .. m-2, read again by the wrapping last outputs, are
// kept in head. head holds rows * (m - 1) doubles, ring rows * 2P.
template <int W, int R>
void down_shuffled_panel(double *grid, int32_t n, int32_t s, const double *g, const double *h,
                         int32_t m, int32_t rows, double *head, double *ring, int32_t P) {
    constexpr int V = R / W;
    const int32_t half = s / 2;
    const ptrdiff_t step = n;
    const ptrdiff_t slot_size = rows;
    auto position = [&](int32_t c) { return (c & 1) ? half + (c >> 1) : c >> 1; };
    for (int32_t c = 0; c + 1 < m; ++c)
        copy_lanes<W>(grid + step * position(c), head + slot_size * c, rows);
    int32_t slot = 0; // the ring slot of output i: i mod P
    for (int32_t i = 0; i < half; ++i) {
        auto at = [&](int32_t c) -> const double * {
            if (c < 0)
                c += s;
            else if (c >= s)
                c -= s;
            const int32_t t = c >> 1; // the output that overwrites column c
            if (t >= i) return grid + step * position(c);
            if (t + P > i) {
                int32_t k = slot - (i - t);
                if (k < 0) k += P;
                return ring + slot_size * (2 * k + (c & 1));
            }
            return head + slot_size * c;
        };
        double *low = grid + step * i;
        double *high = grid + step * (half + i);
        double *saved = ring + slot_size * (2 * slot);
        // The columns of the taps, found once for all chunks of the panel
        // (for filters of up to listed_taps taps).
        const double *lo_at[listed_taps], *hi_at[listed_taps];
        const bool listed = m <= listed_taps;
        if (listed)
            for (int32_t j = 0; j < m; ++j) {
                lo_at[j] = at(2 * i + j);
                hi_at[j] = at(2 * i + 1 - j);
            }
        for (int32_t r = 0; r < rows; r += R) {
            vec<W> lo[V], hi[V];
            for (int v = 0; v < V; ++v) lo[v] = hi[v] = vec<W>{};
            for (int32_t j = 0; j < m; ++j) {
                const double *p = (listed ? lo_at[j] : at(2 * i + j)) + r;
                for (int v = 0; v < V; ++v) lo[v] += h[j] * load<W>(p + v * W);
            }
            for (int32_t j = 0; j < m; ++j) {
                const double *p = (listed ? hi_at[j] : at(2 * i + 1 - j)) + r;
                for (int v = 0; v < V; ++v) hi[v] += g[j] * load<W>(p + v * W);
            }
            copy_slice<W, R>(low + r, saved + r);
            copy_slice<W, R>(high + r, saved + slot_size + r);
            for (int v = 0; v < V; ++v) {
                store<W>(low + r + v * W, lo[v]);
                store<W>(high + r + v * W, hi[v]);
            }
        }
        if (++slot == P) slot = 0;
    }
}

// The row pass of one forward level on the block of side s. With shuffled,
// the column pass stored the columns as down_shuffled_panel expects.
template <int W>
void rows_down(double *grid, int32_t n, int32_t s, const double *g, const double *h, int32_t m,
               bool shuffled, double *work) {
    constexpr int32_t R = chunk_rows<W>();
    const int32_t half = s / 2;
    const int64_t room = 3 * int64_t{n};
    const int64_t head = m > 1 ? m - 1 : 0;
    if (shuffled) {
        const int32_t P = (m + 1) / 2 + 2;
        const int32_t rows = panel_rows(s, R, 2 * int64_t{P} + head, room);
        double *ring = work + rows * head;
        for (int32_t r = 0; r < s; r += rows)
            down_shuffled_panel<W, R>(grid + r, n, s, g, h, m, rows, work, ring, P);
        return;
    }
    const int32_t K = half / 2 + m + 2;
    if (s >= 2 * m && s >= 16) {
        const int64_t slices = int64_t{K} + head;
        int32_t rows = panel_rows(s, R, slices, room);
        int32_t chunk = R;
        if (!rows && W < R && W * slices <= room) rows = chunk = W;
        if (rows) {
            double *ring = work + rows * head;
            for (int32_t r = 0; r < s; r += rows) {
                if (chunk == R)
                    down_panel<W, R>(grid + r, n, s, g, h, m, rows, work, ring, K);
                else
                    down_panel<W, W>(grid + r, n, s, g, h, m, rows, work, ring, K);
            }
            return;
        }
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

// The column pass of a level, in place, storing the filtered column c at
// position c/2 (c even) or half + c/2 (c odd) for down_shuffled_panel. That
// move rotates the bits of c right by one, so the columns fall into cycles
// of at most log2(s) columns; each cycle is followed from its smallest
// column, the column about to be overwritten saved first. Uses two scratch
// columns of the work array.
template <int W>
void columns_down_shuffled(double *grid, int32_t n, int32_t s, const double *g, const double *h,
                           int32_t m, double *work) {
    const int32_t half = s / 2;
    const ptrdiff_t step = n;
    auto position = [&](int32_t c) { return (c & 1) ? half + (c >> 1) : c >> 1; };
    for (int32_t first = 0; first < s; ++first) {
        bool leads = true;
        for (int32_t c = position(first); c != first; c = position(c))
            if (c < first) {
                leads = false;
                break;
            }
        if (!leads) continue;
        double *held = work, *spare = work + n;
        copy_lanes<W>(grid + step * first, held, s);
        for (int32_t c = first;;) {
            const int32_t p = position(c);
            double *column = grid + step * p;
            if (p != first) copy_lanes<W>(column, spare, s);
            downlo_lanes<W>(held, s, h, m, column);
            downhi_lanes<W>(held, s, g, m, column + half);
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
// down_panel.
template <int W>
void down_fused_level(const double *src, double *out, int32_t n, const double *g, const double *h,
                      int32_t m, bool nt, double *ring) {
    constexpr int32_t R = chunk_rows<W>();
    constexpr int V = R / W;
    const int32_t s = n, half = n / 2;
    const int32_t K = 2 * m - 2;
    const ptrdiff_t step = n;
    const double *lo_at[listed_taps], *hi_at[listed_taps];
    for (int32_t part = 0; part < 2; ++part) {
        // Filters column u mod s (u may lie outside 0 .. s-1) into slot.
        auto fill = [&](int32_t u, int32_t slot) {
            double *to = ring + ptrdiff_t{half} * slot;
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
                lo_at[j] = ring + ptrdiff_t{half} * k;
                k = b + 1 - j;
                if (k < 0) k += K;
                if (k >= K) k -= K;
                hi_at[j] = ring + ptrdiff_t{half} * k;
            }
            double *low = out + step * i + part * half;
            double *high = low + step * half;
            for (int32_t r = 0; r < half; r += R) {
                vec<W> lo[V], hi[V];
                for (int v = 0; v < V; ++v) lo[v] = hi[v] = vec<W>{};
                for (int32_t j = 0; j < m; ++j)
                    for (int v = 0; v < V; ++v) lo[v] += h[j] * load<W>(lo_at[j] + r + v * W);
                for (int32_t j = 0; j < m; ++j)
                    for (int v = 0; v < V; ++v) hi[v] += g[j] * load<W>(hi_at[j] + r + v * W);
                for (int v = 0; v < V; ++v) {
                    put<W>(low + r + v * W, lo[v], nt);
                    put<W>(high + r + v * W, hi[v], nt);
                }
            }
        }
    }
    if (nt) _mm_sfence();
}

// Whether down_fused_level takes the first level of a grid of side n: its
// ring must fit the work array of 3n doubles, which holds for filters of 2
// to 4 taps.
template <int W> bool fuses_first(int32_t n, int32_t m) {
    return m >= 2 && n / 2 >= chunk_rows<W>() && int64_t{2 * m - 2} * (n / 2) <= 3 * int64_t{n};
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
    // copying it into the result first. Blocks large enough for the
    // shuffled row pass, whose panels can be tall, have their columns
    // stored shuffled (evens to the left half, odds to the right).
    bool from_src = src != out;
    int32_t size = n;
    if (from_src && fuses_first<W>(n, m)) {
        // The result's stores go around the caches when the grid is large:
        // the next level reads back only a quarter of it.
        const bool nt = int64_t{n} * n >= 2 * int64_t{stream_from} && vector_aligned<W>(out);
        down_fused_level<W>(src, out, n, g, h, m, nt, work);
        from_src = false;
        size = n / 2;
    }
    for (int32_t lev = size == n ? J - 1 : J - 2; lev >= stop; --lev) {
        const int32_t half = size / 2;
        // cppcheck-suppress redundantAssignment ; a fresh value on every level
        const bool shuffled =
            size >= 64 && size >= 4 * m + 8 &&
            panel_rows(size, chunk_rows<W>(), 2 * int64_t{(m + 1) / 2 + 2} + (m > 1 ? m - 1 : 0),
                       3 * int64_t{n}) > 0;
        if (shuffled && !from_src) {
            columns_down_shuffled<W>(out, n, size, g, h, m, work);
        } else {
            // A large first level leaves the caches long before its row pass
            // reads the columns back: its stores go around the caches.
            // cppcheck-suppress redundantAssignment ; from_src is read on every level
            const bool nt = from_src && int64_t{size} * size >= 2 * int64_t{stream_from};
            for (int32_t c = 0; c < size; ++c) {
                const int32_t place = shuffled ? ((c & 1) ? half + (c >> 1) : c >> 1) : c;
                double *column = out + step * place;
                const double *x = src + step * c;
                if (!from_src) {
                    copy_lanes<W>(column, work, size);
                    x = work;
                }
                if (nt) {
                    downlo_lanes<W, true>(x, size, h, m, column);
                    downhi_lanes<W, true>(x, size, g, m, column + half);
                } else {
                    downlo_lanes<W>(x, size, h, m, column);
                    downhi_lanes<W>(x, size, g, m, column + half);
                }
            }
        }
        rows_down<W>(out, n, size, g, h, m, shuffled, work);
        from_src = false;
        size = half;
    }
}

// One tap of both upsampled sums of an inverse row pass for the V vectors of
// rows at p: every tap meets the even sum (first), the leading mf taps the
// odd sum as well (second, only read when both is set).
template <int W, int V>
inline void up_tap(const double *p, double first, const double *second, bool both, vec<W> *even,
                   vec<W> *odd) {
    for (int v = 0; v < V; ++v) {
        const vec<W> x = load<W>(p + v * W);
        even[v] += first * x;
        if (both) odd[v] += *second * x;
    }
}

// Inverse row pass over the rows rows starting at out (moved to the panel's
// first row) of the block of side 2e, R rows at a time. Coarse column c is
// read at lo + n*c, detail column c at hi + n*(e + c); either may be out
// itself, and only then is it saved before being overwritten. head holds
// rows * (mc - 1) doubles, ring rows * K.
template <int W, int R>
void up_panel(double *out, const double *lo, const double *hi, int32_t n, int32_t e,
              const double *g, const double *h, int32_t m, int32_t rows, double *head, double *ring,
              int32_t K) {
    constexpr int V = R / W;
    const ptrdiff_t step = n;
    const ptrdiff_t slot_size = rows;
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    const bool lo_here = lo == out;
    const bool hi_here = hi == out;
    if (hi_here)
        for (int32_t c = 0; c + 1 < mc; ++c)
            copy_lanes<W>(out + step * (e + c), head + slot_size * c, rows);
    for (int32_t i = 0; i < e; ++i) {
        auto lo_at = [&](int32_t c) -> const double * {
            if (c < 0) c += e;
            if (lo_here && c < 2 * i) return ring + slot_size * (c >= K ? c - K : c);
            return lo + step * c;
        };
        auto hi_at = [&](int32_t c) -> const double * {
            if (c >= e) c -= e;
            if (hi_here && e + c < 2 * i) return head + slot_size * c;
            return hi + step * (e + c);
        };
        // Away from the wrap, coarse column i - j lies at lo_base - j * lo_stride
        // (in the ring once overwritten, else in place) and detail column
        // i + j at hi_base + j * step.
        const double *lo_base = nullptr, *hi_base = nullptr;
        ptrdiff_t lo_stride = 0;
        if (i + 1 >= mc) {
            if (!lo_here) {
                lo_base = lo + step * i;
                lo_stride = step;
            } else if (i >= 1) {
                const int32_t k = i >= K ? i - K : i;
                if (k + 1 >= mc) {
                    lo_base = ring + slot_size * k;
                    lo_stride = slot_size;
                }
            }
        }
        if (i + mc <= e) hi_base = hi + step * (e + i);
        double *even = out + step * (2 * i);
        double *odd = even + step;
        double *save_even = nullptr, *save_odd = nullptr;
        if (lo_here && 2 * i < e) {
            const int32_t k = 2 * i >= K ? 2 * i - K : 2 * i;
            save_even = ring + slot_size * k;
            save_odd = ring + slot_size * (k + 1 == K ? 0 : k + 1);
        }
        for (int32_t r = 0; r < rows; r += R) {
            vec<W> a0[V], a1[V], b0[V], b1[V];
            for (int v = 0; v < V; ++v) a0[v] = a1[v] = b0[v] = b1[v] = vec<W>{};
            for (int32_t j = 0; j < mc; ++j)
                up_tap<W, V>((lo_base ? lo_base - lo_stride * j : lo_at(i - j)) + r, h[2 * j],
                             h + 2 * j + 1, j < mf, a0, a1);
            for (int32_t j = 0; j < mc; ++j)
                up_tap<W, V>((hi_base ? hi_base + step * j : hi_at(i + j)) + r, g[2 * j],
                             g + 2 * j + 1, j < mf, b1, b0);
            if (save_even) {
                copy_slice<W, R>(even + r, save_even + r);
                copy_slice<W, R>(odd + r, save_odd + r);
            }
            for (int v = 0; v < V; ++v) {
                store<W>(even + r + v * W, a0[v] + b0[v]);
                store<W>(odd + r + v * W, a1[v] + b1[v]);
            }
        }
    }
}

template <int W, int R>
void up_panels(double *out, const double *lo, const double *hi, int32_t n, int32_t e, int32_t r0,
               int32_t r1, const double *g, const double *h, int32_t m, int32_t rows, double *work,
               int32_t K) {
    const int32_t mc = (m + 1) / 2;
    double *head = work;
    // cppcheck-suppress [redundantInitialization, unreadVariable] ; both are read by every panel
    double *ring = work + ptrdiff_t{rows} * (mc > 1 ? mc - 1 : 0);
    for (int32_t r = r0; r < r1; r += rows)
        up_panel<W, R>(out + r, lo + r, hi + r, n, e, g, h, m, rows, head, ring, K);
}

// The row pass of one inverse level, rows r0 .. r1-1 of the block of side
// 2e, coarse halves read from lo and detail halves from hi (see up_panel).
template <int W>
void rows_up(double *out, const double *lo, const double *hi, int32_t n, int32_t e, int32_t r0,
             int32_t r1, const double *g, const double *h, int32_t m, double *work) {
    constexpr int32_t R = chunk_rows<W>();
    const int32_t mc = (m + 1) / 2;
    const int32_t K = e / 2 + mc + 2;
    const int64_t slices = (lo == out ? int64_t{K} : 0) + (hi == out && mc > 1 ? mc - 1 : 0);
    if (e >= 4 * mc && e >= 8) {
        const int32_t rows = panel_rows(r1 - r0, R, slices, 4 * int64_t{n});
        if (rows) return up_panels<W, R>(out, lo, hi, n, e, r0, r1, g, h, m, rows, work, K);
        if (W < R && (r1 - r0) % W == 0 && W * slices <= 4 * int64_t{n})
            return up_panels<W, W>(out, lo, hi, n, e, r0, r1, g, h, m, W, work, K);
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

// The levels start .. J-1 rebuilt in place in the block of side 2^J at grid
// (column stride n).
template <int W>
void up_levels(double *grid, int32_t n, int32_t start, int32_t J, const double *g, const double *h,
               int32_t m, double *work) {
    const ptrdiff_t step = n;
    int32_t e = int32_t{1} << start;
    for (int32_t lev = start; lev < J; ++lev) {
        const int32_t s = 2 * e;
        rows_up<W>(grid, grid, grid, n, e, 0, s, g, h, m, work);
        for (int32_t c = 0; c < s; ++c) {
            double *column = grid + step * c;
            copy_lanes<W>(column, work, s);
            upsum_lanes<W>(work, work + e, e, g, h, m, column);
        }
        e = s;
    }
}

// The row pass's columns 2i and 2i + 1 of up_fused_level over rows base ..
// base + e - 1: coarse column i - j at lo[j], detail column i + j at hi[j]
// (both indexed by row). MC fixes the taps per branch at compile time for
// even filters (mc = mf = MC); 0 reads them from mc and mf.
template <int W, int MC>
void pair_rows(const double *const *lo, const double *const *hi, int32_t base, int32_t e,
               const double *g, const double *h, int32_t mc_any, int32_t mf_any, double *even_col,
               double *odd_col) {
    constexpr int32_t R = chunk_rows<W>();
    constexpr int V = R / W;
    const int32_t mc = MC ? MC : mc_any;
    const int32_t mf = MC ? MC : mf_any;
    for (int32_t r = 0; r < e; r += R) {
        vec<W> a0[V], a1[V], b0[V], b1[V];
        for (int v = 0; v < V; ++v) a0[v] = a1[v] = b0[v] = b1[v] = vec<W>{};
        for (int32_t j = 0; j < mc; ++j)
            up_tap<W, V>(lo[j] + base + r, h[2 * j], h + 2 * j + 1, j < mf, a0, a1);
        for (int32_t j = 0; j < mc; ++j)
            up_tap<W, V>(hi[j] + base + r, g[2 * j], g + 2 * j + 1, j < mf, b1, b0);
        for (int v = 0; v < V; ++v) {
            store<W>(even_col + base + r + v * W, a0[v] + b0[v]);
            store<W>(odd_col + base + r + v * W, a1[v] + b1[v]);
        }
    }
}

// One inverse level with a separate source, its row and column passes
// fused: the block of side s = 2e at block (column stride n) is rebuilt a
// column pair at a time, from the last pair to the first. Pair i is the row
// pass's columns 2i and 2i + 1 over all s rows (lane l of a vector is row
// r + l, as in up_panel), built in two work columns and then filtered down
// the column straight into the block, so each level reads its inputs and
// writes its block once. Rows 0 .. e-1 read their coarse half from coarse
// (the bottom half of the block's first e columns), rows e .. s-1 from the
// source; all detail halves come from the source. Pair i overwrites coarse
// columns 2i and 2i + 1, which only pairs 2i .. 2i + mc are left to read, all
// done by then; the wrapping first pairs read the last mc - 1 coarse columns,
// saved before the first write. Needs 2s + (mc - 1) e doubles of work.
template <int W>
void up_fused_level(double *block, const double *coarse, const double *src, int32_t n, int32_t e,
                    const double *g, const double *h, int32_t m, bool nt, double *work) {
    const ptrdiff_t step = n;
    const int32_t s = 2 * e;
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    double *even_col = work, *odd_col = work + s, *head = work + 2 * ptrdiff_t{s};
    // head slot k holds coarse column e - mc + 1 + k.
    for (int32_t k = 0; k + 1 < mc; ++k)
        copy_lanes<W>(coarse + step * (e - mc + 1 + k), head + ptrdiff_t{e} * k, e);
    auto rows = m == 4 ? pair_rows<W, 2> : m == 8 ? pair_rows<W, 4> : pair_rows<W, 0>;
    const double *lo_top[listed_taps], *lo_bottom[listed_taps], *hi[listed_taps];
    for (int32_t i = e - 1; i >= 0; --i) {
        for (int32_t j = 0; j < mc; ++j) {
            int32_t c = i - j;
            if (c < 0) {
                c += e;
                lo_top[j] = head + ptrdiff_t{e} * (c - (e - mc + 1));
            } else {
                lo_top[j] = coarse + step * c;
            }
            // Rows e .. s-1 of the source, indexed from row 0 like the rest.
            lo_bottom[j] = src + step * c;
            c = i + j;
            if (c >= e) c -= e;
            hi[j] = src + step * (e + c);
        }
        rows(lo_top, hi, 0, e, g, h, mc, mf, even_col, odd_col);
        rows(lo_bottom, hi, e, e, g, h, mc, mf, even_col, odd_col);
        double *even = block + step * (2 * i);
        if (nt) {
            upsum_lanes<W, true>(even_col, even_col + e, e, g, h, m, even);
            upsum_lanes<W, true>(odd_col, odd_col + e, e, g, h, m, even + step);
        } else {
            upsum_lanes<W>(even_col, even_col + e, e, g, h, m, even);
            upsum_lanes<W>(odd_col, odd_col + e, e, g, h, m, even + step);
        }
    }
}

// Whether up_fused_level takes the level of half side e in a grid of side n.
template <int W> bool fuses(int32_t n, int32_t e, int32_t m) {
    const int32_t mc = (m + 1) / 2;
    return m > 0 && mc <= listed_taps && e >= 2 * mc && e % chunk_rows<W>() == 0 &&
           4 * int64_t{e} + int64_t{mc - 1} * e <= 4 * int64_t{n};
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
    if (src == out) return up_levels<W>(out, n, start, J, g, h, m, work);
    // With a separate source, the block that a level rebuilds sits in the
    // bottom-left corner of the result, and the coarse block it reads (the
    // previous level's block, or a copy of the source's for the first) in
    // the bottom half of it. The top rows of the block read the coarse block
    // and the source and overwrite neither; the bottom rows read only the
    // source. No input is overwritten before it is read, so the row passes
    // save nothing and take tall panels; the last level's block is the
    // whole result.
    int32_t e = int32_t{1} << start;
    double *coarse = out + (n - e);
    for (int32_t c = 0; c < e; ++c) copy_lanes<W>(src + step * c, coarse + step * c, e);
    for (int32_t lev = start; lev < J; ++lev) {
        const int32_t s = 2 * e;
        double *block = out + (n - s);
        if (fuses<W>(n, e, m)) {
            // The last level's block is the result, read by no later level.
            const bool nt = lev + 1 == J && int64_t{s} * s >= 2 * int64_t{stream_from};
            up_fused_level<W>(block, coarse, src, n, e, g, h, m, nt, work);
            coarse = block;
            e = s;
            continue;
        }
        rows_up<W>(block, coarse, src, n, e, 0, e, g, h, m, work);
        rows_up<W>(block, src, src, n, e, e, s, g, h, m, work);
        for (int32_t c = 0; c < s; ++c) {
            double *column = block + step * c;
            copy_lanes<W>(column, work, s);
            upsum_lanes<W>(work, work + e, e, g, h, m, column);
        }
        coarse = block;
        e = s;
    }
}

} // namespace
