// Natural exponential and logarithm and the two-argument arctangent of real vectors.
#include "vsip/elementwise/standard_arith.hpp"
#include "vsip/transcendental/driver.hpp"

#include <math.h>

namespace qvsip::transcendental {
namespace {

// Groups take the kernel, which covers every float; single elements take expf.
struct exp_function {
    f32x4 operator()(f32x4 x) const { return exp_lanes(x); }
    float operator()(float x) const { return ::expf(x); }
};

// The base-10 kernel is accurate only to about 4e-5 absolute, too coarse for a natural
// logarithm: every lane takes logf.
struct log_of {
    float operator()(float x) const { return ::logf(x); }
};
using log_function = elementwise::lane_by_lane<log_of>;

} // namespace
} // namespace qvsip::transcendental

using namespace qvsip::transcendental;

void vsip_vexp_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(regions_throughout, exp_function{}, r, a);
}

void vsip_vlog_f(const vsip_vview_f* a, const vsip_vview_f* r) {
    vector_operation(regions_throughout, log_function{}, r, a);
}

void vsip_vatan2_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r) {
    vector_operation(regions_throughout,
                     qvsip::elementwise::lane_by_lane<qvsip::elementwise::atan2_of>{}, r, a, b);
}
