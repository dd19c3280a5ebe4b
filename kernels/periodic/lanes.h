// Vector forms of the four periodized filtering kernels, written once over
// the lane count W and compiled for each instruction set by lanes_<isa>.cpp.
//
// Lanes hold independent outputs: lane l of a block computes output i0 + l
// with the scalar sum unchanged (start at +0.0, add tap times sample in
// increasing tap order, separate multiply and add). The results therefore
// equal the plain kernels' bit for bit. Outputs whose window leaves the
// period, and the few left over after the last full block, go through the
// scalar sums with a running wrapped index, as in the plain kernels.
//
// Everything here has internal linkage: each instruction-set file gets its
// own copy, compiled for its own target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <immintrin.h>

// Every vector type below lives in functions of internal linkage that each
// instruction-set file compiles for its own target, so no vector ever
// crosses a boundary between code built for different targets.
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace {

template <int W> struct lanes;
template <> struct lanes<2> {
    typedef double v __attribute__((vector_size(16)));
    static v even(v a, v b) { return __builtin_shufflevector(a, b, 0, 2); }
    static v odd(v a, v b) { return __builtin_shufflevector(a, b, 1, 3); }
    static v zip_lo(v a, v b) { return __builtin_shufflevector(a, b, 0, 2); }
    static v zip_hi(v a, v b) { return __builtin_shufflevector(a, b, 1, 3); }
};
template <> struct lanes<4> {
    typedef double v __attribute__((vector_size(32)));
    static v even(v a, v b) { return __builtin_shufflevector(a, b, 0, 2, 4, 6); }
    static v odd(v a, v b) { return __builtin_shufflevector(a, b, 1, 3, 5, 7); }
    static v zip_lo(v a, v b) { return __builtin_shufflevector(a, b, 0, 4, 1, 5); }
    static v zip_hi(v a, v b) { return __builtin_shufflevector(a, b, 2, 6, 3, 7); }
};
template <> struct lanes<8> {
    typedef double v __attribute__((vector_size(64)));
    static v even(v a, v b) { return __builtin_shufflevector(a, b, 0, 2, 4, 6, 8, 10, 12, 14); }
    static v odd(v a, v b) { return __builtin_shufflevector(a, b, 1, 3, 5, 7, 9, 11, 13, 15); }
    static v zip_lo(v a, v b) { return __builtin_shufflevector(a, b, 0, 8, 1, 9, 2, 10, 3, 11); }
    static v zip_hi(v a, v b) { return __builtin_shufflevector(a, b, 4, 12, 5, 13, 6, 14, 7, 15); }
};

template <int W> using vec = typename lanes<W>::v;

template <int W> inline vec<W> load(const double *p) {
    vec<W> r;
    std::memcpy(&r, p, sizeof r);
    return r;
}
// Callers always store into a grid or output buffer; the analyser's null
// grid on paths no caller takes is not one of them.
template <int W> inline void store(double *p, vec<W> a) {
    std::memcpy(p, &a, sizeof a); // NOLINT(clang-analyzer-core.NonNullParamChecker)
}

// A store that bypasses the caches, for outputs too large to stay in them
// (it spares reading each output line before overwriting it). p must be
// aligned to the vector size.
template <int W> inline void stream(double *p, vec<W> a) {
#if defined(__AVX512F__) || defined(__clang__)
    if constexpr (W == 8) return _mm512_stream_pd(p, a);
#endif
#if defined(__AVX__) || defined(__clang__)
    if constexpr (W == 4) return _mm256_stream_pd(p, a);
#endif
    if constexpr (W == 2) return _mm_stream_pd(p, a);
    store<W>(p, a);
}

template <int W> inline bool vector_aligned(const double *p) {
    return reinterpret_cast<uintptr_t>(p) % sizeof(vec<W>) == 0;
}

// The outputs of one call of a kernel from which its vector stores stream.
constexpr int32_t stream_from = int32_t{1} << 21;

// Stores through the caches, or around them when nt is set.
template <int W> inline void put(double *p, vec<W> a, bool nt) {
    if (nt)
        stream<W>(p, a);
    else
        store<W>(p, a);
}

// Copies count doubles; the plain copydouble, a block at a time.
template <int W> inline void copy_lanes(const double *x, double *y, int32_t count) {
    int32_t i = 0;
    for (; i + 4 * W <= count; i += 4 * W) {
        const vec<W> a = load<W>(x + i), b = load<W>(x + i + W);
        const vec<W> c = load<W>(x + i + 2 * W), d = load<W>(x + i + 3 * W);
        store<W>(y + i, a);
        store<W>(y + i + W, b);
        store<W>(y + i + 2 * W, c);
        store<W>(y + i + 3 * W, d);
    }
    for (; i < count; ++i) y[i] = x[i];
}

// Scalar sums of single outputs, with the running wrapped index of the plain
// edge passes (equal to direct indexing wherever the window does not wrap).
inline double downlo_one(const double *x, int32_t n, const double *h, int32_t m, int32_t i) {
    int32_t p = 2 * i;
    double s = 0.0;
    for (int32_t j = 0; j < m; ++j) {
        if (p >= n) p -= n;
        s += h[j] * x[p];
        ++p;
    }
    return s;
}

inline double downhi_one(const double *x, int32_t n, const double *g, int32_t m, int32_t i) {
    int32_t p = 2 * i + 1;
    double s = 0.0;
    for (int32_t j = 0; j < m; ++j) {
        if (p < 0) p += n;
        s += g[j] * x[p];
        --p;
    }
    return s;
}

// Taps first, first + 2, ... against x[(i - j) mod n], j = 0, 1, ...
inline double up_back_one(const double *x, int32_t n, const double *taps, int32_t count,
                          int32_t i) {
    int32_t p = i;
    double s = 0.0;
    for (int32_t j = 0; j < count; ++j) {
        if (p < 0) p += n;
        s += taps[2 * j] * x[p];
        --p;
    }
    return s;
}

// Taps first, first + 2, ... against x[(i + j) mod n], j = 0, 1, ...
inline double up_fwd_one(const double *x, int32_t n, const double *taps, int32_t count, int32_t i) {
    int32_t p = i;
    double s = 0.0;
    for (int32_t j = 0; j < count; ++j) {
        if (p >= n) p -= n;
        s += taps[2 * j] * x[p];
        ++p;
    }
    return s;
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
    if (nt) _mm_sfence();
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
    if (nt) _mm_sfence();
}

// The odd-indexed taps f[1], f[3], ... of a filter with mf of them; an empty
// filter may come with no buffer at all, so no pointer is formed past it.
inline const double *odd_taps(const double *f, int32_t mf) {
    return mf > 0 ? f + 1 : f;
}

// y[2i] = sum_j h[2j] x[(i - j) mod n], y[2i+1] = sum_j h[2j+1] x[(i - j) mod n]
template <int W, bool NT = false>
void uplo_lanes(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    typedef lanes<W> L;
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    const double *h_odd = odd_taps(h, mf);
    const int32_t edge_end = n < mc ? n : mc;
    for (int32_t i = 0; i < edge_end; ++i) {
        y[2 * i] = up_back_one(x, n, h, mc, i);
        y[2 * i + 1] = up_back_one(x, n, h_odd, mf, i);
    }
    int32_t i = edge_end;
    bool nt = false;
    if constexpr (NT) {
        for (int32_t k = 0; k < W && i < n && !vector_aligned<W>(y + 2 * i); ++k, ++i) {
            y[2 * i] = up_back_one(x, n, h, mc, i);
            y[2 * i + 1] = up_back_one(x, n, h_odd, mf, i);
        }
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
    for (; i < n; ++i) {
        y[2 * i] = up_back_one(x, n, h, mc, i);
        y[2 * i + 1] = up_back_one(x, n, h_odd, mf, i);
    }
    // cppcheck-suppress knownConditionTrueFalse ; true in the streaming instantiation
    if (nt) _mm_sfence();
}

// y[2i+1] = sum_j g[2j] x[(i + j) mod n], y[2i] = sum_j g[2j+1] x[(i + j) mod n]
template <int W, bool NT = false>
void uphi_lanes(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    typedef lanes<W> L;
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    const double *g_odd = odd_taps(g, mf);
    const int32_t inner = n - mc > 0 ? n - mc : 0;
    int32_t i = 0;
    bool nt = false;
    if constexpr (NT) {
        for (; i < W && i < inner && !vector_aligned<W>(y + 2 * i); ++i) {
            y[2 * i + 1] = up_fwd_one(x, n, g, mc, i);
            y[2 * i] = up_fwd_one(x, n, g_odd, mf, i);
        }
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
    for (; i < n; ++i) {
        y[2 * i + 1] = up_fwd_one(x, n, g, mc, i);
        y[2 * i] = up_fwd_one(x, n, g_odd, mf, i);
    }
    // cppcheck-suppress knownConditionTrueFalse ; true in the streaming instantiation
    if (nt) _mm_sfence();
}

// y = uplo(lo, e, h) + uphi(hi, e, g), each element rounded as adddouble
// rounds the sum of the two upsampled branches. y must not overlap lo or hi.
// With NT, aligned vector stores go around the caches.
template <int W, bool NT = false>
void upsum_lanes(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
                 int32_t m, double *y) {
    typedef lanes<W> L;
    const int32_t mc = (m + 1) / 2;
    const int32_t mf = m / 2;
    const double *h_odd = odd_taps(h, mf), *g_odd = odd_taps(g, mf);
    const int32_t inner_end = e - mc; // uphi reads without wrapping below this
    int32_t i = 0;
    for (; i < e; ++i) {
        if (i >= mc && i + W <= inner_end) {
            // Both branches read inside the period for the whole block.
            vec<W> a0 = {}, a1 = {}, b0 = {}, b1 = {};
            for (int32_t j = 0; j < mc; ++j) {
                const vec<W> x = load<W>(lo + i - j);
                a0 += h[2 * j] * x;
                if (j < mf) a1 += h[2 * j + 1] * x;
            }
            for (int32_t j = 0; j < mc; ++j) {
                const vec<W> x = load<W>(hi + i + j);
                b1 += g[2 * j] * x;
                if (j < mf) b0 += g[2 * j + 1] * x;
            }
            const vec<W> y0 = a0 + b0, y1 = a1 + b1;
            const bool nt = NT && vector_aligned<W>(y + 2 * i);
            put<W>(y + 2 * i, L::zip_lo(y0, y1), nt);
            put<W>(y + 2 * i + W, L::zip_hi(y0, y1), nt);
            i += W - 1;
            continue;
        }
        const double a0 = up_back_one(lo, e, h, mc, i), a1 = up_back_one(lo, e, h_odd, mf, i);
        const double b1 = up_fwd_one(hi, e, g, mc, i), b0 = up_fwd_one(hi, e, g_odd, mf, i);
        y[2 * i] = a0 + b0;
        y[2 * i + 1] = a1 + b1;
    }
    if constexpr (NT) _mm_sfence();
}

} // namespace
