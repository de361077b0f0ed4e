#pragma once
// Float-lane extras on Advanced SIMD; semantics as documented in lanes_scalar.hpp. The Newton-
// Raphson step instructions FRECPS and FRSQRTS are the steps themselves, 0*infinity rule
// included.
#include "simd/backend_neon.hpp"

#include <cstdint>

namespace qtx::simd::inline QTX_ISA::neon {

struct i32x4 {
    int32x4_t v;
};

// ---- Strided access ----------------------------------------------------------------------------

QTX_SIMD_INLINE f32x4 load_strided(const float* p, std::ptrdiff_t stride) {
    float32x4_t r = vld1q_dup_f32(p);
    r = vld1q_lane_f32(p + stride, r, 1);
    r = vld1q_lane_f32(p + 2 * stride, r, 2);
    return {vld1q_lane_f32(p + 3 * stride, r, 3)};
}
QTX_SIMD_INLINE void store_strided(float* p, std::ptrdiff_t stride, f32x4 v) {
    vst1q_lane_f32(p, v.v, 0);
    vst1q_lane_f32(p + stride, v.v, 1);
    vst1q_lane_f32(p + 2 * stride, v.v, 2);
    vst1q_lane_f32(p + 3 * stride, v.v, 3);
}

// ---- Integer lanes -----------------------------------------------------------------------------

QTX_SIMD_INLINE i32x4 load_i32(const std::int32_t* p) {
    return {vld1q_s32(p)};
}
QTX_SIMD_INLINE void store_i32(std::int32_t* p, i32x4 v) {
    vst1q_s32(p, v.v);
}
QTX_SIMD_INLINE i32x4 set1_i32(std::int32_t x) {
    return {vdupq_n_s32(x)};
}
QTX_SIMD_INLINE i32x4 add(i32x4 a, i32x4 b) {
    return {vaddq_s32(a.v, b.v)};
}
QTX_SIMD_INLINE i32x4 sub(i32x4 a, i32x4 b) {
    return {vsubq_s32(a.v, b.v)};
}
template <int k> QTX_SIMD_INLINE i32x4 shift_left(i32x4 a) {
    static_assert(k >= 0 && k < 32);
    return {vshlq_n_s32(a.v, k)};
}
template <int k> QTX_SIMD_INLINE i32x4 shift_right_arith(i32x4 a) {
    static_assert(k >= 0 && k < 32);
    if constexpr (k == 0)
        return a;
    else
        return {vshrq_n_s32(a.v, k)};
}
QTX_SIMD_INLINE i32x4 bit_and(i32x4 a, i32x4 b) {
    return {vandq_s32(a.v, b.v)};
}
QTX_SIMD_INLINE i32x4 bit_or(i32x4 a, i32x4 b) {
    return {vorrq_s32(a.v, b.v)};
}
QTX_SIMD_INLINE i32x4 bit_xor(i32x4 a, i32x4 b) {
    return {veorq_s32(a.v, b.v)};
}
QTX_SIMD_INLINE i32x4 bit_not(i32x4 a) {
    return {vmvnq_s32(a.v)};
}

// ---- Conversions -------------------------------------------------------------------------------

QTX_SIMD_INLINE i32x4 bits_of(f32x4 a) {
    return {vreinterpretq_s32_f32(a.v)};
}
QTX_SIMD_INLINE f32x4 from_bits(i32x4 a) {
    return {vreinterpretq_f32_s32(a.v)};
}
QTX_SIMD_INLINE f32x4 round_nearest_even(f32x4 a) {
    return {vrndnq_f32(a.v)};
}
// Saturates out-of-range lanes and gives 0 for NaN.
QTX_SIMD_INLINE i32x4 to_int_nearest(f32x4 a) {
    return {vcvtnq_s32_f32(a.v)};
}
QTX_SIMD_INLINE f32x4 to_float(i32x4 a) {
    return {vcvtq_f32_s32(a.v)};
}

// ---- Masks -------------------------------------------------------------------------------------

namespace detail {
QTX_SIMD_INLINE i32x4 as_mask(uint32x4_t m) {
    return {vreinterpretq_s32_u32(m)};
}
} // namespace detail

QTX_SIMD_INLINE i32x4 less(f32x4 a, f32x4 b) {
    return detail::as_mask(vcltq_f32(a.v, b.v));
}
QTX_SIMD_INLINE i32x4 less_equal(f32x4 a, f32x4 b) {
    return detail::as_mask(vcleq_f32(a.v, b.v));
}
QTX_SIMD_INLINE i32x4 equal(f32x4 a, f32x4 b) {
    return detail::as_mask(vceqq_f32(a.v, b.v));
}
QTX_SIMD_INLINE i32x4 unordered(f32x4 a, f32x4 b) {
    return detail::as_mask(vmvnq_u32(vandq_u32(vceqq_f32(a.v, a.v), vceqq_f32(b.v, b.v))));
}
QTX_SIMD_INLINE i32x4 equal(i32x4 a, i32x4 b) {
    return detail::as_mask(vceqq_s32(a.v, b.v));
}
QTX_SIMD_INLINE i32x4 less_unsigned(i32x4 a, i32x4 b) {
    return detail::as_mask(vcltq_u32(vreinterpretq_u32_s32(a.v), vreinterpretq_u32_s32(b.v)));
}
QTX_SIMD_INLINE bool any(i32x4 mask) {
    return vmaxvq_u32(vreinterpretq_u32_s32(mask.v)) != 0;
}
QTX_SIMD_INLINE bool all(i32x4 mask) {
    return vminvq_u32(vreinterpretq_u32_s32(mask.v)) == 0xffff'ffffu;
}
QTX_SIMD_INLINE f32x4 select(i32x4 mask, f32x4 if_true, f32x4 if_false) {
    return {vbslq_f32(vreinterpretq_u32_s32(mask.v), if_true.v, if_false.v)};
}
QTX_SIMD_INLINE i32x4 select(i32x4 mask, i32x4 if_true, i32x4 if_false) {
    return {vbslq_s32(vreinterpretq_u32_s32(mask.v), if_true.v, if_false.v)};
}
// FMAX is the IEEE maximum.
QTX_SIMD_INLINE f32x4 max_propagate_nan(f32x4 a, f32x4 b) {
    return {vmaxq_f32(a.v, b.v)};
}

// ---- Estimates and Newton-Raphson steps --------------------------------------------------------

QTX_SIMD_INLINE f32x4 reciprocal_estimate(f32x4 a) {
    return {vrecpeq_f32(a.v)};
}
QTX_SIMD_INLINE f32x4 rsqrt_estimate(f32x4 a) {
    return {vrsqrteq_f32(a.v)};
}
QTX_SIMD_INLINE f32x4 reciprocal_step(f32x4 a, f32x4 b) {
    return {vrecpsq_f32(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 rsqrt_step(f32x4 a, f32x4 b) {
    return {vrsqrtsq_f32(a.v, b.v)};
}

// ---- Interleaving ------------------------------------------------------------------------------

QTX_SIMD_INLINE f32x4 even_lanes(f32x4 a, f32x4 b) {
    return {vuzp1q_f32(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 odd_lanes(f32x4 a, f32x4 b) {
    return {vuzp2q_f32(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 interleave_low(f32x4 a, f32x4 b) {
    return {vzip1q_f32(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 interleave_high(f32x4 a, f32x4 b) {
    return {vzip2q_f32(a.v, b.v)};
}

} // namespace qtx::simd::inline QTX_ISA::neon
