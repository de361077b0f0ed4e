// Real and complex matrix forms of the common element-wise arithmetic.
#include "vsip/elementwise/complex_arith.hpp"
#include "vsip/elementwise/matrix_driver.hpp"
#include "vsip/elementwise/standard_arith.hpp"

#include "qvsip.h"

namespace qvsip::elementwise {
namespace {

// Groups give the results of single elements everywhere, so lines may be walked in groups.
constexpr path_set real_matrix_paths{.has_split = true, .strided_groups = true};
constexpr path_set complex_matrix_paths{
    .dense = interleaved_units, .has_split = true, .strided_groups = true};

// The output's strides fix the dimension order for every matrix of the operation.
template <class Op, class OutView, class... InView>
void matrix_operation(const path_set& paths, const Op& op, const OutView* r, const InView*... a) {
    if (any_null(r, a...)) return;
    const inner_dimension inner = inner_by_strides(*r);
    apply_matrix(paths, op, matrix_port(*r, inner), matrix_port(*a, inner)...);
}

} // namespace
} // namespace qvsip::elementwise

using namespace qvsip::elementwise;

void vsip_madd_f(const vsip_mview_f* A, const vsip_mview_f* B, const vsip_mview_f* R) {
    matrix_operation(real_matrix_paths, addition{}, R, A, B);
}

void vsip_msub_f(const vsip_mview_f* A, const vsip_mview_f* B, const vsip_mview_f* R) {
    matrix_operation(real_matrix_paths, subtraction{}, R, A, B);
}

void vsip_mmul_f(const vsip_mview_f* A, const vsip_mview_f* B, const vsip_mview_f* R) {
    matrix_operation(real_matrix_paths, multiplication{}, R, A, B);
}

void vsip_mdiv_f(const vsip_mview_f* A, const vsip_mview_f* B, const vsip_mview_f* R) {
    matrix_operation(real_matrix_paths, division{}, R, A, B);
}

void vsip_cmsub_f(const vsip_cmview_f* A, const vsip_cmview_f* B, const vsip_cmview_f* R) {
    matrix_operation(complex_matrix_paths, complex_subtract{}, R, A, B);
}

void vsip_cmmul_f(const vsip_cmview_f* A, const vsip_cmview_f* B, const vsip_cmview_f* R) {
    matrix_operation(complex_matrix_paths, complex_multiply{}, R, A, B);
}

void vsip_cmjmul_f(const vsip_cmview_f* A, const vsip_cmview_f* B, const vsip_cmview_f* R) {
    matrix_operation(complex_matrix_paths, conjugate_multiply{}, R, A, B);
}
