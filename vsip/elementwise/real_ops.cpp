// Real, integer and boolean vector element-wise operations.
#include "vsip/elementwise/driver.hpp"
#include "vsip/elementwise/real_arith.hpp"

#include "qvsip.h"

namespace qvsip::elementwise {
namespace {

constexpr path_set kRealPaths{};
// Operations whose strided regions work in units of four consecutive elements.
constexpr path_set kStridedFours{.strided_unit = 4, .strided_groups = true};

} // namespace
} // namespace qvsip::elementwise

using namespace qvsip::elementwise;

void vsip_vneg_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(kStridedFours, Negate{}, r, a);
}

void vsip_vrecip_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(kStridedFours, Reciprocal{}, r, a);
}

void vsip_vfill_f(vsip_scalar_f alpha, const vsip_vview_f* r) {
    vector_operation(kRealPaths, Fill{alpha}, r);
}

void vsip_svadd_f(vsip_scalar_f alpha, const vsip_vview_f* b, const vsip_vview_f* r) {
    vector_operation(kStridedFours, AddScalar{alpha}, r, b);
}

void vsip_svmul_f(vsip_scalar_f alpha, const vsip_vview_f* b, const vsip_vview_f* r) {
    if (any_null(b, r)) return;
    const ScalarPort<float> in = port_of(*b);
    ScalarPort<float> out = port_of(*r);
    // Serially a zero factor stores zeros without reading b.
    if (alpha == 0.0f && qvsip::thread_count() == 1) {
        out.length = std::min(out.length, in.length);
        apply_vector(kRealPaths, Fill{0.0f}, Fill{0.0f}, out);
        return;
    }
    apply_vector(kRealPaths, MultiplyScalar{alpha}, MultiplyScalar{alpha}, out, in);
}

void vsip_vam_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* c,
                const vsip_vview_f* r) {
    vector_operation(kRealPaths, AddMultiply{}, r, a, b, c);
}

void vsip_vma_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* c,
                const vsip_vview_f* r) {
    vector_operation(kRealPaths, MultiplyAdd{}, r, a, b, c);
}

void vsip_vmsa_f(const vsip_vview_f* a, const vsip_vview_f* b, vsip_scalar_f beta,
                 const vsip_vview_f* r) {
    vector_operation(kRealPaths, MultiplyAddScalar{beta}, r, a, b);
}

void vsip_vmax_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r) {
    vector_operation(kRealPaths, Maximum{}, r, a, b);
}

void vsip_vlge_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_bl* r) {
    vector_operation(kRealPaths, Compare<Relation::greater_equal>{}, r, a, b);
}

void vsip_vlgt_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_bl* r) {
    vector_operation(kRealPaths, Compare<Relation::greater>{}, r, a, b);
}

void vsip_vllt_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_bl* r) {
    vector_operation(kRealPaths, Compare<Relation::less>{}, r, a, b);
}

void vsip_vceil_f_i(const vsip_vview_f* a, const vsip_vview_i* r) {
    vector_operation(kStridedFours, Ceiling{}, r, a);
}

void vsip_vcopy_i_f(const vsip_vview_i* a, const vsip_vview_f* r) {
    vector_operation(kStridedFours, IntegerToFloat{}, r, a);
}

void vsip_vnot_i(const vsip_vview_i* a, const vsip_vview_i* r) {
    vector_operation(kRealPaths, Complement{}, r, a);
}

void vsip_vand_bl(const vsip_vview_bl* a, const vsip_vview_bl* b, const vsip_vview_bl* r) {
    vector_operation(kRealPaths, LogicalAnd{}, r, a, b);
}
