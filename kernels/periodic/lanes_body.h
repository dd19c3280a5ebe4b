// Vector forms of the periodized filtering kernels, written once over the
// lane count W and compiled for each instruction set through lanes_forms.h.
//
// Lanes hold independent outputs: lane l of a block computes output i0 + l
// with the scalar sum unchanged (start at +0.0, add tap times sample in
// increasing tap order, separate multiply and add). The results therefore
// equal the plain kernels' bit for bit. Outputs whose window leaves the
// period, and the few left over after the last full block, go through the
// shared wrapped sums, as the plain kernels do.
//
// With NT (large outputs), a few scalar outputs first bring the output to a
// vector boundary, and the vector stores then go around the caches.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../simd/lanes.h"
#include "../sums.h"

namespace {

// The outputs of one call of a kernel from which its vector stores stream.
constexpr int32_t stream_from = int32_t{1} << 21;

// Scalar sums of single outputs through the shared wrapped sums, for the
// outputs whose window leaves the period and those after the last block.
inline double downlo_one(const double *x, int32_t n, const double *h, int32_t m, int32_t i) {
    return sum_forward(x, n, 2 * i, h, 0, 1, m);
}
inline double downhi_one(const double *x, int32_t n, const double *g, int32_t m, int32_t i) {
    return sum_backward(x, n, 2 * i + 1, g, 0, 1, m);
}
// Both outputs of sample i of uplo and of uphi: taps first, first + 2, ...
// against x[(i - j) mod n] and x[(i + j) mod n].
inline void uplo_one(const double *x, int32_t n, const double *h, int32_t mc, int32_t mf, int32_t i,
                     double *y) {
    y[2 * i] = sum_backward(x, n, i, h, 0, 2, mc);
    y[2 * i + 1] = sum_backward(x, n, i, h, 1, 2, mf);
}
inline void uphi_one(const double *x, int32_t n, const double *g, int32_t mc, int32_t mf, int32_t i,
                     double *y) {
    y[2 * i + 1] = sum_forward(x, n, i, g, 0, 2, mc);
    y[2 * i] = sum_forward(x, n, i, g, 1, 2, mf);
}

// y[i] = sum_j h[j] x[(2i + j) mod n]
template <int W, bool NT = false>
void downlo_lanes(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    typedef lanes<W> L;
    const int32_t half = n / 2;
    int32_t last = -1;
    if (m <= n) {
        last = (n - m) / 2;
        if (last > half - 1) last = half - 1;
    }
    int32_t i = 0;
    bool nt = false;
    if constexpr (NT) {
        // Scalar outputs up to the first aligned block.
        for (; i < W && i <= last && !vector_aligned<W>(y + i); ++i)
            y[i] = downlo_one(x, n, h, m, i);
        nt = vector_aligned<W>(y + i);
    }
    // A block reads x[2i .. 2i + 2W + m - 2] at most (the pair loads of an
    // unpaired last tap reach one sample past its window).
    for (; i + W - 1 <= last && 2 * i + 2 * W + m - 1 <= n; i += W) {
        const double *w = x + 2 * i;
        vec<W> s = {};
        int32_t j = 0;
        for (; j + 1 < m; j += 2) {
            const vec<W> a = load<W>(w + j), b = load<W>(w + j + W);
            s += h[j] * L::even(a, b);
            s += h[j + 1] * L::odd(a, b);
        }
        if (j < m) s += h[j] * L::even(load<W>(w + j), load<W>(w + j + W));
        put<W>(y + i, s, nt);
    }
    for (; i < half; ++i) y[i] = downlo_one(x, n, h, m, i);
    // cppcheck-suppress knownConditionTrueFalse ; true in the streaming instantiation
    if (nt) stream_fence();
}

// y[i] = sum_j g[j] x[(2i + 1 - j) mod n]
template <int W, bool NT = false>
void downhi_lanes(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    typedef lanes<W> L;
    const int32_t half = n / 2;
    const int32_t first = m > 0 ? (m + 1) / 2 - 1 : 0;
    const int32_t edge_end = first < half ? first : half;
    for (int32_t i = 0; i < edge_end; ++i) y[i] = downhi_one(x, n, g, m, i);
    int32_t i = edge_end;
    bool nt = false;
    if constexpr (NT) {
        for (int32_t k = 0; k < W && i < half && !vector_aligned<W>(y + i); ++k, ++i)
            y[i] = downhi_one(x, n, g, m, i);
        nt = vector_aligned<W>(y + i);
    }
    for (; i + W <= half; i += W) {
        const double *w = x + 2 * i;
        vec<W> s = {};
        int32_t j = 0;
        // Taps j and j + 1 meet the odd and even lanes of x[2i - j ...].
        for (; j + 1 < m; j += 2) {
            const vec<W> a = load<W>(w - j), b = load<W>(w - j + W);
            s += g[j] * L::odd(a, b);
            s += g[j + 1] * L::even(a, b);
        }
        if (j < m) s += g[j] * L::odd(load<W>(w - j), load<W>(w - j + W));
        put<W>(y + i, s, nt);
    }
    for (; i < half; ++i) y[i] = downhi_one(x, n, g, m, i);
    // cppcheck-suppress knownConditionTrueFalse ; true in the streaming instantiation
    if (nt) stream_fence();
}

// y[2i] = sum_j h[2j] x[(i - j) mod n], y[2i+1] = sum_j h[2j+1] x[(i - j) mod n]
template <int W, bool NT = false>
void uplo_lanes(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    typedef lanes<W> L;
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    const int32_t edge_end = n < mc ? n : mc;
    for (int32_t i = 0; i < edge_end; ++i) uplo_one(x, n, h, mc, mf, i, y);
    int32_t i = edge_end;
    bool nt = false;
    if constexpr (NT) {
        for (int32_t k = 0; k < W && i < n && !vector_aligned<W>(y + 2 * i); ++k, ++i)
            uplo_one(x, n, h, mc, mf, i, y);
        nt = vector_aligned<W>(y + 2 * i);
    }
    for (; i + W <= n; i += W) {
        vec<W> even = {}, odd = {};
        for (int32_t j = 0; j < mc; ++j) {
            const vec<W> a = load<W>(x + i - j);
            even += h[2 * j] * a;
            if (j < mf) odd += h[2 * j + 1] * a;
        }
        put<W>(y + 2 * i, L::zip_lo(even, odd), nt);
        put<W>(y + 2 * i + W, L::zip_hi(even, odd), nt);
    }
    for (; i < n; ++i) uplo_one(x, n, h, mc, mf, i, y);
    // cppcheck-suppress knownConditionTrueFalse ; true in the streaming instantiation
    if (nt) stream_fence();
}

// y[2i+1] = sum_j g[2j] x[(i + j) mod n], y[2i] = sum_j g[2j+1] x[(i + j) mod n]
template <int W, bool NT = false>
void uphi_lanes(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    typedef lanes<W> L;
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    const int32_t inner = n - mc > 0 ? n - mc : 0;
    int32_t i = 0;
    bool nt = false;
    if constexpr (NT) {
        for (; i < W && i < inner && !vector_aligned<W>(y + 2 * i); ++i)
            uphi_one(x, n, g, mc, mf, i, y);
        nt = vector_aligned<W>(y + 2 * i);
    }
    for (; i + W <= inner; i += W) {
        vec<W> even = {}, odd = {};
        for (int32_t j = 0; j < mc; ++j) {
            const vec<W> a = load<W>(x + i + j);
            even += g[2 * j] * a;
            if (j < mf) odd += g[2 * j + 1] * a;
        }
        put<W>(y + 2 * i, L::zip_lo(odd, even), nt);
        put<W>(y + 2 * i + W, L::zip_hi(odd, even), nt);
    }
    for (; i < n; ++i) uphi_one(x, n, g, mc, mf, i, y);
    // cppcheck-suppress knownConditionTrueFalse ; true in the streaming instantiation
    if (nt) stream_fence();
}

// Both outputs of sample i of upsum through the wrapped sums: each branch
// rounded to double, then the two added.
inline void upsum_one(const double *lo, const double *hi, int32_t e, const double *g,
                      const double *h, int32_t mc, int32_t mf, int32_t i, double *y) {
    y[2 * i] = sum_backward(lo, e, i, h, 0, 2, mc) + sum_forward(hi, e, i, g, 1, 2, mf);
    y[2 * i + 1] = sum_backward(lo, e, i, h, 1, 2, mf) + sum_forward(hi, e, i, g, 0, 2, mc);
}

// y = uplo(lo, e, h) + uphi(hi, e, g), each element rounded as adddouble
// rounds the sum of the two upsampled branches. y must not overlap lo or hi.
// With NT, vector stores go around the caches once a few scalar outputs
// have brought y to a vector boundary.
template <int W, bool NT = false>
void upsum_lanes(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
                 int32_t m, double *y) {
    typedef lanes<W> L;
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    // Blocks start at mc, where uplo stops wrapping, and end by e - mc, where
    // uphi starts.
    const int32_t head_end = e < mc ? e : mc;
    const int32_t inner_end = e - mc;
    int32_t i = 0;
    for (; i < head_end; ++i) upsum_one(lo, hi, e, g, h, mc, mf, i, y);
    bool nt = false;
    if constexpr (NT) {
        for (int32_t k = 0; k < W && i < e && !vector_aligned<W>(y + 2 * i); ++k, ++i)
            upsum_one(lo, hi, e, g, h, mc, mf, i, y);
        nt = vector_aligned<W>(y + 2 * i);
    }
    // B blocks of W samples at a time, the coarse and detail sums side by
    // side: 4B independent sums keep the adders busy through their latency.
    auto blocks = [&]<int B>(int32_t at) {
        vec<W> a0[B], a1[B], b0[B], b1[B];
        for (int b = 0; b < B; ++b) a0[b] = a1[b] = b0[b] = b1[b] = vec<W>{};
        for (int32_t j = 0; j < mc; ++j)
            for (int b = 0; b < B; ++b) {
                const vec<W> x = load<W>(lo + at + b * W - j);
                const vec<W> z = load<W>(hi + at + b * W + j);
                a0[b] += h[2 * j] * x;
                b1[b] += g[2 * j] * z;
                if (j < mf) {
                    a1[b] += h[2 * j + 1] * x;
                    b0[b] += g[2 * j + 1] * z;
                }
            }
        for (int b = 0; b < B; ++b) {
            const vec<W> y0 = a0[b] + b0[b], y1 = a1[b] + b1[b];
            put<W>(y + 2 * (at + b * W), L::zip_lo(y0, y1), nt);
            put<W>(y + 2 * (at + b * W) + W, L::zip_hi(y0, y1), nt);
        }
    };
    for (; i + 2 * W <= inner_end; i += 2 * W) blocks.template operator()<2>(i);
    for (; i + W <= inner_end; i += W) blocks.template operator()<1>(i);
    for (; i < e; ++i) upsum_one(lo, hi, e, g, h, mc, mf, i, y);
    // cppcheck-suppress knownConditionTrueFalse ; true in the streaming instantiation
    if (nt) stream_fence();
}

} // namespace
