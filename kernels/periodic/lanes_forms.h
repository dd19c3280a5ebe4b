// The vector forms of the filtering kernels for one instruction set, the
// body that each lanes_<isa>.cpp compiles after naming WAVELET_ISA (the
// variant), WAVELET_WIDTH (its lane count) and WAVELET_TARGET (the compiler
// target). The kernels' entry points choose among the forms at run time.
// Outputs of stream_from doubles or more bypass the caches.
#include "../simd/simd.h"

#if !defined(WAVELET_EXTENDED_ACCUMULATION)
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "../simd/isa_target.h"

static_assert(simd_lanes(WAVELET_FORM(simd)) == WAVELET_WIDTH, "the variant table's lane count");

WAVELET_TARGET_BEGIN(WAVELET_TARGET)
#include "lanes_body.h"
using namespace signal_lanes;

#if WAVELET_FORMS_OF(downlo)
void WAVELET_FORM(downlo)(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    downlo_lanes<WAVELET_WIDTH>(x, n, h, m, y, n / 2 >= stream_from);
}
#endif
#if WAVELET_FORMS_OF(downhi)
void WAVELET_FORM(downhi)(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    downhi_lanes<WAVELET_WIDTH>(x, n, g, m, y, n / 2 >= stream_from);
}
#endif
#if WAVELET_FORMS_OF(uplo)
void WAVELET_FORM(uplo)(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    uplo_lanes<WAVELET_WIDTH>(x, n, h, m, y, n >= stream_from / 2);
}
#endif
#if WAVELET_FORMS_OF(uphi)
void WAVELET_FORM(uphi)(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    uphi_lanes<WAVELET_WIDTH>(x, n, g, m, y, n >= stream_from / 2);
}
#endif
#if WAVELET_FORMS_OF(upsum)
void WAVELET_FORM(upsum)(const double *lo, const double *hi, int32_t e, const double *g,
                         const double *h, int32_t m, double *y) {
    upsum_lanes<WAVELET_WIDTH>(lo, hi, e, g, h, m, y, e >= stream_from / 2);
}
#endif
WAVELET_TARGET_END
#endif
