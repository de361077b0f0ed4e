// Building blocks of the butterflies: roots of unity evaluated at compile time, constants
// broadcast into vectors, compile-time unrolling and multiplication by a constant root.
#pragma once

#include <array>
#include <bit>
#include <type_traits>
#include <utility>

#include "simd/common.hpp"

// Marks a lambda's call operator always-inline; [[gnu::always_inline]] in that position would
// apply to the lambda's type and be ignored, leaving the unrolled bodies as calls.
#define QTX_INLINE_LAMBDA __attribute__((always_inline))

namespace qtx::kernels::inline QTX_ISA::butterfly_detail {

using long_real = long double;

inline constexpr long_real pi = 3.141592653589793238462643383279502884L;

// Taylor series; 16 terms reach the last bit of long double for |t| <= π/4 + π/12.
inline constexpr int series_terms = 16;

constexpr long_real sin_series(long_real t) {
    long_real term = t, sum = t;
    for (int n = 1; n < series_terms; ++n) {
        term *= -t * t / long_real((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

constexpr long_real cos_series(long_real t) {
    long_real term = 1, sum = 1;
    for (int n = 1; n < series_terms; ++n) {
        term *= -t * t / long_real((2 * n - 1) * (2 * n));
        sum += term;
    }
    return sum;
}

struct cos_sin {
    long_real c, s;
};

// cos and sin of 2π·k/n in long double, for constants folded into the butterflies (the plans'
// run-time twiddles come from unit_root in fft/roots.hpp). The nearest quarter turn is split off
// exactly, so the series only sees arguments of at most about π/4 and multiples of π/2 come out
// exact.
constexpr cos_sin compile_time_root(long k, long n) {
    k = ((k % n) + n) % n;
    const long quarter = (4 * k + n / 2) / n;
    const long_real t = (4 * k - quarter * n) * pi / (2 * long_real(n));
    const long_real c = cos_series(t), s = sin_series(t);
    switch (quarter % 4) {
    case 0:
        return {c, s};
    case 1:
        return {-s, c};
    case 2:
        return {-c, -s};
    default:
        return {s, -c};
    }
}

template <class F, int... I>
[[gnu::always_inline]] inline void static_for_each(F& f, std::integer_sequence<int, I...>) {
    (f(std::integral_constant<int, I>{}), ...);
}

// f(std::integral_constant<int, I>{}) for I = 0, ..., N-1, unrolled at compile time so that
// indices and constants derived from I are constant expressions.
template <int N, class F> [[gnu::always_inline]] inline void static_for(F&& f) {
    static_for_each(f, std::make_integer_sequence<int, N>{});
}

template <simd::simd_vec V, int... I>
[[gnu::always_inline]] inline V alternating_lanes(typename V::value_type even,
                                                  typename V::value_type odd,
                                                  std::integer_sequence<int, I...>) {
    using real = typename V::value_type;
    return std::bit_cast<V>(std::array<real, sizeof...(I)>{(I % 2 == 0 ? even : odd)...});
}

// (re, im) in every complex lane. Assembled from the lane values so that it works for every
// backend's vector type; the compiler folds it into a constant load.
template <simd::simd_vec V>
[[gnu::always_inline]] inline V complex_constant(long_real re, long_real im) {
    using real = typename V::value_type;
    return alternating_lanes<V>(static_cast<real>(re), static_cast<real>(im),
                                std::make_integer_sequence<int, simd::lanes<real>>{});
}

// x in every lane.
template <simd::simd_vec V> [[gnu::always_inline]] inline V real_constant(long_real x) {
    return complex_constant<V>(x, x);
}

// acc + Coefficient·v as one fused operation on the constant |Coefficient|.
template <long_real Coefficient, class V> [[gnu::always_inline]] inline V add_product(V acc, V v) {
    if constexpr (Coefficient < 0)
        return fnma(real_constant<V>(-Coefficient), v, acc);
    else
        return fma(real_constant<V>(Coefficient), v, acc);
}

// Exponent of the root ω_N^K = exp(∓2πi·K/N) counted counter-clockwise, in [0, N).
template <int N, int K, bool Forward>
inline constexpr int counter_clockwise_exponent = ((Forward ? -K : K) % N + N) % N;

// x·ω_N^K with ω_N = exp(-2πi/N) forward and exp(+2πi/N) backward. Multiples of an eighth
// turn cost a rotation by ±i and at most one real multiplication; other roots a complex one.
template <int N, int K, bool Forward, class V> [[gnu::always_inline]] inline V rotate(V x) {
    constexpr int e = counter_clockwise_exponent<N, K, Forward>;
    if constexpr (8 * e % N != 0) {
        constexpr cos_sin w = compile_time_root(e, N);
        return cmul(complex_constant<V>(w.c, w.s), x);
    } else {
        constexpr long_real half_sqrt2 = compile_time_root(1, 8).c; // (1 ± i)/√2 = √½·(1 ± i)
        switch (8 * e / N) {
        case 0:
            return x;
        case 1:
            return mul(real_constant<V>(half_sqrt2), add_i(x, x));
        case 2:
            return mul_i(x);
        case 3:
            return mul(real_constant<V>(-half_sqrt2), sub_i(x, x));
        case 4:
            return neg(x);
        case 5:
            return mul(real_constant<V>(-half_sqrt2), add_i(x, x));
        case 6:
            return mul_neg_i(x);
        default:
            return mul(real_constant<V>(half_sqrt2), sub_i(x, x));
        }
    }
}

} // namespace qtx::kernels::inline QTX_ISA::butterfly_detail
