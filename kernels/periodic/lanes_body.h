// Vector forms of the periodized filtering kernels, written once over the
// lane count W and compiled for each instruction set through lanes_forms.h:
// the adaptors that feed a signal, read in place, to the tiled sums of
// tile.h. Lane l of a vector is output i0 + l, its scalar sum unchanged, so
// the results equal the plain kernels' bit for bit. Outputs whose window
// leaves the period, and the few after the last tile, go through the shared
// wrapped sums. A signal's samples mostly come from memory, where tiles of
// one vector (two for the summed synthesis, whose branches already make
// four sums) keep up best with the loads.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../simd/lanes.h"
#include "../sums.h"
#include "tile.h"

namespace {
namespace signal_lanes {

// The outputs of one call of a kernel from which its vector stores stream.
constexpr int32_t stream_from = int32_t{1} << 21;

// A signal read in place for analysis, from sample 2i0 on: vector k holds
// outputs i0 + kW .. i0 + kW + W - 1. Tap j of the lowpass sum of output i
// reads x[2i + j], of the highpass sum x[2i + 1 - j]: the even or odd lanes
// of two loads, the same two for taps j and j + 1.
template <int W> struct signal_pairs {
    const double *w; // x + 2 i0
    template <int P> vec<W> lo(int32_t j, int k) const {
        const double *p = w + (j - P) + 2 * k * W;
        const vec<W> a = load<W>(p), b = load<W>(p + W);
        return P ? lanes<W>::odd(a, b) : lanes<W>::even(a, b);
    }
    template <int P> vec<W> hi(int32_t j, int k) const {
        const double *p = w - (j - P) + 2 * k * W;
        const vec<W> a = load<W>(p), b = load<W>(p + W);
        return P ? lanes<W>::even(a, b) : lanes<W>::odd(a, b);
    }
};

// The two halves of a signal read in place for synthesis: vector k holds
// samples i0 + kW ..; coarse tap j reads lo[i - j], detail tap j hi[i + j].
template <int W> struct signal_halves {
    const double *lo, *hi; // lo + i0, hi + i0
    vec<W> c(int32_t j, int k) const { return load<W>(lo - j + k * W); }
    vec<W> d(int32_t j, int k) const { return load<W>(hi + j + k * W); }
};

// Makes the outputs 0 .. count-1 of a kernel: tile<K>(i, nt) over from ..
// end-1, where no window wraps, one(i) for the rest. With stream (large
// outputs), a few more outputs through one(i) bring y (to doubles an
// output) to a vector boundary, and the tiles' stores go around the caches.
template <int W, int KMAX, class Tile, class One>
WAVELET_TILE_INLINE inline void outputs(double *y, int32_t to, int32_t count, int32_t from,
                                        int32_t end, bool stream, Tile &&tile, One &&one) {
    int32_t i = 0;
    for (; i < from; ++i) one(i);
    for (int k = 0; stream && k < W && i < end && !vector_aligned<W>(y + to * i); ++k) one(i++);
    const bool nt = stream && vector_aligned<W>(y + to * i);
    i = tiles::tiled<W, KMAX>(i, end, [&]<int K>(int32_t at) WAVELET_TILE_INLINE {
        tile.template operator()<K>(at, nt);
    });
    for (; i < count; ++i) one(i);
    if (nt) stream_fence();
}

// An analysis kernel: y[i] = lowpass (LO) or highpass output i of x, i = 0
// .. n/2 - 1, through the wrapped sum one(i) outside from .. end-1.
template <int W, bool LO, class One>
void down_signal(const double *x, int32_t n, const double *f, int32_t m, double *y, int32_t from,
                 int32_t end, bool stream, One &&one) {
    auto tile = [&]<int K>(int32_t at, bool nt) WAVELET_TILE_INLINE {
        vec<W> lo[K], hi[K];
        tiles::analyse<W, K, LO, !LO>(signal_pairs<W>{x + 2 * at}, f, f, m, lo, hi);
        for (int k = 0; k < K; ++k) put<W>(y + at + k * W, LO ? lo[k] : hi[k], nt);
    };
    outputs<W, 1>(y, 1, n / 2, from, end, stream, tile, [&](int32_t i) { y[i] = one(i); });
}

// y[i] = sum_j h[j] x[(2i + j) mod n]. A tile at i reads x[2i .. 2i + 2KW +
// m - 2] at most (the pair loads of an unpaired last tap reach one sample
// past its window), so tiles end where 2i + 2W + m - 1 would pass n.
template <int W>
void downlo_lanes(const double *x, int32_t n, const double *h, int32_t m, double *y,
                  bool stream = false) {
    int32_t end = m <= n ? (n - m + 1) / 2 : 0;
    if (end > n / 2) end = n / 2;
    down_signal<W, true>(x, n, h, m, y, 0, end, stream,
                         [&](int32_t i) { return sum_forward(x, n, 2 * i, h, 0, 1, m); });
}

// y[i] = sum_j g[j] x[(2i + 1 - j) mod n]. Tap m - 1 of output i reads down
// to x[2i + 2 - m], so tiles start at the first output whose window stays
// at or above x[0].
template <int W>
void downhi_lanes(const double *x, int32_t n, const double *g, int32_t m, double *y,
                  bool stream = false) {
    const int32_t half = n / 2;
    int32_t first = m > 0 ? (m + 1) / 2 - 1 : 0;
    if (first > half) first = half;
    down_signal<W, false>(x, n, g, m, y, first, half, stream,
                          [&](int32_t i) { return sum_backward(x, n, 2 * i + 1, g, 0, 1, m); });
}

// A synthesis kernel: the coarse branch (C) of lo, the detail branch (D) of
// hi, or their sum, into y[2i] and y[2i + 1] for i = 0 .. e - 1, one(i)
// making both outputs of i outside from .. end-1.
template <int W, bool C, bool D, class One>
void up_signal(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
               int32_t m, double *y, int32_t from, int32_t end, bool stream, One &&one) {
    auto tile = [&]<int K>(int32_t at, bool nt) WAVELET_TILE_INLINE {
        vec<W> even[K], odd[K];
        tiles::synthesise<W, K, C, D>(signal_halves<W>{lo + at, hi + at}, h, g, m, even, odd);
        for (int k = 0; k < K; ++k) {
            put<W>(y + 2 * (at + k * W), lanes<W>::zip_lo(even[k], odd[k]), nt);
            put<W>(y + 2 * (at + k * W) + W, lanes<W>::zip_hi(even[k], odd[k]), nt);
        }
    };
    outputs<W, C && D ? 2 : 1>(y, 2, e, from, end, stream, tile, one);
}

// y[2i] = sum_j h[2j] x[(i - j) mod n], y[2i+1] = sum_j h[2j+1] x[(i - j) mod n]
template <int W>
void uplo_lanes(const double *x, int32_t n, const double *h, int32_t m, double *y,
                bool stream = false) {
    const int32_t mc = (m + 1) / 2, mf = m / 2;
    up_signal<W, true, false>(x, x, n, h, h, m, y, n < mc ? n : mc, n, stream, [&](int32_t i) {
        y[2 * i] = sum_backward(x, n, i, h, 0, 2, mc);
        y[2 * i + 1] = sum_backward(x, n, i, h, 1, 2, mf);
    });
}

// y[2i+1] = sum_j g[2j] x[(i + j) mod n], y[2i] = sum_j g[2j+1] x[(i + j) mod n]
template <int W>
void uphi_lanes(const double *x, int32_t n, const double *g, int32_t m, double *y,
                bool stream = false) {
    const int32_t mc = (m + 1) / 2, mf = m / 2;
    up_signal<W, false, true>(x, x, n, g, g, m, y, 0, n - mc > 0 ? n - mc : 0, stream,
                              [&](int32_t i) {
                                  y[2 * i + 1] = sum_forward(x, n, i, g, 0, 2, mc);
                                  y[2 * i] = sum_forward(x, n, i, g, 1, 2, mf);
                              });
}

// y = uplo(lo, e, h) + uphi(hi, e, g), each element rounded as adddouble
// rounds the sum of the two upsampled branches, with tiles over samples
// from .. end-1: lo must be readable mc - 1 samples before lo[from] and hi
// mc - 1 after hi[end - 1], and y must not overlap lo or hi.
template <int W>
void upsum_tiles(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
                 int32_t m, double *y, int32_t from, int32_t end, bool stream = false) {
    const int32_t mc = (m + 1) / 2, mf = m / 2;
    up_signal<W, true, true>(lo, hi, e, g, h, m, y, from, end, stream, [&](int32_t i) {
        y[2 * i] = sum_backward(lo, e, i, h, 0, 2, mc) + sum_forward(hi, e, i, g, 1, 2, mf);
        y[2 * i + 1] = sum_backward(lo, e, i, h, 1, 2, mf) + sum_forward(hi, e, i, g, 0, 2, mc);
    });
}

// The same over halves of e samples alone: tiles start at mc, where uplo
// stops wrapping, and end by e - mc, where uphi starts.
template <int W>
void upsum_lanes(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
                 int32_t m, double *y, bool stream = false) {
    const int32_t mc = (m + 1) / 2;
    const int32_t from = e < mc ? e : mc;
    upsum_tiles<W>(lo, hi, e, g, h, m, y, from, e - mc > from ? e - mc : from, stream);
}

} // namespace signal_lanes
} // namespace
