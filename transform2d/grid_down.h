// The passes of the vector forward grid transform, written once over the
// lane count W and compiled for each instruction set through grid_forms.h;
// grid_plan.h chooses which of them a level takes.
//
// The column passes run the vector filtering kernels on each contiguous
// column. The row passes take a panel of R adjacent rows at a time: in a
// column-major grid the panel's entries in one column are R contiguous
// doubles, so lane l of every vector belongs to row r0 + l and performs that
// row's scalar sum unchanged. Every result therefore equals the plain
// transform's bit for bit.
//
// A panel is filtered in place. Outputs are produced in increasing order, and
// the only inputs a later output still needs after they are overwritten are
// saved to the work array first (the rings of grid_plan.h).
#pragma once

#include "../kernels/periodic/lanes_body.h"
#include "grid_plan.h"

#include <cstddef>
#include <cstdint>

namespace {

template <int W, int R> inline void copy_slice(const double *from, double *to) {
    for (int v = 0; v < R / W; ++v) store<W>(to + v * W, load<W>(from + v * W));
}

// The column pass through split samples. Tap j of output i of the lowpass
// filter reads x[2i + j], which is E[i + j/2] for even j and O[i + j/2] for
// odd j, where E and O hold the even and odd samples of x; tap j of the
// highpass filter reads x[2i + 1 - j], which is O[i - j/2] for even j and
// E[i - j/2] for odd j. Once a column is split (one pass of shuffles), every
// tap of a block of W outputs is one plain load, multiply and add; the sums
// keep their order, so the results are the kernels' bit for bit.

// Samples each split half keeps past its ends, so that no tap wraps.
inline int32_t split_pad(int32_t m) {
    return m / 2 + 1;
}

// Doubles one split column of side s takes in the work array.
inline int64_t split_size(int32_t s, int32_t m) {
    return int64_t{s} + 4 * int64_t{split_pad(m)};
}

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
    for (int32_t t = 1; t <= pad; ++t) {
        const int32_t before = (half - t % half) % half, after = (t - 1) % half;
        E[-t] = E[before];
        O[-t] = O[before];
        E[half + t - 1] = E[after];
        O[half + t - 1] = O[after];
    }
}

