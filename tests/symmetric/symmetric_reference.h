// A plain reference for the symmetric-filter kernels, written from their
// defining sums with modular indexing: one loop per output, taps in
// increasing order, a double sum from +0.0. The upsampling sums run over the
// zero-inserted sequence itself, zero terms included, as they are defined.
#pragma once

#include <cstdint>
#include <vector>

namespace symref {

using Vec = std::vector<double>;

inline int64_t wrap(int64_t a, int64_t n) {
    const int64_t r = a % n;
    return r < 0 ? r + n : r;
}

inline Vec mirror(const Vec &h) {
    const int64_t m = static_cast<int64_t>(h.size());
    Vec g(h.size());
    for (int64_t k = 0; k < m; ++k) g[k] = ((k + (m - 1) / 2) % 2 ? -1.0 : 1.0) * h[k];
    return g;
}

inline Vec downlopbs(const Vec &x, const Vec &h) {
    const int64_t n = static_cast<int64_t>(x.size()), m = static_cast<int64_t>(h.size());
    Vec y(x.size() / 2);
    for (int64_t i = 0; i < n / 2; ++i) {
        double s = 0.0;
        for (int64_t k = 0; k < m; ++k) s += h[k] * x[wrap(2 * i + k - m / 2, n)];
        y[i] = s;
    }
    return y;
}

inline Vec downhipbs(const Vec &x, const Vec &g) {
    const int64_t n = static_cast<int64_t>(x.size()), m = static_cast<int64_t>(g.size());
    Vec y(x.size() / 2);
    for (int64_t i = 0; i < n / 2; ++i) {
        double s = 0.0;
        for (int64_t k = 0; k < m; ++k) s += g[k] * x[wrap(2 * i + (m + 1) / 2 - k, n)];
        y[i] = s;
    }
    return y;
}

// u[2j] = x[j], u[2j+1] = 0.
inline Vec zero_inserted(const Vec &x) {
    Vec u(2 * x.size(), 0.0);
    for (size_t j = 0; j < x.size(); ++j) u[2 * j] = x[j];
    return u;
}

inline Vec uplopbs(const Vec &x, const Vec &h) {
    const Vec u = zero_inserted(x);
    const int64_t n2 = static_cast<int64_t>(u.size()), m = static_cast<int64_t>(h.size());
    Vec y(u.size());
    for (int64_t p = 0; p < n2; ++p) {
        double s = 0.0;
        for (int64_t k = 0; k < m; ++k) s += h[k] * u[wrap(p + (m + 1) / 2 - 1 - k, n2)];
        y[p] = s;
    }
    return y;
}

inline Vec uphipbs(const Vec &x, const Vec &g) {
    const Vec u = zero_inserted(x);
    const int64_t n2 = static_cast<int64_t>(u.size()), m = static_cast<int64_t>(g.size());
    Vec y(u.size());
    for (int64_t p = 0; p < n2; ++p) {
        double s = 0.0;
        for (int64_t k = 0; k < m; ++k) s += g[k] * u[wrap(p + k - m / 2 - 1, n2)];
        y[p] = s;
    }
    return y;
}

} // namespace symref
