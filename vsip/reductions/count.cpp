// Number of true (non-zero) elements of a boolean vector: the zeros are counted, in 4-lane
// groups serially or per thread with an atomic add of the partial counts, and subtracted from n.
#include "vsip/frame.hpp"
#include "vsip/reductions/accumulate.hpp"
#include "vsip/reductions/reductions.hpp"

namespace qvsip::reductions {
namespace {

using namespace qtx::simd;

using bool_vector = integer_vector<vsip_scalar_bl>;

i32x4 load_group(const bool_vector& a, std::uint64_t i) {
    const vsip_scalar_bl* at = a.start + static_cast<std::ptrdiff_t>(i) * a.stride;
    if (a.stride == 1) return load_i32(at);
    const vsip_scalar_bl gathered[lane_count] = {at[0], at[a.stride], at[2 * a.stride],
                                                 at[3 * a.stride]};
    return load_i32(gathered);
}

// Zeros among elements [first, last): a true mask lane is -1, so subtracting masks counts.
std::uint64_t count_zeros(const bool_vector& a, std::uint64_t first, std::uint64_t last) {
    const i32x4 zero = set1_i32(0);
    i32x4 lanes = zero;
    std::uint64_t i = first;
    std::uint64_t count = 0;
    // A lane count stays exact while it is below 2^31; flush well before.
    constexpr std::uint64_t flush_groups = 1u << 20;
    for (std::uint64_t groups = 0; last - i >= lane_count; i += lane_count) {
        lanes = sub(lanes, equal(load_group(a, i), zero));
        if (++groups == flush_groups) {
            alignas(qtx::simd::vector_bytes) std::int32_t lane[lane_count];
            store_i32(lane, lanes);
            count += std::uint64_t(lane[0]) + lane[1] + lane[2] + lane[3];
            lanes = zero;
            groups = 0;
        }
    }
    alignas(qtx::simd::vector_bytes) std::int32_t lane[lane_count];
    store_i32(lane, lanes);
    count += std::uint64_t(lane[0]) + lane[1] + lane[2] + lane[3];
    for (; i < last; ++i)
        count += a.start[static_cast<std::ptrdiff_t>(i) * a.stride] == 0 ? 1 : 0;
    return count;
}

} // namespace

vsip_length count_true(const bool_vector& a, reduction_setting setting) {
    const bool parallel = setting.threads != 1 && setting.profile > profile_serial_reductions;
    if (!parallel) return a.length - count_zeros(a, 0, a.length);
    std::uint64_t zeros = 0;
    auto kernel = [&](std::uint64_t first, std::uint64_t last) {
        atomic_add(zeros, count_zeros(a, first, last));
    };
    if (a.stride == 1)
        frame::run_dense(setting.threads, a.length, frame::one_region, kernel);
    else
        frame::run_in_units(setting.threads, a.length, lane_count, kernel);
    return a.length - zeros;
}

} // namespace qvsip::reductions

vsip_length vsip_vsumval_bl(const vsip_vview_bl* a) {
    if (a == nullptr || a->block == nullptr || a->block->data == nullptr) return 0;
    return qvsip::reductions::count_true(qvsip::resolve(*a), qvsip::reductions::current_setting());
}
