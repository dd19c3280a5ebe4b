// Forward periodized 2-D wavelet transform.
//
// Each level takes the top-left block of side s, filters and downsamples
// every column (lowpass into entries 0..s/2-1, highpass into s/2..s-1), then
// every row the same way (lowpass into columns 0..s/2-1, highpass into
// s/2..s-1). All columns of a level precede all of its rows; that order fixes
// the rounding of every coefficient. The levels run from J-1 down to L, and
// the top-left block of side 2^L keeps the coarse coefficients.
#include "../kernels/periodic/periodic.h"
#include "grid_simd.h"
#include "transform2d.h"

#include <cstddef>

void dpwt2_plain(const double *src, int32_t col_len, int32_t row_step, int32_t L, int32_t J,
                 const double *g, const double *h, int32_t m, double *out, double *work) {
    copydouble(src, out, col_len * row_step);
    double *w0 = work;
    double *w1 = work + col_len;
    double *w2 = work + 2 * static_cast<ptrdiff_t>(col_len);
    // Below level 0 the blocks have side 1 or 0 and change nothing, so the
    // loop stops at 0; this also keeps the counter clear of overflow.
    const int32_t stop = L < 0 ? 0 : L;
    int32_t size = col_len;
    for (int32_t lev = J - 1; lev >= stop; --lev) {
        if (size > 0) {
            const int32_t half = size / 2;
            for (int32_t c = 0; c < size; ++c) {
                double *column = out + static_cast<ptrdiff_t>(col_len) * c;
                copydouble(column, w0, size);
                downlo(w0, size, h, m, column);
                downhi(w0, size, g, m, column + half);
            }
            for (int32_t r = 0; r < size; ++r) {
                unpackdouble(out, size, row_step, r, w0);
                downlo(w0, size, h, m, w1);
                downhi(w0, size, g, m, w2);
                packdouble(w1, half, row_step, r, out);
                packdouble(w2, half, row_step, r, out + static_cast<ptrdiff_t>(col_len) * half);
            }
        }
        size /= 2;
    }
}

// The entry point: the vector form for this CPU when the grid is square with
// a dyadic side matching J, else (and always on builds that accumulate in
// extended precision) the plain loops above.
void dpwt2(const double *src, int32_t col_len, int32_t row_step, int32_t L, int32_t J,
           const double *g, const double *h, int32_t m, double *out, double *work) {
    if (col_len == row_step && J >= 0 && J <= 15 && col_len == (int32_t{1} << J) && m >= 0 &&
        WAVELET_RUN_VARIANT(dpwt2, src, col_len, L, J, g, h, m, out, work))
        return;
    dpwt2_plain(src, col_len, row_step, L, J, g, h, m, out, work);
}
