#pragma once
// Float-lane extras of the portable backend and their reference definitions: 32-bit integer
// lanes, lane masks, bit reinterpretation, rounding and the reciprocal estimates with their
// Newton-Raphson steps. Float only (four lanes). The hardware backends return the same bits
// except for the estimates, which are approximations (see reciprocal_estimate).
#include "simd/backend_scalar.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace qtx::simd::inline QTX_ISA::scalar {

// Four 32-bit signed integer lanes; also the type of lane masks (all bits set = true).
struct i32x4 {
    alignas(vector_bytes) std::int32_t lane[4];
};

namespace detail {

template <class F, class... Rest> QTX_SIMD_INLINE i32x4 intwise(F f, i32x4 a, Rest... rest) {
    i32x4 r{};
    for (int i = 0; i < 4; ++i)
        r.lane[i] = f(a.lane[i], rest.lane[i]...);
    return r;
}

template <class F> QTX_SIMD_INLINE i32x4 maskwise(F predicate, f32x4 a, f32x4 b) {
    i32x4 r{};
    for (int i = 0; i < 4; ++i)
        r.lane[i] = predicate(a.lane[i], b.lane[i]) ? -1 : 0;
    return r;
}

// Lane-wise integer arithmetic wraps modulo 2^32, as the hardware does.
QTX_SIMD_INLINE std::int32_t wrap(std::uint32_t x) {
    return static_cast<std::int32_t>(x);
}

} // namespace detail

// ---- Strided access ----------------------------------------------------------------------------

// Lanes p[0], p[stride], p[2*stride], p[3*stride] (stride in floats, any sign).
QTX_SIMD_INLINE f32x4 load_strided(const float* p, std::ptrdiff_t stride) {
    return {{p[0], p[stride], p[2 * stride], p[3 * stride]}};
}
QTX_SIMD_INLINE void store_strided(float* p, std::ptrdiff_t stride, f32x4 v) {
    for (int i = 0; i < 4; ++i)
        p[i * stride] = v.lane[i];
}

// ---- Integer lanes -----------------------------------------------------------------------------

QTX_SIMD_INLINE i32x4 load_i32(const std::int32_t* p) {
    i32x4 r{};
    std::copy_n(p, 4, r.lane);
    return r;
}
QTX_SIMD_INLINE void store_i32(std::int32_t* p, i32x4 v) {
    std::copy_n(v.lane, 4, p);
}
QTX_SIMD_INLINE i32x4 set1_i32(std::int32_t x) {
    return {{x, x, x, x}};
}
QTX_SIMD_INLINE i32x4 add(i32x4 a, i32x4 b) {
    return detail::intwise(
        [](std::int32_t x, std::int32_t y) {
            return detail::wrap(std::uint32_t(x) + std::uint32_t(y));
        },
        a, b);
}
QTX_SIMD_INLINE i32x4 sub(i32x4 a, i32x4 b) {
    return detail::intwise(
        [](std::int32_t x, std::int32_t y) {
            return detail::wrap(std::uint32_t(x) - std::uint32_t(y));
        },
        a, b);
}
template <int k> QTX_SIMD_INLINE i32x4 shift_left(i32x4 a) {
    static_assert(k >= 0 && k < 32);
    return detail::intwise([](std::int32_t x) { return detail::wrap(std::uint32_t(x) << k); }, a);
}
// Arithmetic shift: copies of the sign bit come in from the left.
template <int k> QTX_SIMD_INLINE i32x4 shift_right_arith(i32x4 a) {
    static_assert(k >= 0 && k < 32);
    return detail::intwise([](std::int32_t x) { return std::int32_t(x >> k); }, a);
}
QTX_SIMD_INLINE i32x4 bit_and(i32x4 a, i32x4 b) {
    return detail::intwise(std::bit_and<>{}, a, b);
}
QTX_SIMD_INLINE i32x4 bit_or(i32x4 a, i32x4 b) {
    return detail::intwise(std::bit_or<>{}, a, b);
}
QTX_SIMD_INLINE i32x4 bit_xor(i32x4 a, i32x4 b) {
    return detail::intwise(std::bit_xor<>{}, a, b);
}
QTX_SIMD_INLINE i32x4 bit_not(i32x4 a) {
    return detail::intwise(std::bit_not<>{}, a);
}

