// The filtering kernels in 4-lane vectors, compiled for avx2 whatever the
// build's own target; chosen at run time by the kernels' entry points.
// Outputs of stream_from doubles or more bypass the caches.
#include "simd.h"

#if !defined(WAVELET_EXTENDED_ACCUMULATION)
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "isa_target.h"

WAVELET_TARGET_BEGIN("avx2")
#include "lanes.h"

void downlo_avx2(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    if (n / 2 >= stream_from)
        downlo_lanes<4, true>(x, n, h, m, y);
    else
        downlo_lanes<4>(x, n, h, m, y);
}
void downhi_avx2(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    if (n / 2 >= stream_from)
        downhi_lanes<4, true>(x, n, g, m, y);
    else
        downhi_lanes<4>(x, n, g, m, y);
}
void uplo_avx2(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    if (n >= stream_from / 2)
        uplo_lanes<4, true>(x, n, h, m, y);
    else
        uplo_lanes<4>(x, n, h, m, y);
}
void uphi_avx2(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    if (n >= stream_from / 2)
        uphi_lanes<4, true>(x, n, g, m, y);
    else
        uphi_lanes<4>(x, n, g, m, y);
}
void upsum_avx2(const double *lo, const double *hi, int32_t e, const double *g, const double *h,
                int32_t m, double *y) {
    if (e >= stream_from / 2)
        upsum_lanes<4, true>(lo, hi, e, g, h, m, y);
    else
        upsum_lanes<4>(lo, hi, e, g, h, m, y);
}
WAVELET_TARGET_END
#endif
