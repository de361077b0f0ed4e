// What the transcendental functions add to the element-wise drivers: their two schedules and the
// maths library's results for the lanes a kernel cannot handle.
//
// An operation is an element-wise functor: op(group) through its lane kernel and op(element) by
// the maths library. Every path starts its groups at multiples of lane_count, so an element's
// result never depends on the thread count or the storage.
#pragma once

#include "vsip/elementwise/driver.hpp"
#include "vsip/transcendental/kernels.hpp"

#include <cstdint>

namespace qvsip::transcendental {

using elementwise::vector_operation;

// Dense: regions of 16 and of lane_count elements, then the caller; strided: one region in units of
// lane_count.
inline constexpr elementwise::path_set regions_throughout{
    .dense = frame::two_regions, .strided_unit = lane_count, .strided_groups = true};
// Dense: one region of 16 elements, the caller does the rest; strided: the caller alone.
inline constexpr elementwise::path_set dense_region_only{
    .dense = frame::one_region, .strided_groups = true, .strided_serial = true};

// A group's lanes stored in memory, for the maths library to work on one at a time.
struct lane_array {
    alignas(simd::vector_bytes) float lane[lane_count];
    explicit lane_array(f32x4 v) { simd::store(lane, v); }
    f32x4 vector() const { return simd::load(lane); }
};

// fn(i, x[i]) for every lane i set in mask.
template <class Fn> void for_each_marked(i32x4 mask, f32x4 x, Fn fn) {
    alignas(simd::vector_bytes) std::int32_t marked[lane_count];
    simd::store_i32(marked, mask);
    const lane_array in(x);
    for (std::uint64_t i = 0; i < lane_count; ++i)
        if (marked[i] != 0) fn(i, in.lane[i]);
}

// The kernel's results with its outside lanes replaced by F(x). Out of line: only the rare
// groups holding such a lane come here.
template <float (*F)(float)>
[[gnu::noinline, gnu::cold]] f32x4 with_library_lanes(lane_results kernel, f32x4 x) {
    lane_array value(kernel.value);
    for_each_marked(kernel.outside, x, [&](std::uint64_t i, float v) { value.lane[i] = F(v); });
    return value.vector();
}

} // namespace qvsip::transcendental
