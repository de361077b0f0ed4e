#pragma once
// AArch64 backend on Advanced SIMD. With the Armv8.3 complex-number instructions (FCMLA, FCADD)
// the complex multiplies and rotated adds map onto them and round exactly like the reference;
// without them they fall back to the shared fma + shuffle forms. NEON loads and stores have no
// alignment requirement, so load/store and loadu/storeu are the same instructions.
#include "simd/common.hpp"
#include "simd/complex_ops.hpp"

#include <arm_neon.h>

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace qtx::simd::inline QTX_ISA::neon {

inline constexpr const char* backend_name = "neon";

struct f32x4 {
    using value_type = float;
    float32x4_t v;
};
struct f64x2 {
    using value_type = double;
    float64x2_t v;
};
template <simd_real R> using vec = std::conditional_t<std::same_as<R, float>, f32x4, f64x2>;

namespace detail {

inline constexpr std::uint32_t f32_sign_bit = 0x8000'0000u;
inline constexpr std::uint64_t f64_sign_bit = 0x8000'0000'0000'0000u;

// Flips the sign of each imaginary lane.
QTX_SIMD_INLINE float32x4_t negate_imag(float32x4_t a) {
    const uint32x4_t mask{0, f32_sign_bit, 0, f32_sign_bit};
    return vreinterpretq_f32_u32(veorq_u32(vreinterpretq_u32_f32(a), mask));
}
QTX_SIMD_INLINE float64x2_t negate_imag(float64x2_t a) {
    const uint64x2_t mask{0, f64_sign_bit};
    return vreinterpretq_f64_u64(veorq_u64(vreinterpretq_u64_f64(a), mask));
}

} // namespace detail

// ---- Memory ------------------------------------------------------------------------------------

QTX_SIMD_INLINE f32x4 load(const float* p) {
    return {vld1q_f32(p)};
}
QTX_SIMD_INLINE f64x2 load(const double* p) {
    return {vld1q_f64(p)};
}
QTX_SIMD_INLINE f32x4 loadu(const float* p) {
    return load(p);
}
QTX_SIMD_INLINE f64x2 loadu(const double* p) {
    return load(p);
}
QTX_SIMD_INLINE void store(float* p, f32x4 v) {
    vst1q_f32(p, v.v);
}
QTX_SIMD_INLINE void store(double* p, f64x2 v) {
    vst1q_f64(p, v.v);
}
QTX_SIMD_INLINE void storeu(float* p, f32x4 v) {
    store(p, v);
}
QTX_SIMD_INLINE void storeu(double* p, f64x2 v) {
    store(p, v);
}

QTX_SIMD_INLINE f32x4 load_low_complex(const float* p) {
    return {vcombine_f32(vld1_f32(p), vdup_n_f32(0.0f))};
}
QTX_SIMD_INLINE f64x2 load_low_complex(const double* p) {
    return load(p);
}
QTX_SIMD_INLINE void store_low_complex(float* p, f32x4 v) {
    vst1_f32(p, vget_low_f32(v.v));
}
QTX_SIMD_INLINE void store_low_complex(double* p, f64x2 v) {
    store(p, v);
}
QTX_SIMD_INLINE void store_high_complex(float* p, f32x4 v) {
    vst1_f32(p, vget_high_f32(v.v));
}

QTX_SIMD_INLINE f32x4 load_complex_dup(const float* p) {
    const float32x2_t c = vld1_f32(p);
    return {vcombine_f32(c, c)};
}
QTX_SIMD_INLINE f64x2 load_complex_dup(const double* p) {
    return load(p);
}

QTX_SIMD_INLINE f32x4 load_complex_strided(const float* p, std::ptrdiff_t stride) {
    return {vcombine_f32(vld1_f32(p), vld1_f32(p + stride))};
}
QTX_SIMD_INLINE f64x2 load_complex_strided(const double* p, std::ptrdiff_t) {
    return load(p);
}
QTX_SIMD_INLINE void store_complex_strided(float* p, std::ptrdiff_t stride, f32x4 v) {
    store_low_complex(p, v);
    store_high_complex(p + stride, v);
}
QTX_SIMD_INLINE void store_complex_strided(double* p, std::ptrdiff_t, f64x2 v) {
    store(p, v);
}

using hardware::prefetch_write;
using hardware::prefetch_write_stream;

// ---- Lane-wise arithmetic ----------------------------------------------------------------------

QTX_SIMD_INLINE f32x4 set1(float x) {
    return {vdupq_n_f32(x)};
}
QTX_SIMD_INLINE f64x2 set1(double x) {
    return {vdupq_n_f64(x)};
}
QTX_SIMD_INLINE f32x4 set_complex(float re, float im) {
    return {float32x4_t{re, im, re, im}};
}
QTX_SIMD_INLINE f64x2 set_complex(double re, double im) {
    return {float64x2_t{re, im}};
}

QTX_SIMD_INLINE f32x4 add(f32x4 a, f32x4 b) {
    return {vaddq_f32(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 add(f64x2 a, f64x2 b) {
    return {vaddq_f64(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 sub(f32x4 a, f32x4 b) {
    return {vsubq_f32(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 sub(f64x2 a, f64x2 b) {
    return {vsubq_f64(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 mul(f32x4 a, f32x4 b) {
    return {vmulq_f32(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 mul(f64x2 a, f64x2 b) {
    return {vmulq_f64(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 div(f32x4 a, f32x4 b) {
    return {vdivq_f32(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 div(f64x2 a, f64x2 b) {
    return {vdivq_f64(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 neg(f32x4 a) {
    return {vnegq_f32(a.v)};
}
QTX_SIMD_INLINE f64x2 neg(f64x2 a) {
    return {vnegq_f64(a.v)};
}
QTX_SIMD_INLINE f32x4 abs(f32x4 a) {
    return {vabsq_f32(a.v)};
}
QTX_SIMD_INLINE f64x2 abs(f64x2 a) {
    return {vabsq_f64(a.v)};
}
QTX_SIMD_INLINE f32x4 min(f32x4 a, f32x4 b) {
    return {vminq_f32(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 min(f64x2 a, f64x2 b) {
    return {vminq_f64(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 max(f32x4 a, f32x4 b) {
    return {vmaxq_f32(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 max(f64x2 a, f64x2 b) {
    return {vmaxq_f64(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 sqrt(f32x4 a) {
    return {vsqrtq_f32(a.v)};
}
QTX_SIMD_INLINE f64x2 sqrt(f64x2 a) {
    return {vsqrtq_f64(a.v)};
}
QTX_SIMD_INLINE f32x4 fma(f32x4 a, f32x4 b, f32x4 c) {
    return {vfmaq_f32(c.v, a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 fma(f64x2 a, f64x2 b, f64x2 c) {
    return {vfmaq_f64(c.v, a.v, b.v)};
}
// (-c) + a*b rather than -(c - a*b), so an exact zero result is +0 as in the reference.
QTX_SIMD_INLINE f32x4 fms(f32x4 a, f32x4 b, f32x4 c) {
    return {vfmaq_f32(vnegq_f32(c.v), a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 fms(f64x2 a, f64x2 b, f64x2 c) {
    return {vfmaq_f64(vnegq_f64(c.v), a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 fnma(f32x4 a, f32x4 b, f32x4 c) {
    return {vfmsq_f32(c.v, a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 fnma(f64x2 a, f64x2 b, f64x2 c) {
    return {vfmsq_f64(c.v, a.v, b.v)};
}

// ---- Per complex lane --------------------------------------------------------------------------

QTX_SIMD_INLINE f32x4 conj(f32x4 a) {
    return {detail::negate_imag(a.v)};
}
QTX_SIMD_INLINE f64x2 conj(f64x2 a) {
    return {detail::negate_imag(a.v)};
}
QTX_SIMD_INLINE f32x4 swap_re_im(f32x4 a) {
    return {vrev64q_f32(a.v)};
}
QTX_SIMD_INLINE f64x2 swap_re_im(f64x2 a) {
    return {vextq_f64(a.v, a.v, 1)};
}
QTX_SIMD_INLINE f32x4 dup_re(f32x4 a) {
    return {vtrn1q_f32(a.v, a.v)};
}
QTX_SIMD_INLINE f64x2 dup_re(f64x2 a) {
    return {vdupq_laneq_f64(a.v, 0)};
}
QTX_SIMD_INLINE f32x4 dup_im(f32x4 a) {
    return {vtrn2q_f32(a.v, a.v)};
}
QTX_SIMD_INLINE f64x2 dup_im(f64x2 a) {
    return {vdupq_laneq_f64(a.v, 1)};
}

#if defined(__ARM_FEATURE_COMPLEX)

namespace detail {

// FCMLA #0: acc + (a.re·b.re, a.re·b.im).
QTX_SIMD_INLINE f32x4 cmla_rot0(f32x4 acc, f32x4 a, f32x4 b) {
    return {vcmlaq_f32(acc.v, a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 cmla_rot0(f64x2 acc, f64x2 a, f64x2 b) {
    return {vcmlaq_f64(acc.v, a.v, b.v)};
}
// FCMLA #90: acc + (-a.im·b.im, a.im·b.re).
QTX_SIMD_INLINE f32x4 cmla_rot90(f32x4 acc, f32x4 a, f32x4 b) {
    return {vcmlaq_rot90_f32(acc.v, a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 cmla_rot90(f64x2 acc, f64x2 a, f64x2 b) {
    return {vcmlaq_rot90_f64(acc.v, a.v, b.v)};
}
// FCMLA #270: acc + (a.im·b.im, -a.im·b.re).
QTX_SIMD_INLINE f32x4 cmla_rot270(f32x4 acc, f32x4 a, f32x4 b) {
    return {vcmlaq_rot270_f32(acc.v, a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 cmla_rot270(f64x2 acc, f64x2 a, f64x2 b) {
    return {vcmlaq_rot270_f64(acc.v, a.v, b.v)};
}

} // namespace detail

template <one_of<f32x4, f64x2> V> QTX_SIMD_INLINE V cmla(V acc, V a, V b) {
    return detail::cmla_rot90(detail::cmla_rot0(acc, a, b), a, b);
}
template <one_of<f32x4, f64x2> V> QTX_SIMD_INLINE V cmul(V a, V b) {
    return cmla(zero<V>(), a, b);
}
// b·conj(a) rotated: (b.re·a.re + b.im·a.im, b.re·a.im - b.im·a.re) = a·conj(b).
template <one_of<f32x4, f64x2> V> QTX_SIMD_INLINE V cmul_conj(V a, V b) {
    return detail::cmla_rot270(detail::cmla_rot0(zero<V>(), b, a), b, a);
}

// FCADD #90 / #270: a + i·b and a - i·b.
QTX_SIMD_INLINE f32x4 add_i(f32x4 a, f32x4 b) {
    return {vcaddq_rot90_f32(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 add_i(f64x2 a, f64x2 b) {
    return {vcaddq_rot90_f64(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 sub_i(f32x4 a, f32x4 b) {
    return {vcaddq_rot270_f32(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 sub_i(f64x2 a, f64x2 b) {
    return {vcaddq_rot270_f64(a.v, b.v)};
}

#else

namespace detail {

// (-1, +1) per complex lane: rev64(b) times it is i·b, exactly.
inline constexpr float32x4_t f32_rotate_up{-1.0f, 1.0f, -1.0f, 1.0f};
inline constexpr float64x2_t f64_rotate_up{-1.0, 1.0};

} // namespace detail

// a ± i·b as one swap and one fused multiply-add by ±1: the product is exact, so the result
// is the reference sum, one instruction shorter than swap, sign flip and add.
QTX_SIMD_INLINE f32x4 add_i(f32x4 a, f32x4 b) {
    return {vfmaq_f32(a.v, vrev64q_f32(b.v), detail::f32_rotate_up)};
}
QTX_SIMD_INLINE f64x2 add_i(f64x2 a, f64x2 b) {
    return {vfmaq_f64(a.v, vextq_f64(b.v, b.v, 1), detail::f64_rotate_up)};
}
QTX_SIMD_INLINE f32x4 sub_i(f32x4 a, f32x4 b) {
    return {vfmsq_f32(a.v, vrev64q_f32(b.v), detail::f32_rotate_up)};
}
QTX_SIMD_INLINE f64x2 sub_i(f64x2 a, f64x2 b) {
    return {vfmsq_f64(a.v, vextq_f64(b.v, b.v, 1), detail::f64_rotate_up)};
}

// a·b as the shared reference: re(a)·b rounded, then (-im a, im a)·swap(b) fused in. The
// rotated imaginary part comes from one sign flip and one transpose of a, one shuffle less than
// the generic mul_i(dup_im(a)); when a is reused across many b it is computed once.
QTX_SIMD_INLINE f32x4 cmul(f32x4 a, f32x4 b) {
    const float32x4_t im_rotated = vtrn2q_f32(detail::negate_imag(a.v), a.v);
    return {vfmaq_f32(vmulq_f32(vtrn1q_f32(a.v, a.v), b.v), im_rotated, vrev64q_f32(b.v))};
}
QTX_SIMD_INLINE f64x2 cmul(f64x2 a, f64x2 b) {
    const float64x2_t im_rotated = vtrn2q_f64(detail::negate_imag(a.v), a.v);
    return {vfmaq_f64(vmulq_f64(vdupq_laneq_f64(a.v, 0), b.v), im_rotated, vextq_f64(b.v, b.v, 1))};
}

using derived::cmla;
using derived::cmul_conj;

#endif

using derived::mul_i;
using derived::mul_neg_i;

// ---- Complex-lane shuffles (float only) --------------------------------------------------------

QTX_SIMD_INLINE f32x4 unpack_lo_complex(f32x4 a, f32x4 b) {
    return {vcombine_f32(vget_low_f32(a.v), vget_low_f32(b.v))};
}
QTX_SIMD_INLINE f32x4 unpack_hi_complex(f32x4 a, f32x4 b) {
    return {vcombine_f32(vget_high_f32(a.v), vget_high_f32(b.v))};
}
QTX_SIMD_INLINE f32x4 swap_complex(f32x4 a) {
    return {vextq_f32(a.v, a.v, 2)};
}

} // namespace qtx::simd::inline QTX_ISA::neon
