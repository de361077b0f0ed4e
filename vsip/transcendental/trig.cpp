// Sine, cosine and e^(ix) of real vectors.
#include "vsip/transcendental/driver.hpp"

#include <math.h>

namespace qvsip::transcendental {
namespace {

struct Sine {
    static constexpr Schedule schedule = Schedule::regions_throughout;
    static f32x4 group(f32x4 x) {
        const Lanes k = sine_lanes(x);
        if (any(k.outside)) [[unlikely]]
            return with_library_lanes<::sinf>(k, x);
        return k.value;
    }
    static float single(float x) { return ::sinf(x); }
};

struct Cosine {
    static constexpr Schedule schedule = Schedule::regions_throughout;
    static f32x4 group(f32x4 x) {
        const Lanes k = cosine_lanes(x);
        if (any(k.outside)) [[unlikely]]
            return with_library_lanes<::cosf>(k, x);
        return k.value;
    }
    static float single(float x) { return ::cosf(x); }
};

struct Euler {
    static constexpr Schedule schedule = Schedule::regions_throughout;
    static ComplexScalar single(float x) {
        ComplexScalar r;
        ::sincosf(x, &r.im, &r.re);
        return r;
    }
    [[gnu::noinline, gnu::cold]] static ComplexLanes with_library_lanes(EulerLanes k, f32x4 x) {
        LaneArray re(k.value.re), im(k.value.im);
        for_each_marked(k.outside, x, [&](int i, float v) {
            const ComplexScalar r = single(v);
            re.lane[i] = r.re;
            im.lane[i] = r.im;
        });
        return {re.vector(), im.vector()};
    }
    static ComplexLanes group(f32x4 x) {
        const EulerLanes k = euler_lanes(x);
        if (any(k.outside)) [[unlikely]]
            return with_library_lanes(k, x);
        return k.value;
    }
};

} // namespace
} // namespace qvsip::transcendental

using namespace qvsip::transcendental;

void vsip_vsin_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    run<Sine>(a, r);
}

void vsip_vcos_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    run<Cosine>(a, r);
}

void vsip_veuler_f(const vsip_vview_f* a, const vsip_cvview_f* r) {
    run<Euler>(a, r);
}
