// Strided gather and scatter between a grid row and a contiguous vector, a
// contiguous copy, and an element-wise sum. Each walks i upward from 0.
#include "../kernels/simd/accumulator.h"
#include "transform2d.h"

#include <cstddef>

void unpackdouble(const double *x, int32_t count, int32_t step, int32_t start, double *y) {
    for (int32_t i = 0; i < count; ++i) y[i] = x[start + static_cast<ptrdiff_t>(step) * i];
}

void packdouble(const double *y, int32_t count, int32_t step, int32_t start, double *x) {
    for (int32_t i = 0; i < count; ++i) x[start + static_cast<ptrdiff_t>(step) * i] = y[i];
}

void copydouble(const double *x, double *y, int32_t count) {
    for (int32_t i = 0; i < count; ++i) y[i] = x[i];
}

// Reads a[i] and b[i] before writing z[i], so z may alias either addend.
void adddouble(const double *a, const double *b, int32_t count, double *z) {
    for (int32_t i = 0; i < count; ++i)
        z[i] = static_cast<double>(static_cast<accum_t>(a[i]) + b[i]);
}
