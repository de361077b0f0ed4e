#pragma once
// Float-lane extras on SSE4.1 + FMA; semantics as documented in lanes_scalar.hpp.
#include "simd/backend_sse.hpp"

#include <cstdint>

namespace qtx::simd::inline QTX_ISA::sse {

struct i32x4 {
    __m128i v;
};

// ---- Strided access ----------------------------------------------------------------------------

QTX_SIMD_INLINE f32x4 load_strided(const float* p, std::ptrdiff_t stride) {
    return {_mm_setr_ps(p[0], p[stride], p[2 * stride], p[3 * stride])};
}
QTX_SIMD_INLINE void store_strided(float* p, std::ptrdiff_t stride, f32x4 v) {
    alignas(vector_bytes) float lane[4];
    _mm_store_ps(lane, v.v);
    for (int i = 0; i < 4; ++i)
        p[i * stride] = lane[i];
}

// ---- Integer lanes -----------------------------------------------------------------------------

QTX_SIMD_INLINE i32x4 load_i32(const std::int32_t* p) {
    return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))};
}
QTX_SIMD_INLINE void store_i32(std::int32_t* p, i32x4 v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v.v);
}
QTX_SIMD_INLINE i32x4 set1_i32(std::int32_t x) {
    return {_mm_set1_epi32(x)};
}
QTX_SIMD_INLINE i32x4 add(i32x4 a, i32x4 b) {
    return {_mm_add_epi32(a.v, b.v)};
}
QTX_SIMD_INLINE i32x4 sub(i32x4 a, i32x4 b) {
    return {_mm_sub_epi32(a.v, b.v)};
}
template <int k> QTX_SIMD_INLINE i32x4 shift_left(i32x4 a) {
    static_assert(k >= 0 && k < 32);
    return {_mm_slli_epi32(a.v, k)};
}
template <int k> QTX_SIMD_INLINE i32x4 shift_right_arith(i32x4 a) {
    static_assert(k >= 0 && k < 32);
    return {_mm_srai_epi32(a.v, k)};
}
QTX_SIMD_INLINE i32x4 bit_and(i32x4 a, i32x4 b) {
    return {_mm_and_si128(a.v, b.v)};
}
QTX_SIMD_INLINE i32x4 bit_or(i32x4 a, i32x4 b) {
    return {_mm_or_si128(a.v, b.v)};
}
QTX_SIMD_INLINE i32x4 bit_xor(i32x4 a, i32x4 b) {
    return {_mm_xor_si128(a.v, b.v)};
}
QTX_SIMD_INLINE i32x4 bit_not(i32x4 a) {
    return {_mm_xor_si128(a.v, _mm_set1_epi32(-1))};
}

// ---- Conversions -------------------------------------------------------------------------------

QTX_SIMD_INLINE i32x4 bits_of(f32x4 a) {
    return {_mm_castps_si128(a.v)};
}
QTX_SIMD_INLINE f32x4 from_bits(i32x4 a) {
    return {_mm_castsi128_ps(a.v)};
}
QTX_SIMD_INLINE f32x4 round_nearest_even(f32x4 a) {
    return {_mm_round_ps(a.v, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC)};
}
// Uses the current rounding mode, which the library leaves at round-to-nearest-even.
QTX_SIMD_INLINE i32x4 to_int_nearest(f32x4 a) {
    return {_mm_cvtps_epi32(a.v)};
}
QTX_SIMD_INLINE f32x4 to_float(i32x4 a) {
    return {_mm_cvtepi32_ps(a.v)};
}

// ---- Masks -------------------------------------------------------------------------------------

