#pragma once
// Complex operations derived from the lane primitives conj, swap_re_im, dup_re, dup_im, add, mul,
// fma and fnma. A backend imports the ones it has no faster native form for; the rounding
// sequence here is the reference one (the FCMLA forms on Arm round identically).
#include "simd/common.hpp"

namespace qtx::simd::inline QTX_ISA::derived {

// i·a = (-im, re).
template <simd_vec V> QTX_SIMD_INLINE V mul_i(V a) {
    return swap_re_im(conj(a));
}

// -i·a = (im, -re).
template <simd_vec V> QTX_SIMD_INLINE V mul_neg_i(V a) {
    return conj(swap_re_im(a));
}

// a + i·b = (a.re - b.im, a.im + b.re).
template <simd_vec V> QTX_SIMD_INLINE V add_i(V a, V b) {
    return add(a, mul_i(b));
}

// a - i·b = (a.re + b.im, a.im - b.re).
template <simd_vec V> QTX_SIMD_INLINE V sub_i(V a, V b) {
    return add(a, mul_neg_i(b));
}

// a·b = re(a)·b + im(a)·(i·b): the first product is rounded, the second fused into the sum.
// The sign of i·b is carried by i·im(a) = (-im a, im a), which gives the same products exactly;
// when a is the same for many b (a twiddle, a constant) only the swap of b remains per product.
template <simd_vec V> QTX_SIMD_INLINE V cmul(V a, V b) {
    return fma(mul_i(dup_im(a)), swap_re_im(b), mul(dup_re(a), b));
}

// a·conj(b) = re(b)·a - im(b)·(i·a).
template <simd_vec V> QTX_SIMD_INLINE V cmul_conj(V a, V b) {
    return fnma(dup_im(b), mul_i(a), mul(dup_re(b), a));
}

// acc + a·b with both products fused into the accumulation.
template <simd_vec V> QTX_SIMD_INLINE V cmla(V acc, V a, V b) {
    return fma(dup_im(a), mul_i(b), fma(dup_re(a), b, acc));
}

} // namespace qtx::simd::inline QTX_ISA::derived
