#pragma once
// Portable backend and reference definition of every operation, spelled out lane by lane. The
// hardware backends return the same bits except where a comment here says otherwise.
#include "simd/common.hpp"
#include "simd/complex_ops.hpp"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace qtx::simd::inline QTX_ISA::scalar {

inline constexpr const char* backend_name = "scalar";

template <simd_real R> struct basic_vec {
    using value_type = R;
    alignas(vector_bytes) R lane[lanes<R>];
};
using f32x4 = basic_vec<float>;
using f64x2 = basic_vec<double>;
template <simd_real R> using vec = basic_vec<R>;

namespace detail {

// r[i] = f(a[i], rest[i]...) for every lane.
template <class F, class R, class... Rest>
QTX_SIMD_INLINE basic_vec<R> lanewise(F f, basic_vec<R> a, Rest... rest) {
    basic_vec<R> r{};
    for (int i = 0; i < lanes<R>; ++i)
        r.lane[i] = f(a.lane[i], rest.lane[i]...);
    return r;
}

// (re, im) = f(re, im) for every complex lane.
template <class F, class R> QTX_SIMD_INLINE basic_vec<R> complex_lanewise(F f, basic_vec<R> a) {
    basic_vec<R> r{};
    for (int c = 0; c < complex_lanes<R>; ++c) {
        const std::array<R, 2> z = f(a.lane[2 * c], a.lane[2 * c + 1]);
        std::copy(z.begin(), z.end(), r.lane + 2 * c);
    }
    return r;
}

QTX_SIMD_INLINE bool is_vector_aligned(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p) % vector_bytes == 0;
}

} // namespace detail

// ---- Memory ------------------------------------------------------------------------------------

// Loads lanes<R> reals from any address.
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> loadu(const R* p) {
    basic_vec<R> r{};
    std::copy_n(p, lanes<R>, r.lane);
    return r;
}

// Loads lanes<R> reals from a 16-byte aligned address.
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> load(const R* p) {
    assert(detail::is_vector_aligned(p));
    return loadu(p);
}

// Stores lanes<R> reals to any address.
template <simd_real R> QTX_SIMD_INLINE void storeu(R* p, basic_vec<R> v) {
    std::copy_n(v.lane, lanes<R>, p);
}

// Stores lanes<R> reals to a 16-byte aligned address.
template <simd_real R> QTX_SIMD_INLINE void store(R* p, basic_vec<R> v) {
    assert(detail::is_vector_aligned(p));
    storeu(p, v);
}

// Complex lane c = the complex value at p + c*stride (stride in reals; any alignment, any sign).
template <simd_real R>
QTX_SIMD_INLINE basic_vec<R> load_complex_strided(const R* p, std::ptrdiff_t stride) {
    basic_vec<R> r{};
    for (int c = 0; c < complex_lanes<R>; ++c)
        std::copy_n(p + c * stride, 2, r.lane + 2 * c);
    return r;
}

// Writes complex lane c to p + c*stride (stride in reals); nothing else is touched.
template <simd_real R>
QTX_SIMD_INLINE void store_complex_strided(R* p, std::ptrdiff_t stride, basic_vec<R> v) {
    for (int c = 0; c < complex_lanes<R>; ++c)
        std::copy_n(v.lane + 2 * c, 2, p + c * stride);
}

// The complex value at p in every complex lane.
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> load_complex_dup(const R* p) {
    return load_complex_strided(p, 0);
}

// The complex value at p in complex lane 0, zero in the others (for double: the whole vector).
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> load_low_complex(const R* p) {
    basic_vec<R> r{};
    std::copy_n(p, 2, r.lane);
    return r;
}

// Writes complex lane 0 (two reals) to p.
template <simd_real R> QTX_SIMD_INLINE void store_low_complex(R* p, basic_vec<R> v) {
    std::copy_n(v.lane, 2, p);
}

// Writes complex lane 1 (two reals) to p. Float only: a double vector has one complex lane.
QTX_SIMD_INLINE void store_high_complex(float* p, f32x4 v) {
    std::copy_n(v.lane + 2, 2, p);
}

// Cache hints for a line about to be written; no effect on values.
QTX_SIMD_INLINE void prefetch_write(const void*) {}
QTX_SIMD_INLINE void prefetch_write_stream(const void*) {}

// ---- Lane-wise arithmetic ----------------------------------------------------------------------

// (re, im) in every complex lane.
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> set_complex(R re, R im) {
    basic_vec<R> r{};
    for (int c = 0; c < complex_lanes<R>; ++c) {
        r.lane[2 * c] = re;
        r.lane[2 * c + 1] = im;
    }
    return r;
}

