// Bit-level comparison of doubles and random test data, shared by the test
// programs: results are judged bit for bit, so +0.0 and -0.0 differ and every
// rounding counts.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace bitwise {

inline uint64_t bits(double x) {
    uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

inline ::testing::AssertionResult same_bits(const std::vector<double> &got,
                                            const std::vector<double> &want) {
    if (got.size() != want.size())
        return ::testing::AssertionFailure()
               << "length " << got.size() << ", expected " << want.size();
    for (size_t i = 0; i < got.size(); ++i)
        if (bits(got[i]) != bits(want[i]))
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << got[i] << " (0x" << std::hex << bits(got[i])
                   << "), expected " << want[i] << " (0x" << bits(want[i]) << std::dec << ")";
    return ::testing::AssertionSuccess();
}

// Random doubles of mixed sign and magnitude with full mantissas, so that the
// order of the additions shows in the last bits.
inline std::vector<double> random_vec(std::mt19937_64 &rng, size_t len) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> scale(-6, 6);
    std::vector<double> v(len);
    for (double &e : v) e = std::ldexp(unit(rng), scale(rng));
    return v;
}

} // namespace bitwise