QTX_SIMD_INLINE i32x4 less(f32x4 a, f32x4 b) {
    return bits_of({_mm_cmplt_ps(a.v, b.v)});
}
QTX_SIMD_INLINE i32x4 less_equal(f32x4 a, f32x4 b) {
    return bits_of({_mm_cmple_ps(a.v, b.v)});
}
QTX_SIMD_INLINE i32x4 equal(f32x4 a, f32x4 b) {
    return bits_of({_mm_cmpeq_ps(a.v, b.v)});
}
QTX_SIMD_INLINE i32x4 unordered(f32x4 a, f32x4 b) {
    return bits_of({_mm_cmpunord_ps(a.v, b.v)});
}
QTX_SIMD_INLINE i32x4 equal(i32x4 a, i32x4 b) {
    return {_mm_cmpeq_epi32(a.v, b.v)};
}
// Unsigned order is signed order after flipping both sign bits.
QTX_SIMD_INLINE i32x4 less_unsigned(i32x4 a, i32x4 b) {
    const __m128i flip = _mm_set1_epi32(INT32_MIN);
    return {_mm_cmplt_epi32(_mm_xor_si128(a.v, flip), _mm_xor_si128(b.v, flip))};
}
QTX_SIMD_INLINE bool any(i32x4 mask) {
    return _mm_movemask_ps(_mm_castsi128_ps(mask.v)) != 0;
}
QTX_SIMD_INLINE bool all(i32x4 mask) {
    return _mm_movemask_ps(_mm_castsi128_ps(mask.v)) == 0xf;
}
// Masks have whole lanes set or clear, so the sign-bit blend selects whole lanes.
QTX_SIMD_INLINE f32x4 select(i32x4 mask, f32x4 if_true, f32x4 if_false) {
    return {_mm_blendv_ps(if_false.v, if_true.v, _mm_castsi128_ps(mask.v))};
}
QTX_SIMD_INLINE i32x4 select(i32x4 mask, i32x4 if_true, i32x4 if_false) {
    return bits_of(select(mask, from_bits(if_true), from_bits(if_false)));
}

// maxps returns its second operand for NaN and for equal lanes; taking the maximum both ways
// round and combining the results gives the IEEE rules.
QTX_SIMD_INLINE f32x4 max_propagate_nan(f32x4 a, f32x4 b) {
    const __m128 ab = _mm_max_ps(a.v, b.v);
    const __m128 ba = _mm_max_ps(b.v, a.v);
    const __m128 nan = _mm_cmpunord_ps(a.v, b.v);
    // and() of the two orders clears a sign bit set in only one (+0 wins over -0).
    return {_mm_blendv_ps(_mm_and_ps(ab, ba), _mm_add_ps(a.v, b.v), nan)};
}

// ---- Estimates and Newton-Raphson steps --------------------------------------------------------

namespace detail {

// Lanes where a*b is 0*infinity: NaN product from operands that are not NaN.
QTX_SIMD_INLINE __m128 zero_times_infinity(__m128 a, __m128 b) {
    const __m128 product = _mm_mul_ps(a, b);
    return _mm_andnot_ps(_mm_cmpunord_ps(a, b), _mm_cmpunord_ps(product, product));
}

} // namespace detail

QTX_SIMD_INLINE f32x4 reciprocal_estimate(f32x4 a) {
    return {_mm_rcp_ps(a.v)};
}
QTX_SIMD_INLINE f32x4 rsqrt_estimate(f32x4 a) {
    return {_mm_rsqrt_ps(a.v)};
}
QTX_SIMD_INLINE f32x4 reciprocal_step(f32x4 a, f32x4 b) {
    const __m128 two = _mm_set1_ps(2.0f);
    return {
        _mm_blendv_ps(_mm_fnmadd_ps(a.v, b.v, two), two, detail::zero_times_infinity(a.v, b.v))};
}
QTX_SIMD_INLINE f32x4 rsqrt_step(f32x4 a, f32x4 b) {
    const __m128 step = _mm_mul_ps(_mm_fnmadd_ps(a.v, b.v, _mm_set1_ps(3.0f)), _mm_set1_ps(0.5f));
    return {_mm_blendv_ps(step, _mm_set1_ps(1.5f), detail::zero_times_infinity(a.v, b.v))};
}

// ---- Interleaving ------------------------------------------------------------------------------

QTX_SIMD_INLINE f32x4 even_lanes(f32x4 a, f32x4 b) {
    return {_mm_shuffle_ps(a.v, b.v, _MM_SHUFFLE(2, 0, 2, 0))};
}
QTX_SIMD_INLINE f32x4 odd_lanes(f32x4 a, f32x4 b) {
    return {_mm_shuffle_ps(a.v, b.v, _MM_SHUFFLE(3, 1, 3, 1))};
}
QTX_SIMD_INLINE f32x4 interleave_low(f32x4 a, f32x4 b) {
    return {_mm_unpacklo_ps(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 interleave_high(f32x4 a, f32x4 b) {
    return {_mm_unpackhi_ps(a.v, b.v)};
}

} // namespace qtx::simd::inline QTX_ISA::sse
