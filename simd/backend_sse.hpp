#pragma once
// x86-64 backend on SSE4.1 + FMA3. Complex multiplies use the alternating fused
// multiply-add/subtract forms, so they round differently from the reference (by a few ulp of
// |a|·|b|); every other operation returns the reference bits.
#include "simd/common.hpp"
#include "simd/complex_ops.hpp"

#include <immintrin.h>

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace qtx::simd::inline QTX_ISA::sse {

inline constexpr const char* backend_name = "sse";

struct f32x4 {
    using value_type = float;
    __m128 v;
};
struct f64x2 {
    using value_type = double;
    __m128d v;
};
template <simd_real R> using vec = std::conditional_t<std::same_as<R, float>, f32x4, f64x2>;

namespace detail {

// One complex float as the 64-bit unit the half-vector moves address (a may-alias type).
QTX_SIMD_INLINE const __m64* as_complex(const float* p) {
    return reinterpret_cast<const __m64*>(p);
}
QTX_SIMD_INLINE __m64* as_complex(float* p) {
    return reinterpret_cast<__m64*>(p);
}

QTX_SIMD_INLINE __m128 sign_bits_ps() {
    return _mm_set1_ps(-0.0f);
}
QTX_SIMD_INLINE __m128d sign_bits_pd() {
    return _mm_set1_pd(-0.0);
}
QTX_SIMD_INLINE __m128 imag_sign_bits_ps() {
    return _mm_setr_ps(0.0f, -0.0f, 0.0f, -0.0f);
}
QTX_SIMD_INLINE __m128d imag_sign_bits_pd() {
    return _mm_setr_pd(0.0, -0.0);
}

// Even lanes a*b - c, odd lanes a*b + c.
QTX_SIMD_INLINE f32x4 fmaddsub(f32x4 a, f32x4 b, f32x4 c) {
    return {_mm_fmaddsub_ps(a.v, b.v, c.v)};
}
QTX_SIMD_INLINE f64x2 fmaddsub(f64x2 a, f64x2 b, f64x2 c) {
    return {_mm_fmaddsub_pd(a.v, b.v, c.v)};
}

// Even lanes a*b + c, odd lanes a*b - c.
QTX_SIMD_INLINE f32x4 fmsubadd(f32x4 a, f32x4 b, f32x4 c) {
    return {_mm_fmsubadd_ps(a.v, b.v, c.v)};
}
QTX_SIMD_INLINE f64x2 fmsubadd(f64x2 a, f64x2 b, f64x2 c) {
    return {_mm_fmsubadd_pd(a.v, b.v, c.v)};
}

// Even lanes a - b, odd lanes a + b.
QTX_SIMD_INLINE f32x4 addsub(f32x4 a, f32x4 b) {
    return {_mm_addsub_ps(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 addsub(f64x2 a, f64x2 b) {
    return {_mm_addsub_pd(a.v, b.v)};
}

} // namespace detail

// ---- Memory ------------------------------------------------------------------------------------

QTX_SIMD_INLINE f32x4 load(const float* p) {
    return {_mm_load_ps(p)};
}
QTX_SIMD_INLINE f64x2 load(const double* p) {
    return {_mm_load_pd(p)};
}
QTX_SIMD_INLINE f32x4 loadu(const float* p) {
    return {_mm_loadu_ps(p)};
}
QTX_SIMD_INLINE f64x2 loadu(const double* p) {
    return {_mm_loadu_pd(p)};
}
QTX_SIMD_INLINE void store(float* p, f32x4 v) {
    _mm_store_ps(p, v.v);
}
QTX_SIMD_INLINE void store(double* p, f64x2 v) {
    _mm_store_pd(p, v.v);
}
QTX_SIMD_INLINE void storeu(float* p, f32x4 v) {
    _mm_storeu_ps(p, v.v);
}
QTX_SIMD_INLINE void storeu(double* p, f64x2 v) {
    _mm_storeu_pd(p, v.v);
}

QTX_SIMD_INLINE f32x4 load_low_complex(const float* p) {
    return {_mm_loadl_pi(_mm_setzero_ps(), detail::as_complex(p))};
}
QTX_SIMD_INLINE f64x2 load_low_complex(const double* p) {
    return loadu(p);
}
QTX_SIMD_INLINE void store_low_complex(float* p, f32x4 v) {
    _mm_storel_pi(detail::as_complex(p), v.v);
}
QTX_SIMD_INLINE void store_low_complex(double* p, f64x2 v) {
    storeu(p, v);
}
QTX_SIMD_INLINE void store_high_complex(float* p, f32x4 v) {
    _mm_storeh_pi(detail::as_complex(p), v.v);
}

QTX_SIMD_INLINE f32x4 load_complex_dup(const float* p) {
    double both; // the complex value's 64 bits, broadcast by one movddup
    std::memcpy(&both, p, sizeof both);
    return {_mm_castpd_ps(_mm_set1_pd(both))};
}
QTX_SIMD_INLINE f64x2 load_complex_dup(const double* p) {
    return loadu(p);
}

QTX_SIMD_INLINE f32x4 load_complex_strided(const float* p, std::ptrdiff_t stride) {
    return {_mm_loadh_pi(load_low_complex(p).v, detail::as_complex(p + stride))};
}
QTX_SIMD_INLINE f64x2 load_complex_strided(const double* p, std::ptrdiff_t) {
    return loadu(p);
}
QTX_SIMD_INLINE void store_complex_strided(float* p, std::ptrdiff_t stride, f32x4 v) {
    store_low_complex(p, v);
    store_high_complex(p + stride, v);
}
QTX_SIMD_INLINE void store_complex_strided(double* p, std::ptrdiff_t, f64x2 v) {
    storeu(p, v);
}

using hardware::prefetch_write;
using hardware::prefetch_write_stream;

// ---- Lane-wise arithmetic ----------------------------------------------------------------------

QTX_SIMD_INLINE f32x4 set1(float x) {
    return {_mm_set1_ps(x)};
}
QTX_SIMD_INLINE f64x2 set1(double x) {
    return {_mm_set1_pd(x)};
}
QTX_SIMD_INLINE f32x4 set_complex(float re, float im) {
    return {_mm_setr_ps(re, im, re, im)};
}
QTX_SIMD_INLINE f64x2 set_complex(double re, double im) {
    return {_mm_setr_pd(re, im)};
}

QTX_SIMD_INLINE f32x4 add(f32x4 a, f32x4 b) {
    return {_mm_add_ps(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 add(f64x2 a, f64x2 b) {
    return {_mm_add_pd(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 sub(f32x4 a, f32x4 b) {
    return {_mm_sub_ps(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 sub(f64x2 a, f64x2 b) {
    return {_mm_sub_pd(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 mul(f32x4 a, f32x4 b) {
    return {_mm_mul_ps(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 mul(f64x2 a, f64x2 b) {
    return {_mm_mul_pd(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 div(f32x4 a, f32x4 b) {
    return {_mm_div_ps(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 div(f64x2 a, f64x2 b) {
    return {_mm_div_pd(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 neg(f32x4 a) {
    return {_mm_xor_ps(a.v, detail::sign_bits_ps())};
}
QTX_SIMD_INLINE f64x2 neg(f64x2 a) {
    return {_mm_xor_pd(a.v, detail::sign_bits_pd())};
}
QTX_SIMD_INLINE f32x4 abs(f32x4 a) {
    return {_mm_andnot_ps(detail::sign_bits_ps(), a.v)};
}
QTX_SIMD_INLINE f64x2 abs(f64x2 a) {
    return {_mm_andnot_pd(detail::sign_bits_pd(), a.v)};
}
QTX_SIMD_INLINE f32x4 min(f32x4 a, f32x4 b) {
    return {_mm_min_ps(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 min(f64x2 a, f64x2 b) {
    return {_mm_min_pd(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 max(f32x4 a, f32x4 b) {
    return {_mm_max_ps(a.v, b.v)};
}
QTX_SIMD_INLINE f64x2 max(f64x2 a, f64x2 b) {
    return {_mm_max_pd(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 sqrt(f32x4 a) {
    return {_mm_sqrt_ps(a.v)};
}
QTX_SIMD_INLINE f64x2 sqrt(f64x2 a) {
    return {_mm_sqrt_pd(a.v)};
}
QTX_SIMD_INLINE f32x4 fma(f32x4 a, f32x4 b, f32x4 c) {
    return {_mm_fmadd_ps(a.v, b.v, c.v)};
}
QTX_SIMD_INLINE f64x2 fma(f64x2 a, f64x2 b, f64x2 c) {
    return {_mm_fmadd_pd(a.v, b.v, c.v)};
}
QTX_SIMD_INLINE f32x4 fms(f32x4 a, f32x4 b, f32x4 c) {
    return {_mm_fmsub_ps(a.v, b.v, c.v)};
}
QTX_SIMD_INLINE f64x2 fms(f64x2 a, f64x2 b, f64x2 c) {
    return {_mm_fmsub_pd(a.v, b.v, c.v)};
}
QTX_SIMD_INLINE f32x4 fnma(f32x4 a, f32x4 b, f32x4 c) {
    return {_mm_fnmadd_ps(a.v, b.v, c.v)};
}
QTX_SIMD_INLINE f64x2 fnma(f64x2 a, f64x2 b, f64x2 c) {
    return {_mm_fnmadd_pd(a.v, b.v, c.v)};
}

// ---- Per complex lane --------------------------------------------------------------------------

QTX_SIMD_INLINE f32x4 conj(f32x4 a) {
    return {_mm_xor_ps(a.v, detail::imag_sign_bits_ps())};
}
QTX_SIMD_INLINE f64x2 conj(f64x2 a) {
    return {_mm_xor_pd(a.v, detail::imag_sign_bits_pd())};
}
QTX_SIMD_INLINE f32x4 swap_re_im(f32x4 a) {
    return {_mm_shuffle_ps(a.v, a.v, _MM_SHUFFLE(2, 3, 0, 1))};
}
QTX_SIMD_INLINE f64x2 swap_re_im(f64x2 a) {
    return {_mm_shuffle_pd(a.v, a.v, 1)};
}
QTX_SIMD_INLINE f32x4 dup_re(f32x4 a) {
    return {_mm_moveldup_ps(a.v)};
}
QTX_SIMD_INLINE f64x2 dup_re(f64x2 a) {
    return {_mm_movedup_pd(a.v)};
}
QTX_SIMD_INLINE f32x4 dup_im(f32x4 a) {
    return {_mm_movehdup_ps(a.v)};
}
QTX_SIMD_INLINE f64x2 dup_im(f64x2 a) {
    return {_mm_unpackhi_pd(a.v, a.v)};
}

// a·b: (ar·br - ai·bi, ar·bi + ai·br) with the im(a) products rounded first.
template <one_of<f32x4, f64x2> V> QTX_SIMD_INLINE V cmul(V a, V b) {
    return detail::fmaddsub(dup_re(a), b, mul(dup_im(a), swap_re_im(b)));
}

// a·conj(b): (br·ar + bi·ai, br·ai - bi·ar) with the im(b) products rounded first.
template <one_of<f32x4, f64x2> V> QTX_SIMD_INLINE V cmul_conj(V a, V b) {
    return detail::fmsubadd(dup_re(b), a, mul(dup_im(b), swap_re_im(a)));
}

// a + i·b = (a.re - b.im, a.im + b.re).
template <one_of<f32x4, f64x2> V> QTX_SIMD_INLINE V add_i(V a, V b) {
    return detail::addsub(a, swap_re_im(b));
}

using derived::cmla;
using derived::mul_i;
using derived::mul_neg_i;
using derived::sub_i;

// ---- Complex-lane shuffles (float only) --------------------------------------------------------

QTX_SIMD_INLINE f32x4 unpack_lo_complex(f32x4 a, f32x4 b) {
    return {_mm_movelh_ps(a.v, b.v)};
}
QTX_SIMD_INLINE f32x4 unpack_hi_complex(f32x4 a, f32x4 b) {
    return {_mm_movehl_ps(b.v, a.v)};
}
QTX_SIMD_INLINE f32x4 swap_complex(f32x4 a) {
    return {_mm_shuffle_ps(a.v, a.v, _MM_SHUFFLE(1, 0, 3, 2))};
}

} // namespace qtx::simd::inline QTX_ISA::sse
