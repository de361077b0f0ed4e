// The arithmetic of the common real, complex and mixed element-wise operations, written once for
// single elements and groups of four (see lanes.hpp). Functions without a lane kernel run the
// maths library lane by lane through lane_by_lane, so groups and single elements agree exactly.
#pragma once

#include "vsip/elementwise/lanes.hpp"
#include "vsip/frame.hpp"

#include <cmath>
#include <complex>
#include <concepts>
#include <cstdint>

namespace qvsip::elementwise {

// ---- Real -----------------------------------------------------------------------------------

struct addition {
    template <class V> V operator()(V a, V b) const { return add(a, b); }
};
struct subtraction {
    template <class V> V operator()(V a, V b) const { return sub(a, b); }
};
struct multiplication {
    template <class V> V operator()(V a, V b) const { return mul(a, b); }
};
// Exact division in groups too: no estimate, so every path gives a / b correctly rounded.
struct division {
    template <class V> V operator()(V a, V b) const { return div(a, b); }
};
struct square {
    template <class V> V operator()(V a) const { return mul(a, a); }
};
struct identity {
    template <class V> V operator()(V a) const { return a; }
};

struct absolute {
    f32x4 operator()(f32x4 a) const { return qtx::simd::abs(a); }
    float operator()(float a) const { return std::fabs(a); }
};

// alpha - b and alpha / b.
struct scalar_minus {
    float alpha;
    template <class V> V operator()(V b) const { return sub(broadcast<V>(alpha), b); }
};
struct scalar_over {
    float alpha;
    template <class V> V operator()(V b) const { return div(broadcast<V>(alpha), b); }
};

// a * beta + c, rounded once.
struct scaled_add {
    float beta;
    template <class V> V operator()(V a, V c) const { return fma(a, broadcast<V>(beta), c); }
};

// alpha + index * beta, rounded once.
struct ramp {
    float alpha, beta;
    template <class V> V operator()(V index) const {
        return fma(index, broadcast<V>(beta), broadcast<V>(alpha));
    }
};

// c1 where a <= t1, c2 where a >= t2, else a; a NaN passes through.
struct clip {
    float t1, t2, c1, c2;
    f32x4 operator()(f32x4 a) const {
        namespace simd = qtx::simd;
        const f32x4 high = simd::select(simd::less_equal(simd::set1(t2), a), simd::set1(c2), a);
        return simd::select(simd::less_equal(a, simd::set1(t1)), simd::set1(c1), high);
    }
    float operator()(float a) const { return a <= t1 ? c1 : (t2 <= a ? c2 : a); }
};

// The larger of |a| and |b|; |a| unless |a| < |b|, so a NaN in b loses and a NaN in a wins.
struct larger_magnitude {
    f32x4 operator()(f32x4 a, f32x4 b) const {
        namespace simd = qtx::simd;
        const f32x4 x = simd::abs(a), y = simd::abs(b);
        return simd::select(simd::less(x, y), y, x);
    }
    float operator()(float a, float b) const {
        const float x = std::fabs(a), y = std::fabs(b);
        return x < y ? y : x;
    }
};

// The two parts of a pair exchanged (swaps of two real views).
struct exchange {
    template <class V> cplx<V> operator()(cplx<V> a) const { return {a.im, a.re}; }
};

// ---- Complex and mixed ------------------------------------------------------------------------

// a conj(b): fma(ar, br, ai*bi) + fma(ai, br, -(ar*bi))·i.
struct conjugate_multiply {
    template <class V> cplx<V> operator()(cplx<V> a, cplx<V> b) const {
        return {fma(a.re, b.re, mul(a.im, b.im)), fms(a.im, b.re, mul(a.re, b.im))};
    }
};

// fma(ar, ar, ai*ai).
struct squared_magnitude_of {
    template <class V> V operator()(cplx<V> a) const { return fma(a.re, a.re, mul(a.im, a.im)); }
};

struct complex_negation {
    template <class V> cplx<V> operator()(cplx<V> a) const { return {neg(a.re), neg(a.im)}; }
};

// A real plus a complex value: the imaginary part passes unchanged.
struct real_plus_complex {
    template <class V> cplx<V> operator()(V a, cplx<V> b) const { return {add(a, b.re), b.im}; }
};

struct make_complex {
    template <class V> cplx<V> operator()(V re, V im) const { return {re, im}; }
};
struct real_part {
    template <class V> V operator()(cplx<V> a) const { return a.re; }
};
struct imaginary_part {
    template <class V> V operator()(cplx<V> a) const { return a.im; }
};

// ---- Lane by lane through the maths library ---------------------------------------------------

inline float lane(const f32x4& v, std::uint64_t k) {
    alignas(qtx::simd::vector_bytes) float lanes[lane_count];
    qtx::simd::store(lanes, v);
    return lanes[k];
}
inline cplx<float> lane(const cplx<f32x4>& v, std::uint64_t k) {
    return {lane(v.re, k), lane(v.im, k)};
}

// Gathers results lane by lane into a group of the result's kind.
template <class One> struct lane_collector;
template <> struct lane_collector<float> {
    alignas(qtx::simd::vector_bytes) float lanes[lane_count];
    void put(std::uint64_t k, float x) { lanes[k] = x; }
    f32x4 group() const { return qtx::simd::load(lanes); }
};
template <> struct lane_collector<cplx<float>> {
    lane_collector<float> re, im;
    void put(std::uint64_t k, cplx<float> x) {
        re.put(k, x.re);
        im.put(k, x.im);
    }
    cplx<f32x4> group() const { return {re.group(), im.group()}; }
};

template <class X>
inline constexpr bool is_group = std::same_as<X, f32x4> || std::same_as<X, cplx<f32x4>>;

// F on single elements (float or cplx<float>) applied to each lane of groups.
template <class F> struct lane_by_lane {
    F f;
    template <class... X> auto operator()(X... x) const {
        if constexpr ((is_group<X> && ...)) {
            lane_collector<decltype(f(lane(x, 0)...))> out;
            for (std::uint64_t k = 0; k < lane_count; ++k)
                out.put(k, f(lane(x, k)...));
            return out.group();
        } else {
            return f(x...);
        }
    }
};

struct atan2_of {
    float operator()(float a, float b) const { return std::atan2(a, b); }
};
struct argument_of {
    float operator()(cplx<float> a) const { return std::atan2(a.im, a.re); }
};
// Principal square root, with the library's handling of signed zeros and infinities.
struct complex_root_of {
    cplx<float> operator()(cplx<float> a) const {
        const std::complex<float> r = std::sqrt(std::complex<float>(a.re, a.im));
        return {r.real(), r.imag()};
    }
};
// (|a|, arg a) with the magnitude free of intermediate overflow.
struct polar_of {
    cplx<float> operator()(cplx<float> a) const {
        return {std::hypot(a.re, a.im), std::atan2(a.im, a.re)};
    }
};
// (r cos t, r sin t) from a pair (r, t).
struct rectangular_of {
    cplx<float> operator()(float r, float t) const { return {r * std::cos(t), r * std::sin(t)}; }
};

} // namespace qvsip::elementwise
