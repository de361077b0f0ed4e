// The three loop forms of the complex matrix product R = A x B, on resolved matrices whose R
// has been zero-filled. The column-update form is the row-update form on the transposes
// (R^T = B^T A^T), so only two forms are implemented.
#pragma once

#include "vsip/matrix/product_kernels.hpp"
#include "vsip/support.hpp"

#include <cstdint>
#include <utility>

namespace qvsip::matrix {

// R has rows x columns elements; each is a sum of depth products.
struct product_shape {
    std::uint64_t rows, columns, depth;
};

inline std::ptrdiff_t signed_index(std::uint64_t i) {
    return static_cast<std::ptrdiff_t>(i);
}

inline strided_complex row_of(const complex_matrix& m, std::uint64_t i) {
    const std::ptrdiff_t first = signed_index(i) * m.col_stride;
    return {m.re + first, m.im + first, m.row_stride};
}

inline strided_complex column_of(const complex_matrix& m, std::uint64_t j) {
    const std::ptrdiff_t first = signed_index(j) * m.row_stride;
    return {m.re + first, m.im + first, m.col_stride};
}

inline complex_sum element_of(const complex_matrix& m, std::uint64_t i, std::uint64_t j) {
    const std::ptrdiff_t at = signed_index(i) * m.col_stride + signed_index(j) * m.row_stride;
    return {m.re[at], m.im[at]};
}

// The same elements seen as the transposed matrix.
inline complex_matrix transposed(complex_matrix m) {
    std::swap(m.row_stride, m.col_stride);
    std::swap(m.row_length, m.col_length);
    return m;
}

// Rows are contiguous when consecutive row elements are one element apart; likewise columns.
inline bool rows_contiguous(const complex_matrix& m) {
    return m.row_stride == m.element_stride;
}
inline bool columns_contiguous(const complex_matrix& m) {
    return m.col_stride == m.element_stride;
}

// R(i, j) = sum over k of A(i, k) B(k, j), along A's rows and B's columns.
void inner_product_form(const complex_matrix& a, const complex_matrix& b, const complex_matrix& r,
                        product_shape shape, int threads);

// R row i += A(i, k) x B row k for every i and k.
void row_update_form(const complex_matrix& a, const complex_matrix& b, const complex_matrix& r,
                     product_shape shape, int threads);

} // namespace qvsip::matrix
