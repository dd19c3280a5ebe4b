// Multi-level periodized wavelet transform of signals: count signals of n
// samples each (n = 2^J), stored one after another, as the columns of a
// matrix are.
//
// Plain routines over caller-owned buffers with signed 32-bit lengths; they
// allocate nothing, never call the host and cannot fail. The argument order
// is that of the grid transforms, with the number of signals in place of the
// row step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Forward transform of every signal of src into out, levels J-1 down to L
// (none when L >= J; L < 0 acts as 0). Each signal becomes
// [c_L | d_L | d_{L+1} | ... | d_{J-1}]: 2^L coarse values, then the 2^j
// detail values of each level j, finest last. Level j takes the coarse part
// c of 2^(j+1) values to downlo(c, h) and downhi(c, g). g is the quadrature
// mirror of the lowpass filter h, both of m taps. work holds dpwt_work(n)
// doubles.
void dpwt(const double *src, int32_t n, int32_t count, int32_t L, int32_t J, const double *g,
          const double *h, int32_t m, double *out, double *work);

// Inverse transform: rebuilds every signal of out from its coefficients in
// src, levels L up to J-1 (none when L >= J; L < 0 acts as 0). Level j makes
// 2^(j+1) values from the coarse part c and the details d of 2^j values each:
// uplo(c, h) + uphi(d, g), element by element, added as doubles. work holds
// idpwt_work(n) doubles.
void idpwt(const double *src, int32_t n, int32_t count, int32_t L, int32_t J, const double *g,
           const double *h, int32_t m, double *out, double *work);

// The work arrays, in doubles, for signals of n samples.
inline int32_t dpwt_work(int32_t n) {
    return n / 2 + n / 4;
}
// (Where sums are carried in extended precision, the inverse also keeps
// one branch of a level apart: n more.)
inline int32_t idpwt_work(int32_t n) {
#if defined(WAVELET_EXTENDED_ACCUMULATION)
    return n / 2 + n;
#else
    return n / 2;
#endif
}

// The finest level either transform runs down to or up from: L, or 0 for
// L < 0. When no level runs (it is J or more), the signals are copied to out
// as they are and the answer is J, so the caller's level loop runs no time.
inline int32_t first_level(const double *src, int32_t n, int32_t count, int32_t L, int32_t J,
                           double *out) {
    const int32_t level = L < 0 ? 0 : L;
    if (level < J || count <= 0) return level;
    std::memcpy(out, src, static_cast<size_t>(n) * static_cast<size_t>(count) * sizeof(double));
    return J;
}