// x in every lane.
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> set1(R x) {
    return set_complex(x, x);
}

template <simd_real R> QTX_SIMD_INLINE basic_vec<R> add(basic_vec<R> a, basic_vec<R> b) {
    return detail::lanewise(std::plus<>{}, a, b);
}
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> sub(basic_vec<R> a, basic_vec<R> b) {
    return detail::lanewise(std::minus<>{}, a, b);
}
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> mul(basic_vec<R> a, basic_vec<R> b) {
    return detail::lanewise(std::multiplies<>{}, a, b);
}
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> div(basic_vec<R> a, basic_vec<R> b) {
    return detail::lanewise(std::divides<>{}, a, b);
}

// -a: flips the sign bit, so neg(+0) = -0.
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> neg(basic_vec<R> a) {
    return detail::lanewise(std::negate<>{}, a);
}

// |a|: clears the sign bit.
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> abs(basic_vec<R> a) {
    return detail::lanewise([](R x) { return std::fabs(x); }, a);
}

// Lane-wise minimum / maximum. Unspecified (differs by backend) for NaN and for -0 against +0.
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> min(basic_vec<R> a, basic_vec<R> b) {
    return detail::lanewise([](R x, R y) { return x < y ? x : y; }, a, b);
}
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> max(basic_vec<R> a, basic_vec<R> b) {
    return detail::lanewise([](R x, R y) { return x > y ? x : y; }, a, b);
}

// Correctly rounded square root.
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> sqrt(basic_vec<R> a) {
    return detail::lanewise([](R x) { return std::sqrt(x); }, a);
}

// a*b + c, a*b - c and c - a*b, each rounded once.
template <simd_real R>
QTX_SIMD_INLINE basic_vec<R> fma(basic_vec<R> a, basic_vec<R> b, basic_vec<R> c) {
    return detail::lanewise([](R x, R y, R z) { return std::fma(x, y, z); }, a, b, c);
}
template <simd_real R>
QTX_SIMD_INLINE basic_vec<R> fms(basic_vec<R> a, basic_vec<R> b, basic_vec<R> c) {
    return detail::lanewise([](R x, R y, R z) { return std::fma(x, y, -z); }, a, b, c);
}
template <simd_real R>
QTX_SIMD_INLINE basic_vec<R> fnma(basic_vec<R> a, basic_vec<R> b, basic_vec<R> c) {
    return detail::lanewise([](R x, R y, R z) { return std::fma(-x, y, z); }, a, b, c);
}

// ---- Per complex lane --------------------------------------------------------------------------

// (re, -im).
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> conj(basic_vec<R> a) {
    return detail::complex_lanewise([](R re, R im) { return std::array{re, -im}; }, a);
}

// (im, re).
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> swap_re_im(basic_vec<R> a) {
    return detail::complex_lanewise([](R re, R im) { return std::array{im, re}; }, a);
}

// (re, re).
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> dup_re(basic_vec<R> a) {
    return detail::complex_lanewise([](R re, R) { return std::array{re, re}; }, a);
}

// (im, im).
template <simd_real R> QTX_SIMD_INLINE basic_vec<R> dup_im(basic_vec<R> a) {
    return detail::complex_lanewise([](R, R im) { return std::array{im, im}; }, a);
}

// mul_i, mul_neg_i, add_i, sub_i, cmul, cmul_conj, cmla: see complex_ops.hpp.
using derived::add_i;
using derived::cmla;
using derived::cmul;
using derived::cmul_conj;
using derived::mul_i;
using derived::mul_neg_i;
using derived::sub_i;

// ---- Complex-lane shuffles (float only) --------------------------------------------------------

// [a0, b0] (complex lanes).
QTX_SIMD_INLINE f32x4 unpack_lo_complex(f32x4 a, f32x4 b) {
    return {{a.lane[0], a.lane[1], b.lane[0], b.lane[1]}};
}

// [a1, b1] (complex lanes).
QTX_SIMD_INLINE f32x4 unpack_hi_complex(f32x4 a, f32x4 b) {
    return {{a.lane[2], a.lane[3], b.lane[2], b.lane[3]}};
}

// [a1, a0] (complex lanes).
QTX_SIMD_INLINE f32x4 swap_complex(f32x4 a) {
    return {{a.lane[2], a.lane[3], a.lane[0], a.lane[1]}};
}

} // namespace qtx::simd::inline QTX_ISA::scalar
