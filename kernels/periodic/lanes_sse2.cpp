// The filtering kernels in 2-lane vectors, compiled for sse2 whatever the
// build's own target; chosen at run time by the kernels' entry points.
#include "simd.h"

#if !defined(WAVELET_EXTENDED_ACCUMULATION)
#include <cstddef>
#include <cstdint>
#include <cstring>

#pragma GCC target("sse2")
#pragma GCC optimize("fp-contract=off")
#include "lanes.h"

void downlo_sse2(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    downlo_lanes<2>(x, n, h, m, y);
}
void downhi_sse2(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    downhi_lanes<2>(x, n, g, m, y);
}
void uplo_sse2(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    uplo_lanes<2>(x, n, h, m, y);
}
void uphi_sse2(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    uphi_lanes<2>(x, n, g, m, y);
}
#endif
