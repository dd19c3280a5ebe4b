// The grid transforms in 8-lane vectors, compiled for avx512f whatever the
// build's own target; chosen at run time by dpwt2 and idpwt2.
#include "grid_simd.h"

#if !defined(WAVELET_EXTENDED_ACCUMULATION)
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "../kernels/periodic/isa_target.h"

WAVELET_TARGET_BEGIN("avx512f")
#include "grid_lanes.h"

void dpwt2_avx512(const double *src, int32_t n, int32_t L, int32_t J, const double *g,
                  const double *h, int32_t m, double *out, double *work) {
    dpwt2_lanes<8>(src, n, L, J, g, h, m, out, work);
}
void idpwt2_avx512(const double *src, int32_t n, int32_t L, int32_t J, const double *g,
                   const double *h, int32_t m, double *out, double *work) {
    idpwt2_lanes<8>(src, n, L, J, g, h, m, out, work);
}
WAVELET_TARGET_END
#endif