// The lowpass and highpass outputs of a column split into buffer (s
// samples), into lo[0 .. s/2-1] and hi[0 .. s/2-1]; with nt the vector
// stores stream (lo and hi vector-aligned).
template <int W>
void down_split(const double *buffer, int32_t s, const double *g, const double *h, int32_t m,
                double *lo, double *hi, bool nt) {
    const int32_t count = s / 2, pad = split_pad(m);
    const double *E = buffer + pad, *O = E + count + 2 * pad;
    // B blocks of W outputs at a time, the lowpass and highpass sums side
    // by side: 2B independent sums keep the adders busy through their
    // latency. Taps go in pairs (an even one, then an odd one).
    auto blocks = [&]<int B>(int32_t i) {
        vec<W> l[B], u[B];
        for (int b = 0; b < B; ++b) l[b] = u[b] = vec<W>{};
        int32_t j = 0;
        for (; j + 1 < m; j += 2) {
            const int32_t t = j / 2;
            for (int b = 0; b < B; ++b) {
                l[b] += h[j] * load<W>(E + i + t + b * W);
                u[b] += g[j] * load<W>(O + i - t + b * W);
                l[b] += h[j + 1] * load<W>(O + i + t + b * W);
                u[b] += g[j + 1] * load<W>(E + i - t + b * W);
            }
        }
        if (j < m)
            for (int b = 0; b < B; ++b) {
                l[b] += h[j] * load<W>(E + i + j / 2 + b * W);
                u[b] += g[j] * load<W>(O + i - j / 2 + b * W);
            }
        for (int b = 0; b < B; ++b) {
            put<W>(lo + i + b * W, l[b], nt);
            put<W>(hi + i + b * W, u[b], nt);
        }
    };
    int32_t i = 0;
    for (; i + 4 * W <= count; i += 4 * W) blocks.template operator()<4>(i);
    for (; i + W <= count; i += W) blocks.template operator()<1>(i);
    for (; i < count; ++i) {
        double l = 0.0, u = 0.0;
        int32_t j = 0;
        for (; j + 1 < m; j += 2) {
            l += h[j] * E[i + j / 2];
            u += g[j] * O[i - j / 2];
            l += h[j + 1] * O[i + j / 2];
            u += g[j + 1] * E[i - j / 2];
        }
        if (j < m) {
            l += h[j] * E[i + j / 2];
            u += g[j] * O[i - j / 2];
        }
        lo[i] = l;
        hi[i] = u;
    }
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
                const double *q = (hi_base ? hi_base - stride * j : at(2 * i + 1 - j)) + r;
                for (int v = 0; v < V; ++v) {
                    lo[v] += h[j] * load<W>(p + v * W);
                    hi[v] += g[j] * load<W>(q + v * W);
                }
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

// Forward row pass of a block whose column pass stored column c at position
// c/2 (c even) or half + c/2 (c odd), so that pair t (columns 2t and 2t + 1)
// sits at positions t and half + t and output i overwrites pair i. Each pair
// is copied into a ring of P pairs (contiguous slices) just before the
// first output that reads it, and every tap reads the ring: a grid's
// columns lie a power-of-two stride apart, so read in place the m columns of
// a window would compete for the same few cache sets, while the ring's
// slices take distinct ones. Output i reads pairs i - m/2 .. i + (m+1)/2 - 1
// and the ring holds the last P pairs copied, up to i + (m+1)/2 - 1, so
// P >= m keeps every window in it. The copy also saves each pair before its
// output overwrites it. Columns 0 .. m-2, read again by the wrapping last
// outputs, are kept in head. head holds rows * (m - 1) doubles, ring
// rows * 2P.
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
    const int32_t ahead = (m + 1) / 2; // the pairs output i's lowpass sum reads: i .. i + ahead - 1
    int32_t copied = 0;                // pairs 0 .. copied - 1 have entered the ring
    int32_t next_slot = 0;             // the slot of pair copied: copied mod P
    for (int32_t i = 0; i < half; ++i) {
        for (const int32_t want = i + ahead < half ? i + ahead : half; copied < want; ++copied) {
            double *to = ring + slot_size * (2 * next_slot);
            copy_lanes<W>(grid + step * copied, to, rows);
            copy_lanes<W>(grid + step * (half + copied), to + slot_size, rows);
            if (++next_slot == P) next_slot = 0;
            // The hardware prefetchers follow a column only within a page:
            // ask for the pair copied a few outputs later now.
            if (copied + prefetch_ahead < half)
                for (int32_t r = 0; r < rows; r += 8) {
                    __builtin_prefetch(grid + step * (copied + prefetch_ahead) + r);
                    __builtin_prefetch(grid + step * (half + copied + prefetch_ahead) + r);
                }
        }
        auto at = [&](int32_t c) -> const double * {
            if (c < 0)
                c += s;
            else if (c >= s)
                c -= s;
            const int32_t t = c >> 1;
            if (t < copied && t + P >= copied) {
                int32_t k = next_slot - (copied - t);
                if (k < 0) k += P;
                return ring + slot_size * (2 * k + (c & 1));
            }
            if (t >= i) return grid + step * position(c);
            return head + slot_size * c;
        };
        double *low = grid + step * i;
        double *high = grid + step * (half + i);
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
            // The lowpass and highpass sums side by side: 2V independent
            // sums keep the adders busy through their latency.
            for (int32_t j = 0; j < m; ++j) {
                const double *p = (listed ? lo_at[j] : at(2 * i + j)) + r;
                const double *q = (listed ? hi_at[j] : at(2 * i + 1 - j)) + r;
                for (int v = 0; v < V; ++v) {
                    lo[v] += h[j] * load<W>(p + v * W);
                    hi[v] += g[j] * load<W>(q + v * W);
                }
            }
            for (int v = 0; v < V; ++v) {
                store<W>(low + r + v * W, lo[v]);
                store<W>(high + r + v * W, hi[v]);
            }
        }
    }
}

// The column pass of a level, in place, storing the filtered column c at
// position c/2 (c even) or half + c/2 (c odd) for down_shuffled_panel. That
// move rotates the bits of c right by one, so the columns fall into cycles
// of at most log2(s) columns; each cycle is followed from its smallest
// column, the column about to be overwritten split (saved) first. Uses two
// split columns of the work array (the plan keeps s >= 4m + 8, so they fit).
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
// down_panel.
template <int W>
void down_fused_level(const double *src, double *out, int32_t n, const double *g, const double *h,
                      int32_t m, bool nt, double *ring) {
    constexpr int32_t R = chunk_rows(W);
    constexpr int V = R / W;
    const int32_t s = n, half = n / 2;
    const int32_t K = dpwt2_fused_slots(m);
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
    if (nt) stream_fence();
}

} // namespace
