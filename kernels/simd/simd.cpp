// The choice of instruction-set variant. It is worked out on first use and
// kept in one int read and written atomically; two threads racing on the
// first call compute the same value, so the race is harmless.
#include "simd.h"

static int pinned = -1; // a variant pinned by simd_force_variant, or -1
#if !defined(WAVELET_EXTENDED_ACCUMULATION)
static int detected = -1; // the best variant, once known

// The best variant whose feature the CPU reports, from the table.
static int detect() {
    __builtin_cpu_init();
    int best = simd_plain;
#define WAVELET_DETECT(isa, lanes, feature, ...)                                                   \
    if (__builtin_cpu_supports(feature)) best = simd_##isa;
    WAVELET_VARIANTS(WAVELET_DETECT, )
#undef WAVELET_DETECT
    return best;
}
#endif

int simd_best_variant() {
#if defined(WAVELET_EXTENDED_ACCUMULATION)
    return simd_plain;
#else
    int best = __atomic_load_n(&detected, __ATOMIC_RELAXED);
    if (best < 0) {
        best = detect();
        __atomic_store_n(&detected, best, __ATOMIC_RELAXED);
    }
    return best;
#endif
}

int simd_variant() {
    const int v = __atomic_load_n(&pinned, __ATOMIC_RELAXED);
    return v >= 0 ? v : simd_best_variant();
}

void simd_force_variant(int v) {
    const int best = simd_best_variant();
    if (v > best) v = best;
    __atomic_store_n(&pinned, v < 0 ? -1 : v, __ATOMIC_RELAXED);
}
