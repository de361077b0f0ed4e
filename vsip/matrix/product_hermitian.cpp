// vsip_cmprodh_f: R(i, j) = vsip_cvjdot_f(row i of A, row j of B) on row views built on the
// stack; all parallelism comes from the dot product.
#include "qvsip.h"
#include "simd/simd.hpp"
#include "vsip/record.hpp"
#include "vsip/support.hpp"

#include <algorithm>
#include <cstdint>

namespace qvsip::matrix {
namespace {

using namespace qtx::simd;

// Results written at once along an interleaved unit-stride row of R.
constexpr vsip_length results_per_store = 4;

vsip_cvview_f row_view(const vsip_cmview_f& m, vsip_index i) {
    vsip_cvview_f row{};
    row.block = m.block;
    row.offset = m.offset + i * static_cast<vsip_offset>(m.col_stride);
    row.stride = m.row_stride;
    row.length = m.row_length;
    row.tag = live_tag;
    return row;
}

// Columns [first, first + results_per_store) of a_row's row of R, stored as two 4-lane vectors.
void store_four(const vsip_cvview_f& a_row, const vsip_cmview_f& b, vsip_index first,
                float* target) {
    alignas(16) float results[2 * results_per_store];
    for (vsip_length c = 0; c < results_per_store; ++c) {
        const vsip_cvview_f b_row = row_view(b, first + c);
        const vsip_cscalar_f x = vsip_cvjdot_f(&a_row, &b_row);
        results[2 * c] = x.r;
        results[2 * c + 1] = x.i;
    }
    storeu(target, load(results));
    storeu(target + 4, load(results + 4));
}

void multiply_conjugate(const vsip_cmview_f& a, const vsip_cmview_f& b, const vsip_cmview_f& r) {
    const vsip_length rows = std::min(a.col_length, r.col_length);
    const vsip_length columns = std::min(r.row_length, b.col_length);
    const complex_matrix out = resolve(r);
    const bool grouped = interleaved(out) && r.row_stride == 1;
    for (vsip_index i = 0; i < rows; ++i) {
        const vsip_cvview_f a_row = row_view(a, i);
        const std::ptrdiff_t row_start = static_cast<std::ptrdiff_t>(i) * out.col_stride;
        vsip_index j = 0;
        if (grouped) {
            for (; columns - j >= results_per_store; j += results_per_store)
                store_four(a_row, b, j, out.re + row_start + 2 * static_cast<std::ptrdiff_t>(j));
        }
        for (; j < columns; ++j) {
            const vsip_cvview_f b_row = row_view(b, j);
            const vsip_cscalar_f x = vsip_cvjdot_f(&a_row, &b_row);
            const std::ptrdiff_t at = row_start + static_cast<std::ptrdiff_t>(j) * out.row_stride;
            out.re[at] = x.r;
            out.im[at] = x.i;
        }
    }
}

} // namespace
} // namespace qvsip::matrix

void vsip_cmprodh_f(const vsip_cmview_f* A, const vsip_cmview_f* B, const vsip_cmview_f* R) {
    if (!A || !B || !R) return;
    qvsip::matrix::multiply_conjugate(*A, *B, *R);
}
