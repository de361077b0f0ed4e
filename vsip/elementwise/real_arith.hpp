// The arithmetic of the real, integer and boolean element-wise operations. Each operation object
// computes one output element (One) or a group of four (Group) from the inputs at the same
// position; a template serves both widths where they give the same results.
#pragma once

#include "vsip/elementwise/estimates.hpp"
#include "vsip/elementwise/lanes.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

namespace qvsip::elementwise {

namespace simd = qtx::simd;

struct negation {
    template <class V> V operator()(V a) const { return neg(a); }
};

struct reciprocal {
    f32x4 operator()(f32x4 x) const { return refined_reciprocal(x); }
    float operator()(float x) const { return 1.0f / x; }
};

struct real_fill {
    float alpha;
    template <class V> V value() const { return broadcast<V>(alpha); }
};

struct add_scalar {
    float alpha;
    template <class V> V operator()(V b) const { return add(broadcast<V>(alpha), b); }
};

struct multiply_scalar {
    float alpha;
    template <class V> V operator()(V b) const { return mul(broadcast<V>(alpha), b); }
};

// (a + b) * c, the sum rounded first.
struct add_multiply {
    template <class V> V operator()(V a, V b, V c) const { return mul(add(a, b), c); }
};

// a * b + c, rounded once.
struct multiply_add {
    template <class V> V operator()(V a, V b, V c) const { return fma(a, b, c); }
};

struct multiply_add_scalar {
    float beta;
    template <class V> V operator()(V a, V b) const { return fma(a, b, broadcast<V>(beta)); }
};

// Groups take the IEEE maximum (NaN wins); single elements take a unless b < a fails, so a NaN
// in a gives b.
struct maximum {
    f32x4 operator()(f32x4 a, f32x4 b) const { return simd::max_propagate_nan(a, b); }
    float operator()(float a, float b) const { return b < a ? a : b; }
};

enum class relation { greater_equal, greater, less };

// Booleans are stored as 1 and 0.
template <relation R> struct compare {
    i32x4 operator()(f32x4 a, f32x4 b) const {
        i32x4 mask;
        if constexpr (R == relation::greater_equal)
            mask = simd::less_equal(b, a);
        else if constexpr (R == relation::greater)
            mask = simd::less(b, a);
        else
            mask = simd::less(a, b);
        return simd::bit_and(mask, simd::set1_i32(1));
    }
    std::int32_t operator()(float a, float b) const {
        if constexpr (R == relation::greater_equal)
            return a >= b ? 1 : 0;
        else if constexpr (R == relation::greater)
            return a > b ? 1 : 0;
        else
            return a < b ? 1 : 0;
    }
};

// Groups: h = nearest-even(x + 0.5), minus 1 where x is integral, plus 1 where h equals x; this
// is ceil(x) for finite x in the 32-bit range. NaN and out-of-range inputs give INT32_MIN in the
// scalar form and some 32-bit value in the group form.
struct ceiling {
    i32x4 operator()(f32x4 x) const {
        const i32x4 h = simd::to_int_nearest(add(x, simd::set1(0.5f)));
        const i32x4 integral = simd::equal(simd::round_nearest_even(x), x); // -1 where true
        const i32x4 at_x = simd::equal(simd::to_float(h), x);
        return simd::sub(simd::add(h, integral), at_x);
    }
    std::int32_t operator()(float x) const {
        constexpr float limit = 2147483648.0f; // 2^31
        const float c = std::ceil(x);
        if (!(c >= -limit && c < limit)) return std::numeric_limits<std::int32_t>::min();
        return static_cast<std::int32_t>(c);
    }
};

struct integer_to_float {
    f32x4 operator()(i32x4 a) const { return simd::to_float(a); }
    float operator()(std::int32_t a) const { return static_cast<float>(a); }
};

struct complement {
    i32x4 operator()(i32x4 a) const { return simd::bit_not(a); }
    std::int32_t operator()(std::int32_t a) const { return ~a; }
};

// Any non-zero boolean is true; the result is 1 or 0.
struct logical_and {
    i32x4 operator()(i32x4 a, i32x4 b) const {
        const i32x4 zero = simd::set1_i32(0);
        const i32x4 either_false = simd::bit_or(simd::equal(a, zero), simd::equal(b, zero));
        return simd::bit_and(simd::bit_not(either_false), simd::set1_i32(1));
    }
    std::int32_t operator()(std::int32_t a, std::int32_t b) const {
        return (a != 0 && b != 0) ? 1 : 0;
    }
};

} // namespace qvsip::elementwise
