// The register-tiled filter sums, the one place where the vector sums are
// written; the 1-D kernels and the grid passes reach them through line
// adaptors. A tile is K vectors of W independent outputs. The adaptor x
// says where each tap's samples are: x.lo<p>(j, k) is what lowpass tap j (of
// parity p) of vector k multiplies, x.hi<p>(j, k) the highpass one, and
// x.c(j, k), x.d(j, k) the coarse and detail samples of synthesis tap j.
// Taps run in the outer loop and the K vectors in the inner one, so each
// tap value serves K products and the sums are independent chains. Every
// lane still starts at +0.0 and adds tap times sample in increasing tap
// order, one rounding for each multiply and each add: the plain loop bit
// for bit.
#pragma once

#include <cstdint>

#include "../simd/lanes.h"

// Inlined into the caller, so that the sums stay in registers and the
// adaptor's addressing folds into the loads.
#define WAVELET_TILE_INLINE __attribute__((always_inline))

namespace {
namespace tiles {

// Analysis: lo[k] = sum_j h[j] x.lo(j, k), hi[k] = sum_j g[j] x.hi(j, k),
// for the halves selected by LO and HI. Taps go in pairs, even then odd,
// for one vector before the next, so that an adaptor whose parities share
// their loads (a signal read in place) loads them once.
template <int W, int K, bool LO, bool HI, class Lines>
WAVELET_TILE_INLINE inline void analyse(const Lines &x, const double *h, const double *g, int32_t m,
                                        vec<W> *lo, vec<W> *hi) {
    for (int k = 0; k < K; ++k) lo[k] = hi[k] = vec<W>{};
    int32_t j = 0;
    for (; j + 1 < m; j += 2)
        for (int k = 0; k < K; ++k) {
            if constexpr (LO) {
                const vec<W> a = x.template lo<0>(j, k), b = x.template lo<1>(j + 1, k);
                lo[k] += h[j] * a;
                lo[k] += h[j + 1] * b;
            }
            if constexpr (HI) {
                const vec<W> a = x.template hi<0>(j, k), b = x.template hi<1>(j + 1, k);
                hi[k] += g[j] * a;
                hi[k] += g[j + 1] * b;
            }
        }
    if (j < m)
        for (int k = 0; k < K; ++k) {
            if constexpr (LO) lo[k] += h[j] * x.template lo<0>(j, k);
            if constexpr (HI) hi[k] += g[j] * x.template hi<0>(j, k);
        }
}

// Synthesis: the even and odd outputs of vector k from its coarse samples
// (taps h[2j] and h[2j+1]) and its detail samples (taps g[2j+1] and g[2j]),
// for the branches selected by C and D. With both, each output is the two
// branch sums, each rounded on its own, added.
template <int W, int K, bool C, bool D, class Lines>
WAVELET_TILE_INLINE inline void synthesise(const Lines &x, const double *h, const double *g,
                                           int32_t m, vec<W> *even, vec<W> *odd) {
    const int32_t mc = (m + 1) / 2, mf = m / 2;
    vec<W> a0[K], a1[K], b0[K], b1[K];
    for (int k = 0; k < K; ++k) a0[k] = a1[k] = b0[k] = b1[k] = vec<W>{};
    // Tap j meets the even coarse and odd detail sums, and while j < mf the
    // other two as well.
    auto tap = [&]<bool BOTH>(int32_t j) WAVELET_TILE_INLINE {
        for (int k = 0; k < K; ++k) {
            if constexpr (C) {
                const vec<W> v = held<W>(x.c(j, k));
                a0[k] += h[2 * j] * v;
                if constexpr (BOTH) a1[k] += h[2 * j + 1] * v;
            }
            if constexpr (D) {
                const vec<W> v = held<W>(x.d(j, k));
                b1[k] += g[2 * j] * v;
                if constexpr (BOTH) b0[k] += g[2 * j + 1] * v;
            }
        }
    };
    for (int32_t j = 0; j < mf; ++j) tap.template operator()<true>(j);
    if (mf < mc) tap.template operator()<false>(mf);
    for (int k = 0; k < K; ++k) {
        if constexpr (C && D) {
            even[k] = a0[k] + b0[k];
            odd[k] = a1[k] + b1[k];
        } else {
            even[k] = C ? a0[k] : b0[k];
            odd[k] = C ? a1[k] : b1[k];
        }
    }
}

// Runs tile<K>(i) over outputs from .. end-1 in tiles of K = KMAX vectors
// and then of one vector of W outputs; returns the first output left over.
template <int W, int KMAX, class Tile>
WAVELET_TILE_INLINE inline int32_t tiled(int32_t from, int32_t end, Tile &&tile) {
    int32_t i = from;
    if constexpr (KMAX > 1)
        for (; i + KMAX * W <= end; i += KMAX * W) tile.template operator()<KMAX>(i);
    for (; i + W <= end; i += W) tile.template operator()<1>(i);
    return i;
}

} // namespace tiles
} // namespace
