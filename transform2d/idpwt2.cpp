// Inverse periodized 2-D wavelet transform.
//
// Starting from the coarse block of side 2^L, each level doubles the block:
// every row of the doubled block is rebuilt from its coarse half and its
// detail half (uplo + uphi, summed), then every column the same way. All
// rows of a level precede all of its columns, the reverse of the forward
// transform. A coarse level below 0 starts from the block of side 1, as the
// forward transform ends there for any L <= 0, so the block never outgrows
// the grid.
#include "../kernels/periodic/periodic.h"
#include "grid_simd.h"
#include "transform2d.h"

#include <cstddef>

void idpwt2_plain(const double *src, int32_t col_len, int32_t row_step, int32_t L, int32_t J,
                  const double *g, const double *h, int32_t m, double *out, double *work) {
    copydouble(src, out, col_len * row_step);
    if (L >= J) return;
    const int32_t start = L < 0 ? 0 : L;
    double *w0 = work;
    double *w1 = work + col_len;
    double *w2 = work + 2 * static_cast<ptrdiff_t>(col_len);
    double *w3 = work + 3 * static_cast<ptrdiff_t>(col_len);
    int32_t e = int32_t{1} << start;
    for (int32_t lev = start; lev < J; ++lev) {
        const int32_t s = 2 * e;
        for (int32_t r = 0; r < s; ++r) {
            unpackdouble(out, e, row_step, r, w1);
            unpackdouble(out + static_cast<ptrdiff_t>(col_len) * e, e, row_step, r, w2);
            uplo(w1, e, h, m, w0);
            uphi(w2, e, g, m, w3);
            adddouble(w0, w3, s, w0);
            packdouble(w0, s, row_step, r, out);
        }
        for (int32_t c = 0; c < s; ++c) {
            double *column = out + static_cast<ptrdiff_t>(col_len) * c;
            uplo(column, e, h, m, w1);
            uphi(column + e, e, g, m, w2);
            adddouble(w1, w2, s, column);
        }
        e = s;
    }
}

// The entry point: the vector form for this CPU when the grid is square with
// a dyadic side matching J and the source is not the result, else (and
// always on builds that accumulate in extended precision) the plain loops
// above.
void idpwt2(const double *src, int32_t col_len, int32_t row_step, int32_t L, int32_t J,
            const double *g, const double *h, int32_t m, double *out, double *work) {
    if (src != out && col_len == row_step && J >= 0 && J <= 15 && col_len == (int32_t{1} << J) &&
        m >= 0 && WAVELET_RUN_VARIANT(idpwt2, src, col_len, L, J, g, h, m, out, work))
        return;
    idpwt2_plain(src, col_len, row_step, L, J, g, h, m, out, work);
}
