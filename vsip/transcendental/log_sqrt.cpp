// Base-10 logarithm and square root of real vectors.
#include "vsip/elementwise/estimates.hpp"
#include "vsip/transcendental/driver.hpp"

#include <math.h>

namespace qvsip::transcendental {
namespace {

// Groups always take the kernel: it has no special-value handling.
struct log10_function {
    f32x4 operator()(f32x4 x) const { return log10_lanes(x); }
    float operator()(float x) const { return ::log10f(x); }
};

// The estimate route only when the whole group is in its range, else sqrtf for every lane.
struct square_root {
    f32x4 operator()(f32x4 x) const {
        if (!simd::all(elementwise::in_sqrt_estimate_range(x))) [[unlikely]]
            return with_library_lanes<::sqrtf>({x, simd::set1_i32(-1)}, x);
        return elementwise::sqrt_by_estimate(x);
    }
    float operator()(float x) const { return ::sqrtf(x); }
};

} // namespace
} // namespace qvsip::transcendental

using namespace qvsip::transcendental;

void vsip_vlog10_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(dense_region_only, log10_function{}, r, a);
}

void vsip_vsqrt_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(dense_region_only, square_root{}, r, a);
}
