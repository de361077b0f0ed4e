// Ports beyond one view per operand, for the element-wise drivers: two real views read or written
// as the parts of one complex value (swaps, polar form), and the element index as an input
// (ramps).
#pragma once

#include "vsip/elementwise/ports.hpp"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>

namespace qvsip::elementwise {

// Two real views as one operand: element i is (first[i], second[i]).
struct real_pair_port {
    using one = cplx<float>;
    using group = cplx<f32x4>;

    scalar_port<float> first, second;
    vsip_length length;

    real_pair_port(scalar_port<float> a, scalar_port<float> b)
        : first(a), second(b), length(std::min(a.length, b.length)) {}

    bool interleaved() const { return true; }
    bool split() const { return true; }
    bool contiguous() const { return first.contiguous() && second.contiguous(); }

    template <access_kind A> group load(std::uint64_t i) const {
        return {first.load<A>(i), second.load<A>(i)};
    }
    template <access_kind A> void store(std::uint64_t i, group v) const {
        first.store<A>(i, v.re);
        second.store<A>(i, v.im);
    }
    one load_one(std::uint64_t i) const { return {first.load_one(i), second.load_one(i)}; }
    void store_one(std::uint64_t i, one v) const {
        first.store_one(i, v.re);
        second.store_one(i, v.im);
    }
};

// The element index as a float input, unbounded in length (the output decides the count).
// Indices above 2^24 round to a multiple of a power of two, the same in groups and one by one.
struct index_port {
    using one = float;
    using group = f32x4;

    vsip_length length = std::numeric_limits<vsip_length>::max();

    bool interleaved() const { return true; }
    bool split() const { return true; }
    bool contiguous() const { return true; }

    // Groups below 2^31 convert i + (0, 1, 2, 3) from 32-bit integers, which round as the
    // 64-bit conversion does; later groups convert lane by lane.
    template <access_kind> group load(std::uint64_t i) const {
        namespace simd = qtx::simd;
        if (i < std::uint64_t{INT32_MAX} - lane_count) {
            alignas(simd::vector_bytes) static constexpr std::int32_t steps[] = {0, 1, 2, 3};
            static_assert(std::size(steps) == lane_count);
            return simd::to_float(
                simd::add(simd::set1_i32(static_cast<std::int32_t>(i)), simd::load_i32(steps)));
        }
        alignas(simd::vector_bytes) float lanes[lane_count];
        for (std::uint64_t k = 0; k < lane_count; ++k)
            lanes[k] = static_cast<float>(i + k);
        return simd::load(lanes);
    }
    one load_one(std::uint64_t i) const { return static_cast<float>(i); }
};

} // namespace qvsip::elementwise