// ---- Conversions -------------------------------------------------------------------------------

// The lanes' bit patterns, unchanged.
QTX_SIMD_INLINE i32x4 bits_of(f32x4 a) {
    i32x4 r{};
    for (int i = 0; i < 4; ++i)
        r.lane[i] = std::bit_cast<std::int32_t>(a.lane[i]);
    return r;
}
QTX_SIMD_INLINE f32x4 from_bits(i32x4 a) {
    f32x4 r{};
    for (int i = 0; i < 4; ++i)
        r.lane[i] = std::bit_cast<float>(a.lane[i]);
    return r;
}

// Round to nearest, ties to even, in float.
QTX_SIMD_INLINE f32x4 round_nearest_even(f32x4 a) {
    return detail::lanewise([](float x) { return std::nearbyint(x); }, a);
}

// Round to nearest even and convert. Lanes outside the 32-bit range (and NaN) give INT32_MIN,
// the x86 result; other backends may give another value there.
QTX_SIMD_INLINE i32x4 to_int_nearest(f32x4 a) {
    i32x4 r{};
    for (int i = 0; i < 4; ++i) {
        const float x = std::nearbyint(a.lane[i]);
        const bool in_range = x >= -2147483648.0f && x < 2147483648.0f;
        r.lane[i] = in_range ? std::int32_t(x) : std::numeric_limits<std::int32_t>::min();
    }
    return r;
}

// Convert, rounding to nearest even where the integer has more than 24 significant bits.
QTX_SIMD_INLINE f32x4 to_float(i32x4 a) {
    f32x4 r{};
    for (int i = 0; i < 4; ++i)
        r.lane[i] = float(a.lane[i]);
    return r;
}

// ---- Masks -------------------------------------------------------------------------------------

// Comparisons; false for any lane holding NaN.
QTX_SIMD_INLINE i32x4 less(f32x4 a, f32x4 b) {
    return detail::maskwise([](float x, float y) { return x < y; }, a, b);
}
QTX_SIMD_INLINE i32x4 less_equal(f32x4 a, f32x4 b) {
    return detail::maskwise([](float x, float y) { return x <= y; }, a, b);
}
QTX_SIMD_INLINE i32x4 equal(f32x4 a, f32x4 b) {
    return detail::maskwise([](float x, float y) { return x == y; }, a, b);
}
// True where either lane is NaN.
QTX_SIMD_INLINE i32x4 unordered(f32x4 a, f32x4 b) {
    return detail::maskwise([](float x, float y) { return std::isnan(x) || std::isnan(y); }, a, b);
}
QTX_SIMD_INLINE i32x4 equal(i32x4 a, i32x4 b) {
    return detail::intwise([](std::int32_t x, std::int32_t y) { return x == y ? -1 : 0; }, a, b);
}
// The lanes compared as unsigned 32-bit numbers.
QTX_SIMD_INLINE i32x4 less_unsigned(i32x4 a, i32x4 b) {
    return detail::intwise(
        [](std::int32_t x, std::int32_t y) { return std::uint32_t(x) < std::uint32_t(y) ? -1 : 0; },
        a, b);
}

// Whether any lane / every lane of a mask is true.
QTX_SIMD_INLINE bool any(i32x4 mask) {
    return (mask.lane[0] | mask.lane[1] | mask.lane[2] | mask.lane[3]) != 0;
}
QTX_SIMD_INLINE bool all(i32x4 mask) {
    return (mask.lane[0] & mask.lane[1] & mask.lane[2] & mask.lane[3]) == -1;
}

