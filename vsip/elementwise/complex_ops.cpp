// Complex vector element-wise operations.
#include "vsip/elementwise/complex_arith.hpp"
#include "vsip/elementwise/driver.hpp"

#include "qvsip.h"

namespace qvsip::elementwise {
namespace {

// Operations with the second dense case over split parts.
constexpr path_set complex_with_split{.dense = interleaved_units, .has_split = true};

// Complex products in one region without a second; the interleaved unit (in pairs) depends on
// the profile, and there is no parallel strided path.
path_set multiply_paths() {
    const std::uint64_t pairs = processor_profile() == profile_serial_reductions ? 16 : 8;
    return {.dense = {pairs, 0},
            .has_split = true,
            .split = {frame::dense_unit, 0},
            .strided_serial = true};
}

// Division: one region whose unit depends on the profile; exact division outside the regions.
path_set divide_paths() {
    const std::uint64_t pairs = processor_profile() == profile_serial_reductions ? 8 : 16;
    return {.dense = {pairs, 0}};
}

// The magnitude's dense units follow its real output; strided units of 4 elements.
constexpr path_set magnitude_paths{.dense = real_units, .strided_unit = 4};

} // namespace
} // namespace qvsip::elementwise

using namespace qvsip::elementwise;

void vsip_cvadd_f(const vsip_cvview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    vector_operation(complex_paths, complex_add{}, r, a, b);
}

void vsip_cvsub_f(const vsip_cvview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    vector_operation(complex_paths, complex_subtract{}, r, a, b);
}

void vsip_cvmul_f(const vsip_cvview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    vector_operation(multiply_paths(), complex_multiply{}, r, a, b);
}

void vsip_cvdiv_f(const vsip_cvview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    if (any_null(a, b, r)) return;
    apply_vector(divide_paths(), complex_divide<true>{}, complex_divide<false>{}, port_of(*r),
                 port_of(*a), port_of(*b));
}

void vsip_csvmul_f(vsip_cscalar_f alpha, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    if (any_null(b, r)) return;
    const complex_port in = port_of(*b);
    complex_port out = port_of(*r);
    // Serially on interleaved storage a zero factor stores zeros without reading b.
    if (alpha.r == 0.0f && alpha.i == 0.0f && in.interleaved() && out.interleaved() &&
        qvsip::thread_count() == 1) {
        out.length = std::min(out.length, in.length);
        const complex_fill zeros{{0.0f, 0.0f}};
        apply_vector(complex_with_split, zeros, zeros, out);
        return;
    }
    apply_vector(complex_with_split, complex_scale{{alpha.r, alpha.i}},
                 complex_scale{{alpha.r, alpha.i}}, out, in);
}

void vsip_rscvmul_f(vsip_scalar_f alpha, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    vector_operation(complex_with_split, real_scale{alpha}, r, b);
}

void vsip_cvconj_f(const vsip_cvview_f* a, const vsip_cvview_f* r) {
    vector_operation(complex_paths, complex_conjugate{}, r, a);
}

void vsip_cvcopy_f_f(const vsip_cvview_f* a, const vsip_cvview_f* r) {
    vector_operation(complex_with_split, complex_copy{}, r, a);
}

void vsip_cvmag_f(const vsip_cvview_f* a, const vsip_vview_f* r) {
    vector_operation(magnitude_paths, vector_magnitude{}, r, a);
}
