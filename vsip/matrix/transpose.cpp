// vsip_cmtrans_f and vsip_cmherm_f: in place on a square matrix, engine plans for dense
// matrices, a flat copy when A's layout already is R's transposed layout, and the strided
// transpose for everything else (and whenever the engine offers no plan).
#include "qvsip.h"
#include "vsip/frame.hpp"
#include "vsip/matrix/transpose_layout.hpp"

#include <algorithm>

namespace qvsip::matrix {
namespace {

bool same_start(const complex_matrix& a, const complex_matrix& r) {
    return a.re == r.re && a.im == r.im;
}

bool same_square(const complex_matrix& a, const complex_matrix& r) {
    const vsip_length n = a.row_length;
    return a.col_length == n && r.row_length == n && r.col_length == n;
}

bool same_strides(const complex_matrix& a, const complex_matrix& r) {
    return a.row_stride == r.row_stride && a.col_stride == r.col_stride &&
           a.element_stride == r.element_stride;
}

// Negates every imaginary part of the dense matrix r after a plan-based transpose.
void conjugate_dense(const vsip_cmview_f& view, const complex_matrix& r, const matrix_lines& l,
                     int threads) {
    if (interleaved(r))
        vsip_cmconj_f(&view, &view);
    else
        flat_negate(r.im, element_count(l), threads);
}

// One engine plan for dense matrices of one storage; false when the engine declines.
bool plan_transpose(const complex_matrix& a, const matrix_lines& from, const complex_matrix& r,
                    const matrix_lines& to) {
    if (interleaved(a)) return plan_transpose_interleaved(a, from, r, to);
    return plan_transpose_split(a, from, r, to);
}

// Dense A and R of one storage whose transpose is a plan or a flat copy; false otherwise.
bool dense_transpose(const complex_matrix& a, const complex_matrix& r, int threads) {
    if (a.element_stride != r.element_stride) return false;
    const matrix_lines from = layout_of(a);
    const matrix_lines to = layout_of(r);
    if (!dense(from, a.element_stride) || !dense(to, r.element_stride)) return false;
    if (from.row_major == to.row_major)
        return from.inner == to.outer && from.outer == to.inner && plan_transpose(a, from, r, to);
    if (from.inner != to.inner || from.outer != to.outer) return false;
    // A's layout already is R's transposed layout.
    const vsip_length count = element_count(from);
    if (interleaved(a)) {
        flat_copy(a.re, r.re, count * interleaved_stride, threads);
    } else {
        flat_copy(a.re, r.re, count, threads);
        flat_copy(a.im, r.im, count, threads);
    }
    return true;
}

void transpose(const vsip_cmview_f* A, const vsip_cmview_f* R, conjugation_mode conjugation) {
    if (!A || !R) return;
    const int threads = thread_count();
    const complex_matrix a = resolve(*A);
    const complex_matrix r = resolve(*R);
    const vsip_length rows = std::min(a.col_length, r.row_length);
    const vsip_length columns = std::min(a.row_length, r.col_length);
    if (rows == 0 || columns == 0) return;
    if (same_start(a, r)) {
        // In place. With other strides than A's, R(j, i) and A(i, j) share their addresses
        // or overlap otherwise; the element-wise loop handles the first and nothing else is
        // supported.
        if (same_square(a, r) && same_strides(a, r)) {
            const matrix_lines l = layout_of(a);
            if (dense(l, a.element_stride) && plan_transpose(a, l, r, l)) {
                if (conjugation == conjugation_mode::negate) conjugate_dense(*R, r, l, threads);
            } else {
                swap_transpose(a, rows, conjugation, threads);
            }
            return;
        }
    } else if (dense_transpose(a, r, threads)) {
        if (conjugation == conjugation_mode::negate) conjugate_dense(*R, r, layout_of(r), threads);
        return;
    }
    strided_transpose(a, r, rows, columns, conjugation, threads);
}

} // namespace
} // namespace qvsip::matrix

void vsip_cmtrans_f(const vsip_cmview_f* A, const vsip_cmview_f* R) {
    qvsip::matrix::transpose(A, R, qvsip::matrix::conjugation_mode::keep);
}

void vsip_cmherm_f(const vsip_cmview_f* A, const vsip_cmview_f* R) {
    qvsip::matrix::transpose(A, R, qvsip::matrix::conjugation_mode::negate);
}
