// The choice of instruction-set variant. It is worked out on first use and
// kept in one int read and written atomically; two threads racing on the
// first call compute the same value, so the race is harmless.
#include "simd.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

static int pinned = -1; // a variant pinned by simd_force_variant, or -1
#if !defined(WAVELET_EXTENDED_ACCUMULATION)
static int detected = -1; // the best variant, once known

namespace {

// What the processor runs and the operating system saves across a switch of
// tasks, asked of the processor itself (CPUID, and XGETBV for the register
// state the system enables), so the answer needs nothing from the C library
// or the compiler's runtime and is the same on every operating system.
struct CpuFeatures {
    bool neon = false; // every arm64 processor
    bool sse2 = false;
    bool avx2 = false;
    bool avx512f = false;
};

CpuFeatures detect_features() {
    CpuFeatures f;
#if defined(__aarch64__)
    f.neon = true;
#elif defined(__x86_64__) || defined(__i386__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0) return f;
    f.sse2 = (d & bit_SSE2) != 0;
    const bool avx = (c & bit_AVX) != 0;
    unsigned long long xcr0 = 0;
    if ((c & bit_OSXSAVE) != 0) {
        unsigned lo = 0, hi = 0;
        __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
        xcr0 = (static_cast<unsigned long long>(hi) << 32) | lo;
    }
    // The 256-bit registers need the XMM and YMM state saved (bits 1, 2),
    // the 512-bit ones also the mask and upper ZMM state (bits 5, 6, 7).
    const bool ymm_saved = (xcr0 & 0x06) == 0x06;
    const bool zmm_saved = (xcr0 & 0xe6) == 0xe6;
    if (__get_cpuid_count(7, 0, &a, &b, &c, &d) != 0) {
        f.avx2 = avx && ymm_saved && (b & bit_AVX2) != 0;
        f.avx512f = avx && zmm_saved && (b & bit_AVX512F) != 0;
    }
#endif
    return f;
}

// The best variant whose feature the CPU reports, from the table.
int detect() {
    [[maybe_unused]] const CpuFeatures cpu = detect_features();
    int best = simd_plain;
#define WAVELET_DETECT(isa, lanes, feature, ...)                                                   \
    if (cpu.feature) best = simd_##isa;
    WAVELET_VARIANTS(WAVELET_DETECT, )
#undef WAVELET_DETECT
    return best;
}

} // namespace
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
