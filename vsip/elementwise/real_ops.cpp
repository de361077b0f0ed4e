// Real, integer and boolean vector element-wise operations.
#include "vsip/elementwise/driver.hpp"
#include "vsip/elementwise/real_arith.hpp"

#include "qvsip.h"

using namespace qvsip::elementwise;

void vsip_vneg_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(strided_fours, negation{}, r, a);
}

void vsip_vrecip_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(strided_fours, reciprocal{}, r, a);
}

void vsip_vfill_f(vsip_scalar_f alpha, const vsip_vview_f* r) {
    vector_operation(real_paths, real_fill{alpha}, r);
}

void vsip_svadd_f(vsip_scalar_f alpha, const vsip_vview_f* b, const vsip_vview_f* r) {
    vector_operation(strided_fours, add_scalar{alpha}, r, b);
}

void vsip_svmul_f(vsip_scalar_f alpha, const vsip_vview_f* b, const vsip_vview_f* r) {
    if (any_null(b, r)) return;
    const scalar_port<float> in = port_of(*b);
    scalar_port<float> out = port_of(*r);
    // Serially a zero factor stores zeros without reading b.
    if (alpha == 0.0f && qvsip::thread_count() == 1) {
        out.length = std::min(out.length, in.length);
        apply_vector(real_paths, real_fill{0.0f}, real_fill{0.0f}, out);
        return;
    }
    apply_vector(real_paths, multiply_scalar{alpha}, multiply_scalar{alpha}, out, in);
}

void vsip_vam_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* c,
                const vsip_vview_f* r) {
    vector_operation(real_paths, add_multiply{}, r, a, b, c);
}

void vsip_vma_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* c,
                const vsip_vview_f* r) {
    vector_operation(real_paths, multiply_add{}, r, a, b, c);
}

void vsip_vmsa_f(const vsip_vview_f* a, const vsip_vview_f* b, vsip_scalar_f beta,
                 const vsip_vview_f* r) {
    vector_operation(real_paths, multiply_add_scalar{beta}, r, a, b);
}

void vsip_vmax_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r) {
    vector_operation(real_paths, maximum{}, r, a, b);
}

void vsip_vlge_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_bl* r) {
    vector_operation(real_paths, compare<relation::greater_equal>{}, r, a, b);
}

void vsip_vlgt_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_bl* r) {
    vector_operation(real_paths, compare<relation::greater>{}, r, a, b);
}

void vsip_vllt_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_bl* r) {
    vector_operation(real_paths, compare<relation::less>{}, r, a, b);
}

void vsip_vceil_f_i(const vsip_vview_f* a, const vsip_vview_i* r) {
    vector_operation(strided_fours, ceiling{}, r, a);
}

void vsip_vcopy_i_f(const vsip_vview_i* a, const vsip_vview_f* r) {
    vector_operation(strided_fours, integer_to_float{}, r, a);
}

void vsip_vnot_i(const vsip_vview_i* a, const vsip_vview_i* r) {
    vector_operation(real_paths, complement{}, r, a);
}

void vsip_vand_bl(const vsip_vview_bl* a, const vsip_vview_bl* b, const vsip_vview_bl* r) {
    vector_operation(real_paths, logical_and{}, r, a, b);
}
