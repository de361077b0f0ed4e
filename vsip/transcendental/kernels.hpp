// Single-precision lane kernels of the transcendental functions: range reduction plus
// polynomial, branch-free over the lanes. Kernels with a limited range also return the mask of
// lanes they cannot handle; the callers compute those lanes with the maths library.
#pragma once

#include "simd/simd.hpp"
#include "vsip/elementwise/lanes.hpp"

#include <array>
#include <cstddef>
#include <cstdint>

namespace qvsip::transcendental {

namespace simd = qtx::simd;
using elementwise::cplx;
using simd::f32x4;
using simd::i32x4;

// A kernel's results and the lanes (all bits set) whose results must come from elsewhere.
struct lane_results {
    f32x4 value;
    i32x4 outside;
};

namespace constants {

// Adding 1.5 x 2^23 rounds a float below 2^22 in magnitude to the nearest integer, which then
// sits in the low bits of the sum's pattern.
inline constexpr float shifter = 12582912.0f;
inline constexpr std::int32_t shifter_bits = 0x4b400000;
inline constexpr std::int32_t sign_bit = INT32_MIN;
inline constexpr std::int32_t one_bits = 0x3f800000;

// Trigonometric range: |x| up to 2^20 (pattern 0x49800000) keeps the reduction accurate.
inline constexpr std::int32_t trig_limit_bits = 0x49800000;
inline constexpr float inv_pi = 0.31830987f;
inline constexpr float half_pi = 1.5707964f;
// pi = pi - pi_low_1 - pi_low_2 ... in three parts, the first exact in float.
inline constexpr float pi = 3.1415927f;
inline constexpr float pi_low_1 = 8.742278e-8f;
inline constexpr float pi_low_2 = 3.430249e-15f;
// Odd polynomials sin(t) = t + t^3 * P(t^2), coefficients from the highest degree down.
inline constexpr std::array<float, 3> sine3 = {-0.00019801206f, 0.008332962f, -0.16666657f};
inline constexpr std::array<float, 4> sine4 = {2.5867037e-6f, -0.00019801206f, 0.008332962f,
                                               -0.16666657f};

// Exponential: q = round(x log2 e), t = x - q ln 2 with ln 2 in two parts.
inline constexpr float log2_e = 1.442695f;
inline constexpr float ln2_high = 0.69314575f;
inline constexpr float ln2_low = 1.4286068e-6f;
inline constexpr float exp_c5 = 0.00824739f, exp_c4 = 0.041899767f, exp_c3 = 0.16668396f,
                       exp_c2 = 0.49999127f, exp_c1 = 0.9999994f;
// Scales 2^q beyond the normal exponent range are built in two steps; beyond exp_huge_exponent
// the result is certain to overflow or underflow.
inline constexpr float exp_split_exponent = 126.0f;
inline constexpr float exp_huge_exponent = 192.0f;
inline constexpr std::int32_t exp_negative_bias = static_cast<std::int32_t>(0x82000000u);
inline constexpr std::int32_t exp2_to_127_bits = 0x7f000000;
inline constexpr std::int32_t infinity_bits = 0x7f800000;
inline constexpr int mantissa_bits = 23;

// Logarithm: x = 2^k (1 + m) with 1 + m in [2/3, 4/3).
inline constexpr std::int32_t two_thirds_bits = 0x3f2aaaab;
inline constexpr std::int32_t mantissa_mask = 0x007fffff;
inline constexpr float log_c7 = -0.07127982f, log_c6 = 0.08693616f, log_c5 = -0.108608484f,
                       log_c4 = 0.14476354f, log_c3 = -0.21714695f, log_c2 = 0.4342945f;
inline constexpr float log10_of_2_high = 0.30103302f;
inline constexpr float log10_of_2_low = -3.0243536e-6f;

} // namespace constants

// ---- Helpers -----------------------------------------------------------------------------------

// c[0] x^(N-1) + ... + c[N-1], by Horner's rule with fused steps.
template <std::size_t N> QTX_SIMD_INLINE f32x4 horner(f32x4 x, const std::array<float, N>& c) {
    f32x4 acc = simd::set1(c[0]);
    for (std::size_t i = 1; i < N; ++i)
        acc = simd::fma(acc, x, simd::set1(c[i]));
    return acc;
}

QTX_SIMD_INLINE f32x4 flip_sign(f32x4 value, i32x4 sign) {
    return simd::from_bits(simd::bit_xor(simd::bits_of(value), sign));
}

// ---- Sine and cosine ---------------------------------------------------------------------------

// t = w - q pi in [-pi/2, pi/2], and the sign bit that sin(t) must be flipped by.
struct reduced {
    f32x4 t;
    i32x4 sign;
};

QTX_SIMD_INLINE i32x4 beyond_trig_range(f32x4 x) {
    return simd::less_unsigned(simd::set1_i32(constants::trig_limit_bits),
                               simd::bits_of(simd::abs(x)));
}

// w - multiple x pi in three parts, so that the reduction stays exact for large multiples.
QTX_SIMD_INLINE f32x4 subtract_pi_times(f32x4 w, f32x4 multiple) {
    const f32x4 t = simd::fnma(simd::set1(constants::pi), multiple, w);
    return simd::fma(multiple, simd::set1(constants::pi_low_2),
                     simd::fma(multiple, simd::set1(constants::pi_low_1), t));
}

// q = |x| / pi rounded; sin(x) = sign(x) (-1)^q sin(|x| - q pi).
QTX_SIMD_INLINE reduced reduce_for_sine(f32x4 x) {
    const f32x4 w = simd::abs(x);
    const f32x4 z = simd::fma(simd::set1(constants::inv_pi), w, simd::set1(constants::shifter));
    const f32x4 q = simd::sub(z, simd::set1(constants::shifter));
    const i32x4 parity = simd::shift_left<31>(simd::bits_of(z));
    const i32x4 x_sign = simd::bit_and(simd::bits_of(x), simd::set1_i32(constants::sign_bit));
    return {subtract_pi_times(w, q), simd::bit_xor(x_sign, parity)};
}

// q = (|x| + pi/2) / pi rounded; cos(x) = (-1)^q sin(|x| - (q - 1/2) pi).
QTX_SIMD_INLINE reduced reduce_for_cosine(f32x4 x) {
    const f32x4 w = simd::abs(x);
    const f32x4 z =
        simd::fma(simd::set1(constants::inv_pi), simd::add(w, simd::set1(constants::half_pi)),
                  simd::set1(constants::shifter));
    const f32x4 q = simd::sub(z, simd::set1(constants::shifter));
    const f32x4 half_odd = simd::sub(q, simd::set1(0.5f));
    return {subtract_pi_times(w, half_odd), simd::shift_left<31>(simd::bits_of(z))};
}

// sin(t) for |t| <= pi/2 from the odd polynomial with coefficients c, sign applied.
template <std::size_t N>
QTX_SIMD_INLINE f32x4 sine_of_reduced(reduced r, const std::array<float, N>& c) {
    const f32x4 t2 = simd::mul(r.t, r.t);
    return flip_sign(simd::fma(simd::mul(r.t, t2), horner(t2, c), r.t), r.sign);
}

QTX_SIMD_INLINE lane_results sine_lanes(f32x4 x) {
    return {sine_of_reduced(reduce_for_sine(x), constants::sine3), beyond_trig_range(x)};
}

QTX_SIMD_INLINE lane_results cosine_lanes(f32x4 x) {
    return {sine_of_reduced(reduce_for_cosine(x), constants::sine4), beyond_trig_range(x)};
}

// cos(x) + i sin(x), both from the four-coefficient polynomial.
struct euler_lane_results {
    cplx<f32x4> value;
    i32x4 outside;
};

QTX_SIMD_INLINE euler_lane_results euler_lanes(f32x4 x) {
    return {{sine_of_reduced(reduce_for_cosine(x), constants::sine4),
             sine_of_reduced(reduce_for_sine(x), constants::sine4)},
            beyond_trig_range(x)};
}

// ---- Exponential -------------------------------------------------------------------------------

// e^x for every float x: 2^q (1 + p(t)), with 2^q built from bits; overflows to infinity and
// underflows through the subnormals to 0; NaN stays NaN.
QTX_SIMD_INLINE f32x4 exp_lanes(f32x4 x) {
    const f32x4 z = simd::fma(simd::set1(constants::log2_e), x, simd::set1(constants::shifter));
    const f32x4 q = simd::sub(z, simd::set1(constants::shifter));
    const f32x4 t = simd::fma(q, simd::set1(-constants::ln2_low),
                              simd::fma(q, simd::set1(-constants::ln2_high), x));
    const f32x4 t2 = simd::mul(t, t);
    const f32x4 p = simd::fma(
        simd::fma(simd::fma(simd::set1(constants::exp_c5), t, simd::set1(constants::exp_c4)), t2,
                  simd::fma(simd::set1(constants::exp_c3), t, simd::set1(constants::exp_c2))),
        t2, simd::mul(simd::set1(constants::exp_c1), t));

    // q as an integer (valid while |q| < 2^22) in the exponent field.
    const i32x4 q_exponent = simd::shift_left<constants::mantissa_bits>(
        simd::sub(simd::bits_of(z), simd::set1_i32(constants::shifter_bits)));
    const f32x4 scale = simd::from_bits(simd::add(q_exponent, simd::set1_i32(constants::one_bits)));
    const f32x4 in_range = simd::fma(p, scale, scale);

    // 2^q = s1 x s2 with s2 = 2^127 for q > 0, 2^-125 otherwise.
    const i32x4 positive = simd::less(simd::set1(0.0f), q);
    const i32x4 bias =
        simd::select(positive, simd::set1_i32(0), simd::set1_i32(constants::exp_negative_bias));
    const f32x4 s1 = simd::from_bits(simd::sub(q_exponent, bias));
    const f32x4 s2 = simd::from_bits(simd::add(bias, simd::set1_i32(constants::exp2_to_127_bits)));
    const f32x4 split = simd::mul(simd::fma(p, s1, s1), s2);

    // Beyond 2^192 the result is s2 x s2: +infinity for q > 0, +0 otherwise. Those values are
    // selected as constants, since multiplying s2 by itself in every lane would underflow in
    // the typical negative lanes and pay the processor's subnormal penalty on each group.
    const f32x4 overflowed =
        simd::from_bits(simd::bit_and(positive, simd::set1_i32(constants::infinity_bits)));
    const f32x4 magnitude = simd::abs(q);
    const f32x4 result = simd::select(
        simd::less(simd::set1(constants::exp_split_exponent), magnitude), split, in_range);
    return simd::select(simd::less(simd::set1(constants::exp_huge_exponent), magnitude), overflowed,
                        result);
}

// ---- Logarithm -----------------------------------------------------------------------------

// log10(x) for positive normal x, computed on the bit pattern; other inputs give some value.
QTX_SIMD_INLINE f32x4 log10_lanes(f32x4 x) {
    const i32x4 u = simd::sub(simd::bits_of(x), simd::set1_i32(constants::two_thirds_bits));
    const f32x4 k = simd::to_float(simd::shift_right_arith<constants::mantissa_bits>(u));
    const f32x4 m = simd::sub(
        simd::from_bits(simd::add(simd::bit_and(u, simd::set1_i32(constants::mantissa_mask)),
                                  simd::set1_i32(constants::two_thirds_bits))),
        simd::set1(1.0f));
    const f32x4 m2 = simd::mul(m, m);
    const f32x4 q = simd::fma(
        m2,
        simd::fma(m2, simd::fma(m, simd::set1(constants::log_c7), simd::set1(constants::log_c6)),
                  simd::fma(m, simd::set1(constants::log_c5), simd::set1(constants::log_c4))),
        simd::fma(m, simd::set1(constants::log_c3), simd::set1(constants::log_c2)));
    return simd::fma(k, simd::set1(constants::log10_of_2_high),
                     simd::fma(m, q, simd::mul(k, simd::set1(constants::log10_of_2_low))));
}

} // namespace qvsip::transcendental
