// Bit-level comparison of doubles, random test data and guarded buffers,
// shared by every test program: results are judged bit for bit, so +0.0 and
// -0.0 differ and every rounding counts.
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

// count doubles at got against want; a failure names the first differing
// element and both bit patterns.
inline ::testing::AssertionResult same_bits(const double *got, const double *want, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (bits(got[i]) != bits(want[i]))
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << got[i] << " (0x" << std::hex << bits(got[i])
                   << "), expected " << want[i] << " (0x" << bits(want[i]) << std::dec << ")";
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult same_bits(const std::vector<double> &got,
                                            const std::vector<double> &want) {
    if (got.size() != want.size())
        return ::testing::AssertionFailure()
               << "length " << got.size() << ", expected " << want.size();
    return same_bits(got.data(), want.data(), got.size());
}

// Random doubles of mixed sign, spread over many binades with full
// mantissas, so that any change in the order or grouping of a sum shows in
// the last bits.
inline std::vector<double> random_vec(std::mt19937_64 &rng, size_t len) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> scale(-12, 12);
    std::vector<double> v(len);
    for (double &e : v) e = std::ldexp(unit(rng), scale(rng));
    return v;
}

inline std::vector<double> random_values(size_t len, uint64_t seed) {
    std::mt19937_64 rng(seed);
    return random_vec(rng, len);
}

// A buffer of count doubles between fences of a known pattern, so a write
// outside it shows. Its first element lies at exactly the given alignment
// (8, 16, 32 or 64 bytes: an odd multiple of it within 128), so the vector
// paths that depend on the output's alignment all run.
struct Guarded {
    static constexpr size_t fence = 64;
    explicit Guarded(size_t count, double fill = 0.0, size_t alignment = 16)
        : all_(count + 2 * fence + 16, fill), count_(count) {
        // The offset, in doubles, that puts data() at alignment mod 128.
        const auto base = reinterpret_cast<uintptr_t>(all_.data() + fence);
        start_ = fence + (alignment + 128 - base % 128) % 128 / sizeof(double);
        for (size_t i = 0; i < fence; ++i) {
            std::memcpy(&all_[start_ - 1 - i], &mark, sizeof mark);
            std::memcpy(&all_[start_ + count_ + i], &mark, sizeof mark);
        }
    }
    double *data() { return all_.data() + start_; }
    const double *data() const { return all_.data() + start_; }
    bool fences_intact() const {
        for (size_t i = 0; i < fence; ++i)
            if (bits(all_[start_ - 1 - i]) != mark || bits(all_[start_ + count_ + i]) != mark)
                return false;
        return true;
    }

  private:
    static constexpr uint64_t mark = 0x7ff8000000c0ffeeULL; // a NaN no kernel makes
    std::vector<double> all_;
    size_t count_;
    size_t start_ = 0;
};

} // namespace bitwise
