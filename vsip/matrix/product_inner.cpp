// Inner-product form: one dot product per element of R; with T != 1 each dot product is one
// parallel region whose threads add their partial sums to a shared sum under the OpenMP
// atomic lock.
#include "vsip/frame.hpp"
#include "vsip/matrix/product_forms.hpp"

namespace qvsip::matrix {

namespace {

template <class DotKernel>
complex_sum dot_product(int threads, std::uint64_t depth, std::uint64_t unit, DotKernel dot) {
    if (threads == 1) return dot(0, depth);
    complex_sum shared;
    auto add_chunk = [&](std::uint64_t first, std::uint64_t last) {
        add_atomically(shared, dot(first, last));
    };
    const std::uint64_t done =
        frame::parallel_region(threads, 0, depth, unit, frame::range_kernel(add_chunk));
    shared.add(dot(done, depth));
    return shared;
}

} // namespace

void inner_product_form(const complex_matrix& a, const complex_matrix& b, const complex_matrix& r,
                        product_shape shape, int threads) {
    const bool dense = interleaved(a) && interleaved(b) && interleaved(r) && rows_contiguous(a) &&
                       columns_contiguous(b);
    for (std::uint64_t i = 0; i < shape.rows; ++i) {
        const strided_complex a_row = row_of(a, i);
        for (std::uint64_t j = 0; j < shape.columns; ++j) {
            const strided_complex b_column = column_of(b, j);
            complex_sum sum;
            if (dense) {
                sum = dot_product(threads, shape.depth, dense_group,
                                  [&](std::uint64_t first, std::uint64_t last) {
                                      return dense_dot(a_row.re, b_column.re, first, last);
                                  });
            } else {
                sum = dot_product(threads, shape.depth, strided_element_unit,
                                  [&](std::uint64_t first, std::uint64_t last) {
                                      return strided_dot(a_row, b_column, first, last);
                                  });
            }
            const strided_complex r_row = row_of(r, i);
            *r_row.re_at(j) = sum.re;
            *r_row.im_at(j) = sum.im;
        }
    }
}

} // namespace qvsip::matrix
