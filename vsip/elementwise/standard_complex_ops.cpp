// The common complex and mixed real-complex vector element-wise operations: products, magnitudes,
// fills, negation, square roots, parts and the polar and rectangular forms.
#include "vsip/elementwise/complex_arith.hpp"
#include "vsip/elementwise/driver.hpp"
#include "vsip/elementwise/standard_arith.hpp"
#include "vsip/elementwise/standard_ports.hpp"

#include "qvsip.h"

namespace qvsip::elementwise {
namespace {

// Every operation here gives the same results in groups and one by one: the dense split case,
// and strided regions in groups of four.
constexpr path_set complex_everywhere{
    .dense = interleaved_units, .has_split = true, .strided_unit = 4, .strided_groups = true};
// A real output: the dense units follow it.
constexpr path_set real_output{.has_split = true, .strided_unit = 4, .strided_groups = true};

} // namespace
} // namespace qvsip::elementwise

using namespace qvsip::elementwise;

void vsip_cvjmul_f(const vsip_cvview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    vector_operation(complex_everywhere, conjugate_multiply{}, r, a, b);
}

void vsip_cvmagsq_f(const vsip_cvview_f* a, const vsip_vview_f* r) {
    vector_operation(real_output, squared_magnitude_of{}, r, a);
}

void vsip_cvfill_f(vsip_cscalar_f alpha, const vsip_cvview_f* r) {
    vector_operation(complex_everywhere, complex_fill{{alpha.r, alpha.i}}, r);
}

void vsip_cvneg_f(const vsip_cvview_f* a, const vsip_cvview_f* r) {
    vector_operation(complex_everywhere, complex_negation{}, r, a);
}

void vsip_cvsqrt_f(const vsip_cvview_f* a, const vsip_cvview_f* r) {
    vector_operation(complex_everywhere, lane_by_lane<complex_root_of>{}, r, a);
}

void vsip_rcvmul_f(const vsip_vview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    vector_operation(complex_everywhere, real_times_complex{}, r, a, b);
}

void vsip_rcvadd_f(const vsip_vview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    vector_operation(complex_everywhere, real_plus_complex{}, r, a, b);
}

void vsip_vcmplx_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_cvview_f* r) {
    vector_operation(complex_everywhere, make_complex{}, r, a, b);
}

void vsip_vreal_f(const vsip_cvview_f* a, const vsip_vview_f* r) {
    vector_operation(real_output, real_part{}, r, a);
}

void vsip_vimag_f(const vsip_cvview_f* a, const vsip_vview_f* r) {
    vector_operation(real_output, imaginary_part{}, r, a);
}

void vsip_varg_f(const vsip_cvview_f* a, const vsip_vview_f* r) {
    vector_operation(real_output, lane_by_lane<argument_of>{}, r, a);
}

// Magnitude into r and argument into t; each element is read before either is written, so r
// and t may be the parts of a itself.
void vsip_vpolar_f(const vsip_cvview_f* a, const vsip_vview_f* r, const vsip_vview_f* t) {
    if (any_null(a, r, t)) return;
    const lane_by_lane<polar_of> op{};
    apply_vector(real_output, op, op, real_pair_port(port_of(*r), port_of(*t)), port_of(*a));
}

void vsip_vrect_f(const vsip_vview_f* r, const vsip_vview_f* t, const vsip_cvview_f* a) {
    vector_operation(complex_everywhere, lane_by_lane<rectangular_of>{}, a, r, t);
}
