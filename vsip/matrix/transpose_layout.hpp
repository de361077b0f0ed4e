// Shared pieces of the transposes: a matrix described by its inner and outer dimension, the
// engine-plan transposes of dense matrices, and the library's own copy loops.
#pragma once

#include "vsip/support.hpp"

#include <cstdint>

namespace qvsip::matrix {

// Whether the imaginary parts are negated on the way (vsip_cmherm_f) or not (vsip_cmtrans_f).
enum class conjugation_mode { keep, negate };

// A matrix seen along its dimension of smaller stride: with row stride < column stride the
// rows are inner (row-major), otherwise the columns.
struct matrix_lines {
    bool row_major;
    vsip_length inner, outer;
    std::ptrdiff_t inner_stride, outer_stride; // in scalars
};

inline matrix_lines layout_of(const complex_matrix& m) {
    if (m.row_stride < m.col_stride)
        return {true, m.row_length, m.col_length, m.row_stride, m.col_stride};
    return {false, m.col_length, m.row_length, m.col_stride, m.row_stride};
}

// Inner elements adjacent and outer lines adjacent: the matrix is one contiguous array.
inline bool dense(const matrix_lines& l, std::ptrdiff_t element_stride) {
    return l.inner_stride == element_stride &&
           l.outer_stride == element_stride * static_cast<std::ptrdiff_t>(l.inner);
}

inline vsip_length element_count(const matrix_lines& l) {
    return l.inner * l.outer;
}

// Engine plans moving dense A (layout from) to dense R (layout to) transposed: element (o, k)
// of A goes to o + k * to.inner of R. In place when the addresses agree. Returns false, having
// touched nothing, when the engine offers no plan or the sizes do not fit its dimensions.
bool plan_transpose_interleaved(const complex_matrix& a, const matrix_lines& from,
                                const complex_matrix& r, const matrix_lines& to);
bool plan_transpose_split(const complex_matrix& a, const matrix_lines& from,
                          const complex_matrix& r, const matrix_lines& to);

// R(j, i) = A(i, j) (conjugated as asked) for i < rows, j < columns, in one parallel region
// over A's outer dimension.
void strided_transpose(const complex_matrix& a, const complex_matrix& r, vsip_length rows,
                       vsip_length columns, conjugation_mode conjugation, int threads);

// In-place transpose of the n x n matrix m by swapping the elements above the diagonal with
// their mirror elements, rows split among the threads.
void swap_transpose(const complex_matrix& m, vsip_length n, conjugation_mode conjugation,
                    int threads);

// Copies count contiguous scalars from source to target (serially or in regions of 16- and
// 8-scalar units).
void flat_copy(const float* source, float* target, vsip_length count, int threads);

// Negates count contiguous scalars in place.
void flat_negate(float* data, vsip_length count, int threads);

} // namespace qvsip::matrix
