// Sine, cosine and e^(ix) of real vectors.
#include "vsip/transcendental/driver.hpp"

#include <math.h>

namespace qvsip::transcendental {
namespace {

// A real function: its kernel's lanes, those outside the kernel's range from F.
template <lane_results (*Kernel)(f32x4), float (*F)(float)> struct real_function {
    f32x4 operator()(f32x4 x) const {
        const lane_results k = Kernel(x);
        if (simd::any(k.outside)) [[unlikely]]
            return with_library_lanes<F>(k, x);
        return k.value;
    }
    float operator()(float x) const { return F(x); }
};

using sine_function = real_function<sine_lanes, ::sinf>;
using cosine_function = real_function<cosine_lanes, ::cosf>;

struct euler_function {
    cplx<float> operator()(float x) const {
        cplx<float> r;
        ::sincosf(x, &r.im, &r.re);
        return r;
    }
    [[gnu::noinline, gnu::cold]] cplx<f32x4> with_library_lanes(euler_lane_results k,
                                                                f32x4 x) const {
        lane_array re(k.value.re), im(k.value.im);
        for_each_marked(k.outside, x, [&](std::uint64_t i, float v) {
            const cplx<float> r = (*this)(v);
            re.lane[i] = r.re;
            im.lane[i] = r.im;
        });
        return {re.vector(), im.vector()};
    }
    cplx<f32x4> operator()(f32x4 x) const {
        const euler_lane_results k = euler_lanes(x);
        if (simd::any(k.outside)) [[unlikely]]
            return with_library_lanes(k, x);
        return k.value;
    }
};

} // namespace
} // namespace qvsip::transcendental

using namespace qvsip::transcendental;

void vsip_vsin_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(regions_throughout, sine_function{}, r, a);
}

void vsip_vcos_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(regions_throughout, cosine_function{}, r, a);
}

void vsip_veuler_f(const vsip_vview_f* a, const vsip_cvview_f* r) {
    vector_operation(regions_throughout, euler_function{}, r, a);
}
