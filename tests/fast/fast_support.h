// Shared pieces of the fast-path tests: the list of instruction-set variants
// this machine can run, and pinning one of them.
#pragma once

#include <string>
#include <vector>

#include "bitwise.h"
#include "kernels/simd/simd.h"

namespace fast {

using bitwise::Guarded;
using bitwise::random_values;
using bitwise::same_bits;

// The vector variants this machine runs (none on builds that accumulate in
// extended precision, where the entry points always run the plain loops).
inline std::vector<int> runnable_variants() {
    std::vector<int> v;
    for (int i = simd_plain + 1; i <= simd_best_variant(); ++i) v.push_back(i);
    return v;
}

// A test of the vector variants says "skipped" on a build that has none.
#define FAST_REQUIRE_VARIANTS()                                                                    \
    if (fast::runnable_variants().empty()) GTEST_SKIP() << "this build has no vector variants"

// The variant's name, from the table of variants.
inline std::string variant_name(int v) {
#define WAVELET_VARIANT_NAME(isa, lanes, feature, ...)                                             \
    if (v == simd_##isa) return #isa;
    WAVELET_VARIANTS(WAVELET_VARIANT_NAME, )
#undef WAVELET_VARIANT_NAME
    return v == simd_plain ? "plain" : "?";
}

// Pins a variant for the lifetime of the object.
struct Pinned {
    explicit Pinned(int v) { simd_force_variant(v); }
    ~Pinned() { simd_force_variant(-1); }
};

// The output alignments at which the vector paths differ: 8 bytes never
// lets a vector store stream, 16, 32 and 64 let each width in turn.
constexpr size_t alignments[] = {8, 16, 32, 64};

} // namespace fast
