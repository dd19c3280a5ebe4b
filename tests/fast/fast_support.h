// Shared pieces of the fast-path tests: random data whose rounding is
// sensitive to the order of every operation, guarded buffers, and the list of
// instruction-set variants this machine can run.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "kernels/simd/simd.h"

namespace fast {

// Values spread over many binades with both signs, so that any change in the
// order or grouping of a sum shows in the last bits.
inline std::vector<double> random_values(size_t count, uint64_t seed) {
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    std::vector<double> v(count);
    for (auto &x : v) x = std::ldexp(unit(gen), exponent(gen));
    return v;
}

// A buffer with fences of a known pattern before and after the usable part.
struct Guarded {
    static constexpr size_t fence = 64;
    std::vector<double> all;
    explicit Guarded(size_t count, double fill = 0.0) : all(count + 2 * fence, fill) {
        for (size_t i = 0; i < fence; ++i) all[i] = all[all.size() - 1 - i] = 1234.5 + i;
    }
    double *data() { return all.data() + fence; }
    bool fences_intact() const {
        for (size_t i = 0; i < fence; ++i)
            if (all[i] != 1234.5 + i || all[all.size() - 1 - i] != 1234.5 + i) return false;
        return true;
    }
};

inline bool same_bits(const double *a, const double *b, size_t count) {
    return count == 0 || std::memcmp(a, b, count * sizeof(double)) == 0;
}

inline std::vector<int> runnable_variants() {
    std::vector<int> v;
    for (int i = simd_plain; i <= simd_best_variant(); ++i) v.push_back(i);
    return v;
}

inline std::string variant_name(int v) {
    static const char *names[] = {"plain", "sse2", "avx2", "avx512"};
    return v >= 0 && v < 4 ? names[v] : "?";
}

// Pins a variant for the lifetime of the object.
struct Pinned {
    explicit Pinned(int v) { simd_force_variant(v); }
    ~Pinned() { simd_force_variant(-1); }
};

} // namespace fast
