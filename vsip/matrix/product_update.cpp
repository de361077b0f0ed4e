// Row-update form: R row i += A(i, k) x B row k; with T != 1 each row update is one parallel
// region over the row's elements.
#include "vsip/frame.hpp"
#include "vsip/matrix/product_forms.hpp"

namespace qvsip::matrix {

void row_update_form(const complex_matrix& a, const complex_matrix& b, const complex_matrix& r,
                     product_shape shape, int threads) {
    const bool dense = interleaved(a) && interleaved(b) && interleaved(r) && rows_contiguous(b) &&
                       rows_contiguous(r);
    for (std::uint64_t i = 0; i < shape.rows; ++i) {
        const strided_complex r_row = row_of(r, i);
        for (std::uint64_t k = 0; k < shape.depth; ++k) {
            const complex_sum scale = element_of(a, i, k);
            const strided_complex b_row = row_of(b, k);
            if (dense) {
                frame::run_in_units(threads, shape.columns, dense_group,
                                    [&](std::uint64_t first, std::uint64_t last) {
                                        dense_update(r_row.re, scale, b_row.re, first, last);
                                    });
            } else {
                frame::run_in_units(threads, shape.columns, strided_element_unit,
                                    [&](std::uint64_t first, std::uint64_t last) {
                                        strided_update(r_row, scale, b_row, first, last);
                                    });
            }
        }
    }
}

} // namespace qvsip::matrix
