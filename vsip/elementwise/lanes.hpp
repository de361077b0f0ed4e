// Arithmetic spelled once for both widths: the element-wise operations are written as templates
// over V, which is either one float or a 4-lane f32x4 group, so that a kernel's scalar tail and
// its vector body share one definition wherever their results agree.
#pragma once

#include "simd/simd.hpp"

#include <cmath>
#include <concepts>
#include <cstdint>

namespace qvsip::elementwise {

using qtx::simd::f32x4;
using qtx::simd::i32x4;

// The vector forms, brought next to the float forms below so that one overload set serves both.
using qtx::simd::add;
using qtx::simd::div;
using qtx::simd::fma;
using qtx::simd::fms;
using qtx::simd::fnma;
using qtx::simd::mul;
using qtx::simd::neg;
using qtx::simd::sub;

inline float add(float a, float b) {
    return a + b;
}
inline float sub(float a, float b) {
    return a - b;
}
inline float mul(float a, float b) {
    return a * b;
}
inline float div(float a, float b) {
    return a / b;
}
inline float neg(float a) {
    return -a;
}
inline float fma(float a, float b, float c) {
    return std::fma(a, b, c);
} // a*b + c
inline float fms(float a, float b, float c) {
    return std::fma(a, b, -c);
} // a*b - c
inline float fnma(float a, float b, float c) {
    return std::fma(-a, b, c);
} // c - a*b

// x in every lane of V.
template <class V> V broadcast(float x) {
    if constexpr (std::same_as<V, float>)
        return x;
    else
        return qtx::simd::set1(x);
}

// A complex value or a group of four complex values, as real and imaginary parts.
template <class V> struct cplx { V re, im; };

// The lane width an operation is asked to compute in: one element or a 4-element group.
struct single_width {
    using real = float;
};
struct group_width {
    using real = f32x4;
};

} // namespace qvsip::elementwise
