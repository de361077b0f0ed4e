// vsip_cmprod_f: zero R, then choose the loop form from the storage orders of R, B and A.
#include "qvsip.h"
#include "vsip/frame.hpp"
#include "vsip/matrix/product_forms.hpp"

#include <algorithm>

namespace qvsip::matrix {
namespace {

// Ties count as row-major.
bool row_major(const complex_matrix& m) {
    return m.col_stride >= m.row_stride;
}

void multiply(const complex_matrix& a, const complex_matrix& b, const complex_matrix& r,
              int threads) {
    const product_shape shape{std::min(a.col_length, r.col_length),
                              std::min(b.row_length, r.row_length),
                              std::min(a.row_length, b.col_length)};
    if (shape.rows == 0 || shape.columns == 0 || shape.depth == 0) return;
    if (row_major(r) && row_major(b)) {
        row_update_form(a, b, r, shape, threads);
    } else if (!row_major(r) && !row_major(a)) {
        // Column j of R += B(k, j) x column k of A: the row update of R^T = B^T A^T.
        row_update_form(transposed(b), transposed(a), transposed(r),
                        {shape.columns, shape.rows, shape.depth}, threads);
    } else {
        inner_product_form(a, b, r, shape, threads);
    }
}

} // namespace
} // namespace qvsip::matrix

void vsip_cmprod_f(const vsip_cmview_f* A, const vsip_cmview_f* B, const vsip_cmview_f* R) {
    if (!A || !B || !R) return;
    vsip_cmfill_f(vsip_cmplx_f(0.0f, 0.0f), R);
    qvsip::matrix::multiply(qvsip::resolve(*A), qvsip::resolve(*B), qvsip::resolve(*R),
                            qvsip::thread_count());
}
