// Base-10 logarithm and square root of real vectors.
#include "vsip/transcendental/driver.hpp"

#include <math.h>

namespace qvsip::transcendental {
namespace {

// Groups of four always take the kernel: it has no special-value handling.
struct Log10 {
    static constexpr Schedule schedule = Schedule::dense_region_only;
    static f32x4 group(f32x4 x) { return log10_lanes(x); }
    static float single(float x) { return ::log10f(x); }
};

// The estimate route only when the whole group is in its range, else sqrtf for all four.
struct SquareRoot {
    static constexpr Schedule schedule = Schedule::dense_region_only;
    static f32x4 group(f32x4 x) {
        const i32x4 in_range = in_sqrt_estimate_range(x);
        if (!all(in_range)) [[unlikely]]
            return with_library_lanes<::sqrtf>({x, set1_i32(-1)}, x);
        return sqrt_estimate_lanes(x);
    }
    static float single(float x) { return ::sqrtf(x); }
};

} // namespace
} // namespace qvsip::transcendental

using namespace qvsip::transcendental;

void vsip_vlog10_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    run<Log10>(a, r);
}

void vsip_vsqrt_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    run<SquareRoot>(a, r);
}
