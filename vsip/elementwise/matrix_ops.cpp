// Complex and real matrix element-wise operations and the products of a vector with the rows or
// columns of a matrix.
#include "vsip/elementwise/complex_arith.hpp"
#include "vsip/elementwise/matrix_driver.hpp"

#include "qvsip.h"

namespace qvsip::elementwise {
namespace {

// The magnitude's estimates are for the dense case only.
constexpr path_set magnitude_paths{.has_split = true};

// By rows (major 0) the vector runs along each row; otherwise along each column.
template <class Op, class VectorView>
void vector_matrix_product(const path_set& paths, const Op& op, const VectorView* a,
                           const vsip_cmview_f* b, vsip_major major, const vsip_cmview_f* r) {
    if (any_null(a, b, r)) return;
    const inner_dimension inner =
        major == VSIP_ROW ? inner_dimension::rows : inner_dimension::columns;
    apply_matrix(paths, op, matrix_port(*r, inner), repeated(port_of(*a)), matrix_port(*b, inner));
}

// The real-vector product's line unit depends on the profile (the same values either way).
path_set real_vector_product_paths() {
    path_set paths = complex_matrix_paths;
    paths.outer_unit = processor_profile() == profile_serial_reductions ? 1 : 2;
    return paths;
}

} // namespace
} // namespace qvsip::elementwise

using namespace qvsip::elementwise;

void vsip_cmadd_f(const vsip_cmview_f* A, const vsip_cmview_f* B, const vsip_cmview_f* R) {
    matrix_operation(complex_matrix_paths, complex_add{}, R, A, B);
}

void vsip_cmconj_f(const vsip_cmview_f* A, const vsip_cmview_f* R) {
    matrix_operation(complex_matrix_paths, complex_conjugate{}, R, A);
}

void vsip_cmcopy_f_f(const vsip_cmview_f* A, const vsip_cmview_f* R) {
    matrix_operation(complex_matrix_paths, complex_copy{}, R, A);
}

void vsip_cmfill_f(vsip_cscalar_f alpha, const vsip_cmview_f* R) {
    matrix_operation(complex_matrix_paths, complex_fill{{alpha.r, alpha.i}}, R);
}

void vsip_cmmag_f(const vsip_cmview_f* A, const vsip_mview_f* R) {
    matrix_operation(magnitude_paths, matrix_magnitude{}, R, A);
}

void vsip_mrecip_f(const vsip_mview_f* A, const vsip_mview_f* R) {
    matrix_operation(real_matrix_paths, reciprocal{}, R, A);
}

void vsip_cvmmul_f(const vsip_cvview_f* a, const vsip_cmview_f* B, vsip_major major,
                   const vsip_cmview_f* R) {
    vector_matrix_product(complex_matrix_paths, complex_multiply{}, a, B, major, R);
}

void vsip_rvcmmul_f(const vsip_vview_f* a, const vsip_cmview_f* B, vsip_major major,
                    const vsip_cmview_f* R) {
    vector_matrix_product(real_vector_product_paths(), real_times_complex{}, a, B, major, R);
}
