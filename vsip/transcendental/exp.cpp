// The complex exponential of a complex vector.
#include "vsip/transcendental/driver.hpp"

#include <math.h>

namespace qvsip::transcendental {
namespace {

// e^re (cos(im) + i sin(im)); infinite e^re times a zero sine gives NaN by IEEE rules.
struct complex_exp {
    cplx<f32x4> operator()(cplx<f32x4> a) const {
        const f32x4 magnitude = exp_lanes(a.re);
        lane_results cosine = cosine_lanes(a.im);
        lane_results sine = sine_lanes(a.im);
        if (simd::any(cosine.outside)) [[unlikely]] {
            cosine.value = with_library_lanes<::cosf>(cosine, a.im);
            sine.value = with_library_lanes<::sinf>(sine, a.im);
        }
        return {simd::mul(magnitude, cosine.value), simd::mul(magnitude, sine.value)};
    }
    cplx<float> operator()(cplx<float> a) const {
        const float magnitude = ::expf(a.re);
        return {magnitude * ::cosf(a.im), magnitude * ::sinf(a.im)};
    }
};

} // namespace
} // namespace qvsip::transcendental

using namespace qvsip::transcendental;

void vsip_cvexp_f(const vsip_cvview_f* a, const vsip_cvview_f* r) {
    vector_operation(regions_throughout, complex_exp{}, r, a);
}