// Lane-wise mask ? if_true : if_false.
QTX_SIMD_INLINE f32x4 select(i32x4 mask, f32x4 if_true, f32x4 if_false) {
    return from_bits(
        bit_or(bit_and(mask, bits_of(if_true)), bit_and(bit_not(mask), bits_of(if_false))));
}
QTX_SIMD_INLINE i32x4 select(i32x4 mask, i32x4 if_true, i32x4 if_false) {
    return bit_or(bit_and(mask, if_true), bit_and(bit_not(mask), if_false));
}

// IEEE maximum: NaN when either lane is NaN, +0 against -0.
QTX_SIMD_INLINE f32x4 max_propagate_nan(f32x4 a, f32x4 b) {
    return detail::lanewise(
        [](float x, float y) {
            if (std::isnan(x) || std::isnan(y)) return std::numeric_limits<float>::quiet_NaN();
            if (x == y) return std::signbit(x) ? y : x;
            return x > y ? x : y;
        },
        a, b);
}

// ---- Estimates and Newton-Raphson steps --------------------------------------------------------
// The hardware estimates are accurate to 8 (Arm) or 12 (x86) bits; this backend returns the
// correctly rounded value, so that any number of refinement steps stays within their error.

// About 1/a; ±infinity for ±0 and ±0 for ±infinity.
QTX_SIMD_INLINE f32x4 reciprocal_estimate(f32x4 a) {
    return detail::lanewise([](float x) { return 1.0f / x; }, a);
}
// About 1/sqrt(a); +infinity for +0, NaN for negative lanes.
QTX_SIMD_INLINE f32x4 rsqrt_estimate(f32x4 a) {
    return detail::lanewise([](float x) { return 1.0f / std::sqrt(x); }, a);
}

// 2 - a*b rounded once, and 2 when one of a, b is zero and the other infinite: the factor
// e*(2 - x*e) that refines a reciprocal estimate e of 1/x, keeping 1/0 = infinity.
QTX_SIMD_INLINE f32x4 reciprocal_step(f32x4 a, f32x4 b) {
    return detail::lanewise(
        [](float x, float y) {
            if ((x == 0 && std::isinf(y)) || (std::isinf(x) && y == 0)) return 2.0f;
            return std::fma(-x, y, 2.0f);
        },
        a, b);
}
// (3 - a*b) / 2 with a*b rounded into the difference once, and 1.5 when one of a, b is zero and
// the other infinite: the factor of e*(3 - x*e*e)/2 that refines an estimate e of 1/sqrt(x).
QTX_SIMD_INLINE f32x4 rsqrt_step(f32x4 a, f32x4 b) {
    return detail::lanewise(
        [](float x, float y) {
            if ((x == 0 && std::isinf(y)) || (std::isinf(x) && y == 0)) return 1.5f;
            return std::fma(-x, y, 3.0f) * 0.5f;
        },
        a, b);
}

// ---- Interleaving ------------------------------------------------------------------------------
// Four complex values held interleaved in two vectors become a vector of real parts and a vector
// of imaginary parts, and back.

// [a0, a2, b0, b2].
QTX_SIMD_INLINE f32x4 even_lanes(f32x4 a, f32x4 b) {
    return {{a.lane[0], a.lane[2], b.lane[0], b.lane[2]}};
}
// [a1, a3, b1, b3].
QTX_SIMD_INLINE f32x4 odd_lanes(f32x4 a, f32x4 b) {
    return {{a.lane[1], a.lane[3], b.lane[1], b.lane[3]}};
}
// [a0, b0, a1, b1].
QTX_SIMD_INLINE f32x4 interleave_low(f32x4 a, f32x4 b) {
    return {{a.lane[0], b.lane[0], a.lane[1], b.lane[1]}};
}
// [a2, b2, a3, b3].
QTX_SIMD_INLINE f32x4 interleave_high(f32x4 a, f32x4 b) {
    return {{a.lane[2], b.lane[2], a.lane[3], b.lane[3]}};
}

} // namespace qtx::simd::inline QTX_ISA::scalar
