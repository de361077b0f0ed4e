// The hardware reciprocal and reciprocal-square-root estimates refined by Newton-Raphson steps,
// shared by the element-wise and transcendental operations.
#pragma once

#include "vsip/elementwise/lanes.hpp"

#include <cstdint>

namespace qvsip::elementwise {

// The reciprocal estimate refined by two steps; the step keeps the estimate of 1/±0 at
// ±infinity.
//
// Where the step instruction has no 0*infinity rule of its own (SSE), the steps are plain fused
// multiply-adds and the lanes where x*e0 is NaN take e0 afterwards, with the same bits: those
// lanes hold ±0 or ±infinity (the rule makes both steps factors of 2, which leave e0 = ±infinity
// or ±0 unchanged) or NaN (every value derived from x carries x's quiet NaN), and in every other
// lane neither step meets 0*infinity.
inline f32x4 refined_reciprocal(f32x4 x) {
    const f32x4 e0 = qtx::simd::reciprocal_estimate(x);
#if defined(QTX_SIMD_HAVE_SSE) && !defined(QTX_SIMD_SCALAR)
    const f32x4 two = qtx::simd::set1(2.0f);
    const f32x4 e1 = mul(e0, fnma(x, e0, two));
    const f32x4 e2 = mul(e1, fnma(x, e1, two));
    const f32x4 product = mul(x, e0);
    return qtx::simd::select(qtx::simd::unordered(product, product), e0, e2);
#else
    const f32x4 e1 = mul(e0, qtx::simd::reciprocal_step(x, e0));
    return mul(e1, qtx::simd::reciprocal_step(x, e1));
#endif
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
