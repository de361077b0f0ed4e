// The hardware reciprocal and reciprocal-square-root estimates refined by Newton-Raphson steps,
// shared by the element-wise and transcendental operations.
#pragma once

#include "vsip/elementwise/lanes.hpp"

#include <cstdint>

namespace qvsip::elementwise {

// The reciprocal estimate refined by two steps; the step keeps the estimate of 1/±0 at
// ±infinity.
inline f32x4 refined_reciprocal(f32x4 x) {
    const f32x4 e0 = qtx::simd::reciprocal_estimate(x);
    const f32x4 e1 = mul(e0, qtx::simd::reciprocal_step(x, e0));
    return mul(e1, qtx::simd::reciprocal_step(x, e1));
}

// One step on an estimate e of 1/sqrt(s): e * (3 - s*e*e) / 2.
inline f32x4 refine_rsqrt(f32x4 s, f32x4 e) {
    return mul(e, qtx::simd::rsqrt_step(s, mul(e, e)));
}

// Lanes with s in [2^-126, 2^126), where sqrt_by_estimate is accurate: the pattern's offset
// from 2^-126's, taken unsigned, is below the width of the range in patterns.
inline i32x4 in_sqrt_estimate_range(f32x4 s) {
    constexpr std::int32_t smallest_normal_bits = 0x00800000; // 2^-126
    constexpr std::int32_t range_width_bits = 0x7e000000;     // 2^126's pattern - 2^-126's
    const i32x4 offset =
        qtx::simd::sub(qtx::simd::bits_of(s), qtx::simd::set1_i32(smallest_normal_bits));
    return qtx::simd::less_unsigned(offset, qtx::simd::set1_i32(range_width_bits));
}

// sqrt(s) = s / sqrt(s), with 1/sqrt(s) estimated and refined twice.
inline f32x4 sqrt_by_estimate(f32x4 s) {
    const f32x4 e = refine_rsqrt(s, refine_rsqrt(s, qtx::simd::rsqrt_estimate(s)));
    return mul(e, s);
}

} // namespace qvsip::elementwise
