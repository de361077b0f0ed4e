// Complex vector element-wise operations.
#include "vsip/elementwise/complex_arith.hpp"
#include "vsip/elementwise/driver.hpp"

#include "qvsip.h"

namespace qvsip::elementwise {
namespace {

// Operations with the second dense case over split parts.
constexpr path_set kComplexWithSplit{.dense = kInterleavedUnits, .has_split = true};

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
constexpr path_set kMagnitudePaths{.dense = kRealUnits, .strided_unit = 4};

} // namespace
} // namespace qvsip::elementwise

using namespace qvsip::elementwise;

void vsip_cvadd_f(const vsip_cvview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    vector_operation(kComplexPaths, ComplexAdd{}, r, a, b);
}

void vsip_cvsub_f(const vsip_cvview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    vector_operation(kComplexPaths, ComplexSubtract{}, r, a, b);
}

void vsip_cvmul_f(const vsip_cvview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    vector_operation(multiply_paths(), ComplexMultiply{}, r, a, b);
}

void vsip_cvdiv_f(const vsip_cvview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    if (any_null(a, b, r)) return;
    apply_vector(divide_paths(), ComplexDivide<true>{}, ComplexDivide<false>{}, port_of(*r),
                 port_of(*a), port_of(*b));
}

void vsip_csvmul_f(vsip_cscalar_f alpha, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    if (any_null(b, r)) return;
    const ComplexPort in = port_of(*b);
    ComplexPort out = port_of(*r);
    // Serially on interleaved storage a zero factor stores zeros without reading b.
    if (alpha.r == 0.0f && alpha.i == 0.0f && in.interleaved() && out.interleaved() &&
        qvsip::thread_count() == 1) {
        out.length = std::min(out.length, in.length);
        const ComplexFill zeros{{0.0f, 0.0f}};
        apply_vector(kComplexWithSplit, zeros, zeros, out);
        return;
    }
    apply_vector(kComplexWithSplit, ComplexScale{{alpha.r, alpha.i}},
                 ComplexScale{{alpha.r, alpha.i}}, out, in);
}

void vsip_rscvmul_f(vsip_scalar_f alpha, const vsip_cvview_f* b, const vsip_cvview_f* r) {
    vector_operation(kComplexWithSplit, RealScale{alpha}, r, b);
}

void vsip_cvconj_f(const vsip_cvview_f* a, const vsip_cvview_f* r) {
    vector_operation(kComplexPaths, Conjugate{}, r, a);
}

void vsip_cvcopy_f_f(const vsip_cvview_f* a, const vsip_cvview_f* r) {
    vector_operation(kComplexWithSplit, ComplexCopy{}, r, a);
}

void vsip_cvmag_f(const vsip_cvview_f* a, const vsip_vview_f* r) {
    vector_operation(kMagnitudePaths, VectorMagnitude{}, r, a);
}
