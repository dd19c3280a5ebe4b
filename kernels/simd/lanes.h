// The lane layer: vectors of W doubles and the few operations the vector
// kernels and transforms perform on them. Everything architecture-specific
// lives here (shuffles, stores around the caches and their fence), so
// another architecture adds its lane types and nothing else. The arithmetic
// is the compiler's element-wise + and *, one rounding each. Everything has
// internal linkage: each instruction-set file gets its own copy, compiled
// for its own target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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
// A vector that several products use, held in a register: the compiler
// would otherwise fold its load into each multiply, a load for every use.
template <int W> inline vec<W> held(vec<W> a) {
#if defined(__x86_64__) || defined(__i386__)
    asm("" : "+v"(a));
#elif defined(__aarch64__)
    asm("" : "+w"(a));
#endif
    return a;
}
// Callers always store into a grid or output buffer; the analyser's null
// grid on paths no caller takes is not one of them.
template <int W> inline void store(double *p, vec<W> a) {
    std::memcpy(p, &a, sizeof a); // NOLINT(clang-analyzer-core.NonNullParamChecker)
}

template <int W> inline bool vector_aligned(const double *p) {
    return reinterpret_cast<uintptr_t>(p) % sizeof(vec<W>) == 0;
}

// A store that bypasses the caches, for outputs too large to stay in them
// (it spares reading each output line before overwriting it). p must be
// aligned to the vector size. Where the architecture has no such store it
// is an ordinary one.
template <int W> inline void stream(double *p, vec<W> a) {
#if defined(__x86_64__) || defined(__i386__)
#if defined(__AVX512F__) || defined(__clang__)
    if constexpr (W == 8) return _mm512_stream_pd(p, a);
#endif
#if defined(__AVX__) || defined(__clang__)
    if constexpr (W == 4) return _mm256_stream_pd(p, a);
#endif
    if constexpr (W == 2) return _mm_stream_pd(p, a);
#endif
    store<W>(p, a);
}

// Orders the streamed stores before whatever the caller does next.
inline void stream_fence() {
#if defined(__x86_64__) || defined(__i386__)
    _mm_sfence();
#endif
}

// Stores through the caches, or around them when nt is set.
template <int W> inline void put(double *p, vec<W> a, bool nt) {
    if (nt)
        stream<W>(p, a);
    else
        store<W>(p, a);
}

// Copies count doubles; the plain copydouble, a block at a time. Each block
// is loaded before it is stored, so y may overlap x from below.
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
    for (; i + W <= count; i += W) store<W>(y + i, load<W>(x + i));
    for (; i < count; ++i) y[i] = x[i];
}

} // namespace
