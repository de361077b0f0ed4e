// The common real vector element-wise operations: arithmetic, scalar forms, copies, ramps,
// clipping, swaps and the larger magnitude of two vectors.
#include "vsip/elementwise/driver.hpp"
#include "vsip/elementwise/real_arith.hpp"
#include "vsip/elementwise/standard_arith.hpp"
#include "vsip/elementwise/standard_ports.hpp"

#include "qvsip.h"

using namespace qvsip::elementwise;

void vsip_vadd_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r) {
    vector_operation(strided_fours, addition{}, r, a, b);
}

void vsip_vsub_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r) {
    vector_operation(strided_fours, subtraction{}, r, a, b);
}

void vsip_vmul_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r) {
    vector_operation(strided_fours, multiplication{}, r, a, b);
}

void vsip_vdiv_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r) {
    vector_operation(strided_fours, division{}, r, a, b);
}

void vsip_vmag_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(strided_fours, absolute{}, r, a);
}

void vsip_vsq_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(strided_fours, square{}, r, a);
}

void vsip_vsma_f(const vsip_vview_f* a, vsip_scalar_f beta, const vsip_vview_f* c,
                 const vsip_vview_f* r) {
    vector_operation(strided_fours, scaled_add{beta}, r, a, c);
}

void vsip_svsub_f(vsip_scalar_f alpha, const vsip_vview_f* b, const vsip_vview_f* r) {
    vector_operation(strided_fours, scalar_minus{alpha}, r, b);
}

void vsip_svdiv_f(vsip_scalar_f alpha, const vsip_vview_f* b, const vsip_vview_f* r) {
    vector_operation(strided_fours, scalar_over{alpha}, r, b);
}

void vsip_vcopy_f_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(strided_fours, identity{}, r, a);
}

void vsip_vramp_f(vsip_scalar_f alpha, vsip_scalar_f beta, const vsip_vview_f* r) {
    if (r == nullptr) return;
    apply_vector(real_paths, ramp{alpha, beta}, ramp{alpha, beta}, port_of(*r), index_port{});
}

void vsip_vclip_f(const vsip_vview_f* a, vsip_scalar_f t1, vsip_scalar_f t2, vsip_scalar_f c1,
                  vsip_scalar_f c2, const vsip_vview_f* r) {
    vector_operation(strided_fours, clip{t1, t2, c1, c2}, r, a);
}

void vsip_vmaxmg_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r) {
    vector_operation(strided_fours, larger_magnitude{}, r, a, b);
}

// Each pair is read whole before either element is written, so the views may overlap by
// element positions.
void vsip_vswap_f(const vsip_vview_f* a, const vsip_vview_f* b) {
    if (any_null(a, b)) return;
    const real_pair_port both(port_of(*a), port_of(*b));
    apply_vector(strided_fours, exchange{}, exchange{}, both, both);
}
