// Four-lane single-precision kernels of the transcendental functions: range reduction plus
// polynomial, branch-free over the lanes. Kernels with a limited range also return the mask of
// lanes they cannot handle; the callers compute those lanes with the maths library.
#pragma once

#include "simd/simd.hpp"

#include <array>
#include <cstddef>
#include <cstdint>

namespace qvsip::transcendental {

using namespace qtx::simd;

// A kernel's four results and the lanes (all bits set) whose results must come from elsewhere.
struct Lanes {
    f32x4 value;
    i32x4 outside;
};

// Four complex results as separate parts.
struct ComplexLanes {
    f32x4 re, im;
};

namespace constants {

// Adding 1.5 x 2^23 rounds a float below 2^22 in magnitude to the nearest integer, which then
// sits in the low bits of the sum's pattern.
inline constexpr float kShifter = 12582912.0f;
inline constexpr std::int32_t kShifterBits = 0x4b400000;
inline constexpr std::int32_t kSignBit = INT32_MIN;
inline constexpr std::int32_t kOneBits = 0x3f800000;

// Trigonometric range: |x| up to 2^20 (pattern 0x49800000) keeps the reduction accurate.
inline constexpr std::int32_t kTrigLimitBits = 0x49800000;
inline constexpr float kInvPi = 0.31830987f;
inline constexpr float kHalfPi = 1.5707964f;
// pi = kPi - kPiLow1 - kPiLow2 ... in three parts, the first exact in float.
inline constexpr float kPi = 3.1415927f;
inline constexpr float kPiLow1 = 8.742278e-8f;
inline constexpr float kPiLow2 = 3.430249e-15f;
// Odd polynomials sin(t) = t + t^3 * P(t^2), coefficients from the highest degree down.
inline constexpr std::array<float, 3> kSine3 = {-0.00019801206f, 0.008332962f, -0.16666657f};
inline constexpr std::array<float, 4> kSine4 = {2.5867037e-6f, -0.00019801206f, 0.008332962f,
                                                -0.16666657f};

// Exponential: q = round(x log2 e), t = x - q ln 2 with ln 2 in two parts.
inline constexpr float kLog2E = 1.442695f;
inline constexpr float kLn2High = 0.69314575f;
inline constexpr float kLn2Low = 1.4286068e-6f;
inline constexpr float kExpC5 = 0.00824739f, kExpC4 = 0.041899767f, kExpC3 = 0.16668396f,
                       kExpC2 = 0.49999127f, kExpC1 = 0.9999994f;
// Scales 2^q beyond the normal exponent range are built in two steps; beyond kExpHugeExponent
// the result is certain to overflow or underflow.
inline constexpr float kExpSplitExponent = 126.0f;
inline constexpr float kExpHugeExponent = 192.0f;
inline constexpr std::int32_t kExpNegativeBias = static_cast<std::int32_t>(0x82000000u);
inline constexpr std::int32_t kExp2To127Bits = 0x7f000000;
inline constexpr std::int32_t kInfinityBits = 0x7f800000;
inline constexpr int kMantissaBits = 23;

// Logarithm: x = 2^k (1 + m) with 1 + m in [2/3, 4/3).
inline constexpr std::int32_t kTwoThirdsBits = 0x3f2aaaab;
inline constexpr std::int32_t kMantissaMask = 0x007fffff;
inline constexpr float kLogC7 = -0.07127982f, kLogC6 = 0.08693616f, kLogC5 = -0.108608484f,
                       kLogC4 = 0.14476354f, kLogC3 = -0.21714695f, kLogC2 = 0.4342945f;
inline constexpr float kLog10Of2High = 0.30103302f;
inline constexpr float kLog10Of2Low = -3.0243536e-6f;

// Square root estimate range [2^-126, 2^126): pattern - 2^-126's pattern, unsigned, below this.
inline constexpr std::int32_t kSmallestNormalBits = 0x00800000;
inline constexpr std::int32_t kSqrtRangeBits = 0x7e000000;

} // namespace constants

// ---- Helpers -----------------------------------------------------------------------------------

// c[0] x^(N-1) + ... + c[N-1], by Horner's rule with fused steps.
template <std::size_t N> QTX_SIMD_INLINE f32x4 horner(f32x4 x, const std::array<float, N>& c) {
    f32x4 acc = set1(c[0]);
    for (std::size_t i = 1; i < N; ++i)
        acc = fma(acc, x, set1(c[i]));
    return acc;
}

QTX_SIMD_INLINE f32x4 flip_sign(f32x4 value, i32x4 sign) {
    return from_bits(bit_xor(bits_of(value), sign));
}

// ---- Sine and cosine ---------------------------------------------------------------------------

// t = w - q pi in [-pi/2, pi/2], and the sign bit that sin(t) must be flipped by.
struct Reduced {
    f32x4 t;
    i32x4 sign;
};

QTX_SIMD_INLINE i32x4 beyond_trig_range(f32x4 x) {
    return less_unsigned(set1_i32(constants::kTrigLimitBits), bits_of(abs(x)));
}

// w - multiple x pi in three parts, so that the reduction stays exact for large multiples.
QTX_SIMD_INLINE f32x4 subtract_pi_times(f32x4 w, f32x4 multiple) {
    using namespace constants;
    const f32x4 t = fnma(set1(kPi), multiple, w);
    return fma(multiple, set1(kPiLow2), fma(multiple, set1(kPiLow1), t));
}

// q = |x| / pi rounded; sin(x) = sign(x) (-1)^q sin(|x| - q pi).
QTX_SIMD_INLINE Reduced reduce_for_sine(f32x4 x) {
    using namespace constants;
    const f32x4 w = abs(x);
    const f32x4 z = fma(set1(kInvPi), w, set1(kShifter));
    const f32x4 q = sub(z, set1(kShifter));
    const i32x4 parity = shift_left<31>(bits_of(z));
    const i32x4 x_sign = bit_and(bits_of(x), set1_i32(kSignBit));
    return {subtract_pi_times(w, q), bit_xor(x_sign, parity)};
}

// q = (|x| + pi/2) / pi rounded; cos(x) = (-1)^q sin(|x| - (q - 1/2) pi).
QTX_SIMD_INLINE Reduced reduce_for_cosine(f32x4 x) {
    using namespace constants;
    const f32x4 w = abs(x);
    const f32x4 z = fma(set1(kInvPi), add(w, set1(kHalfPi)), set1(kShifter));
    const f32x4 q = sub(z, set1(kShifter));
    const f32x4 half_odd = sub(q, set1(0.5f));
    return {subtract_pi_times(w, half_odd), shift_left<31>(bits_of(z))};
}

// sin(t) for |t| <= pi/2 from the odd polynomial with coefficients c, sign applied.
template <std::size_t N>
QTX_SIMD_INLINE f32x4 sine_of_reduced(Reduced r, const std::array<float, N>& c) {
    const f32x4 t2 = mul(r.t, r.t);
    return flip_sign(fma(mul(r.t, t2), horner(t2, c), r.t), r.sign);
}

QTX_SIMD_INLINE Lanes sine_lanes(f32x4 x) {
    return {sine_of_reduced(reduce_for_sine(x), constants::kSine3), beyond_trig_range(x)};
}

QTX_SIMD_INLINE Lanes cosine_lanes(f32x4 x) {
    return {sine_of_reduced(reduce_for_cosine(x), constants::kSine4), beyond_trig_range(x)};
}

// cos(x) + i sin(x), both from the four-coefficient polynomial.
struct EulerLanes {
    ComplexLanes value;
    i32x4 outside;
};

QTX_SIMD_INLINE EulerLanes euler_lanes(f32x4 x) {
    return {{sine_of_reduced(reduce_for_cosine(x), constants::kSine4),
             sine_of_reduced(reduce_for_sine(x), constants::kSine4)},
            beyond_trig_range(x)};
}

// ---- Exponential -------------------------------------------------------------------------------

// e^x for every float x: 2^q (1 + p(t)), with 2^q built from bits; overflows to infinity and
// underflows through the subnormals to 0; NaN stays NaN.
QTX_SIMD_INLINE f32x4 exp_lanes(f32x4 x) {
    using namespace constants;
    const f32x4 z = fma(set1(kLog2E), x, set1(kShifter));
    const f32x4 q = sub(z, set1(kShifter));
    const f32x4 t = fma(q, set1(-kLn2Low), fma(q, set1(-kLn2High), x));
    const f32x4 t2 = mul(t, t);
    const f32x4 p =
        fma(fma(fma(set1(kExpC5), t, set1(kExpC4)), t2, fma(set1(kExpC3), t, set1(kExpC2))), t2,
            mul(set1(kExpC1), t));

    // q as an integer (valid while |q| < 2^22) in the exponent field.
    const i32x4 q_exponent = shift_left<kMantissaBits>(sub(bits_of(z), set1_i32(kShifterBits)));
    const f32x4 scale = from_bits(add(q_exponent, set1_i32(kOneBits)));
    const f32x4 in_range = fma(p, scale, scale);

    // 2^q = s1 x s2 with s2 = 2^127 for q > 0, 2^-125 otherwise.
    const i32x4 positive = less(set1(0.0f), q);
    const i32x4 bias = select(positive, set1_i32(0), set1_i32(kExpNegativeBias));
    const f32x4 s1 = from_bits(sub(q_exponent, bias));
    const f32x4 s2 = from_bits(add(bias, set1_i32(kExp2To127Bits)));
    const f32x4 split = mul(fma(p, s1, s1), s2);

    // Beyond 2^192 the result is s2 x s2: +infinity for q > 0, +0 otherwise. Those values are
    // selected as constants, since multiplying s2 by itself in every lane would underflow in
    // the typical negative lanes and pay the processor's subnormal penalty on each group.
    const f32x4 overflowed = from_bits(bit_and(positive, set1_i32(kInfinityBits)));
    const f32x4 magnitude = abs(q);
    const f32x4 result = select(less(set1(kExpSplitExponent), magnitude), split, in_range);
    return select(less(set1(kExpHugeExponent), magnitude), overflowed, result);
}

// ---- Logarithm and square root -----------------------------------------------------------------

// log10(x) for positive normal x, computed on the bit pattern; other inputs give some value.
QTX_SIMD_INLINE f32x4 log10_lanes(f32x4 x) {
    using namespace constants;
    const i32x4 u = sub(bits_of(x), set1_i32(kTwoThirdsBits));
    const f32x4 k = to_float(shift_right_arith<kMantissaBits>(u));
    const f32x4 m = sub(
        from_bits(add(bit_and(u, set1_i32(kMantissaMask)), set1_i32(kTwoThirdsBits))), set1(1.0f));
    const f32x4 m2 = mul(m, m);
    const f32x4 q =
        fma(m2, fma(m2, fma(m, set1(kLogC7), set1(kLogC6)), fma(m, set1(kLogC5), set1(kLogC4))),
            fma(m, set1(kLogC3), set1(kLogC2)));
    return fma(k, set1(kLog10Of2High), fma(m, q, mul(k, set1(kLog10Of2Low))));
}

// Lanes in [2^-126, 2^126), where the estimate route below is accurate.
QTX_SIMD_INLINE i32x4 in_sqrt_estimate_range(f32x4 x) {
    using namespace constants;
    return less_unsigned(sub(bits_of(x), set1_i32(kSmallestNormalBits)), set1_i32(kSqrtRangeBits));
}

// sqrt(x) = x / sqrt(x), with 1/sqrt(x) estimated and refined by two Newton-Raphson steps.
QTX_SIMD_INLINE f32x4 sqrt_estimate_lanes(f32x4 x) {
    f32x4 e = rsqrt_estimate(x);
    for (int step = 0; step < 2; ++step)
        e = mul(e, rsqrt_step(mul(x, e), e));
    return mul(e, x);
}

} // namespace qvsip::transcendental
