// Clang has no __builtin_shuffle (GCC's two-vector shuffle with a mask
// vector); the vector kernels use it with constant masks. This spells it as
// an element-wise selection, which moves values exactly as the shuffle does.
// Forced into clang compiles of the macOS modules only.
#pragma once

#if defined(__clang__)
template <class V, class K> static inline V wavelet_shuffle(V a, V b, K mask) {
    constexpr int lanes = sizeof(V) / sizeof(a[0]);
    V r = a;
    for (int i = 0; i < lanes; ++i) {
        const int k = static_cast<int>(mask[i]);
        r[i] = k < lanes ? a[k] : b[k - lanes];
    }
    return r;
}
// Variadic, as the mask is written as a braced list with commas.
#define __builtin_shuffle(a, b, ...) wavelet_shuffle(a, b, __VA_ARGS__)
#endif
