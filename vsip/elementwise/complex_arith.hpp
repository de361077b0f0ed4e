// The arithmetic of the complex element-wise operations, on complex values (Cplx<float>) and on
// groups of four (Cplx<f32x4>); shared by the vector, matrix and vector-with-matrix forms.
#pragma once

#include "vsip/elementwise/real_arith.hpp"

#include <cmath>
#include <concepts>

namespace qvsip::elementwise {

struct complex_add {
    template <class V> cplx<V> operator()(cplx<V> a, cplx<V> b) const {
        return {add(a.re, b.re), add(a.im, b.im)};
    }
};

struct complex_subtract {
    template <class V> cplx<V> operator()(cplx<V> a, cplx<V> b) const {
        return {sub(a.re, b.re), sub(a.im, b.im)};
    }
};

// Real part fma(ar, br, -(ai*bi)), imaginary part fma(ar, bi, ai*br): the second product of
// each part is rounded, the first fused.
struct complex_multiply {
    template <class V> cplx<V> operator()(cplx<V> a, cplx<V> b) const {
        return {fms(a.re, b.re, mul(a.im, b.im)), fma(a.re, b.im, mul(a.im, b.re))};
    }
};

// alpha * b with alpha = ar + ai·i: fma(ar, br, -(ai*bi)) + fma(ai, br, ar*bi)·i.
struct complex_scale {
    cplx<float> alpha;
    template <class V> cplx<V> operator()(cplx<V> b) const {
        const V ar = broadcast<V>(alpha.re), ai = broadcast<V>(alpha.im);
        return {fms(ar, b.re, mul(ai, b.im)), fma(ai, b.re, mul(ar, b.im))};
    }
};

// A real factor times a complex value, part by part.
struct real_times_complex {
    template <class V> cplx<V> operator()(V a, cplx<V> b) const {
        return {mul(a, b.re), mul(a, b.im)};
    }
};

struct real_scale {
    float alpha;
    template <class V> cplx<V> operator()(cplx<V> b) const {
        return real_times_complex{}(broadcast<V>(alpha), b);
    }
};

struct complex_conjugate {
    template <class V> cplx<V> operator()(cplx<V> a) const { return {a.re, neg(a.im)}; }
};

struct complex_copy {
    template <class V> cplx<V> operator()(cplx<V> a) const { return a; }
};

struct complex_fill {
    cplx<float> alpha;
    template <class V> cplx<V> value() const {
        return {broadcast<V>(alpha.re), broadcast<V>(alpha.im)};
    }
};

// a / b = (fma(ar, br, ai*bi) + fma(ai, br, -(ar*bi))·i) / d with d = fma(br, br, bi*bi), no
// scaling against overflow. With ByEstimate, groups multiply by the refined reciprocal estimate
// of d instead of dividing (the kernel of the parallel regions).
template <bool ByEstimate> struct complex_divide {
    template <class V> cplx<V> operator()(cplx<V> a, cplx<V> b) const {
        const V d = fma(b.re, b.re, mul(b.im, b.im));
        const V re = fma(a.re, b.re, mul(a.im, b.im));
        const V im = fms(a.im, b.re, mul(a.re, b.im));
        if constexpr (ByEstimate && std::same_as<V, f32x4>) {
            const f32x4 inverse = refined_reciprocal(d);
            return {mul(re, inverse), mul(im, inverse)};
        } else {
            return {div(re, d), div(im, d)};
        }
    }
};

// sqrtf(fma(ar, ar, ai*ai)): the magnitude wherever no estimate is used.
inline float exact_magnitude(cplx<float> a) {
    return std::sqrt(std::fma(a.re, a.re, a.im * a.im));
}

inline f32x4 squared_magnitude(cplx<f32x4> a) {
    return fma(a.re, a.re, mul(a.im, a.im));
}

// Vector magnitude: groups take 1/y, y the rsqrt estimate of s refined once and the reciprocal
// refined once; s = 0 gives y = infinity and 0.
struct vector_magnitude {
    f32x4 operator()(cplx<f32x4> a) const {
        const f32x4 s = squared_magnitude(a);
        const f32x4 y = refine_rsqrt(s, simd::rsqrt_estimate(s));
        const f32x4 e = simd::reciprocal_estimate(y);
        return mul(e, simd::reciprocal_step(y, e));
    }
    float operator()(cplx<float> a) const { return exact_magnitude(a); }
};

// Matrix magnitude: groups whose every s lies in [2^-126, 2^126) take s times the rsqrt estimate
// refined twice; other groups take the exact square root.
struct matrix_magnitude {
    f32x4 operator()(cplx<f32x4> a) const {
        const f32x4 s = squared_magnitude(a);
        if (!simd::all(in_sqrt_estimate_range(s))) return simd::sqrt(s);
        return sqrt_by_estimate(s);
    }
    float operator()(cplx<float> a) const { return exact_magnitude(a); }
};

} // namespace qvsip::elementwise
