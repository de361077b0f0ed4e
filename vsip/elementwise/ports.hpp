// Ports: a resolved view seen as a sequence of elements that the element-wise and transcendental
// drivers read and write one element or one group of lane_count elements at a time, in one of three
// access modes.
#pragma once

#include "vsip/elementwise/lanes.hpp"
#include "vsip/frame.hpp"
#include "vsip/support.hpp"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace qvsip::elementwise {

// dense: every real view contiguous and every complex view interleaved and contiguous;
// split: every complex view split with contiguous parts (real views contiguous);
// strided: any strides, elements reached one by one.
enum class access_kind { dense, split, strided };

inline std::ptrdiff_t at(std::uint64_t index, std::ptrdiff_t stride) {
    return static_cast<std::ptrdiff_t>(index) * stride;
}

// Real, integer or boolean elements: element i is p[i * stride].
template <class Scalar> struct scalar_port {
    using one = Scalar;
    using group = std::conditional_t<std::is_same_v<Scalar, float>, f32x4, i32x4>;

    Scalar* p;
    std::ptrdiff_t stride; // in scalars
    vsip_length length;

    static constexpr std::ptrdiff_t element_stride = contiguous_stride;
    bool interleaved() const { return true; }
    bool split() const { return true; }
    bool contiguous() const { return stride == 1; }
    scalar_port moved(std::ptrdiff_t scalars) const { return {p + scalars, stride, length}; }

    template <access_kind A> group load(std::uint64_t i) const {
        if constexpr (A != access_kind::strided) {
            if constexpr (std::is_same_v<Scalar, float>)
                return qtx::simd::loadu(p + i);
            else
                return qtx::simd::load_i32(p + i);
        } else if constexpr (std::is_same_v<Scalar, float>) {
            return qtx::simd::load_strided(p + at(i, stride), stride);
        } else {
            alignas(qtx::simd::vector_bytes) Scalar lanes[lane_count];
            for (std::uint64_t k = 0; k < lane_count; ++k)
                lanes[k] = p[at(i + k, stride)];
            return qtx::simd::load_i32(lanes);
        }
    }
    template <access_kind A> void store(std::uint64_t i, group v) const {
        if constexpr (A != access_kind::strided) {
            if constexpr (std::is_same_v<Scalar, float>)
                qtx::simd::storeu(p + i, v);
            else
                qtx::simd::store_i32(p + i, v);
        } else if constexpr (std::is_same_v<Scalar, float>) {
            qtx::simd::store_strided(p + at(i, stride), stride, v);
        } else {
            alignas(qtx::simd::vector_bytes) Scalar lanes[lane_count];
            qtx::simd::store_i32(lanes, v);
            for (std::uint64_t k = 0; k < lane_count; ++k)
                p[at(i + k, stride)] = lanes[k];
        }
    }
    Scalar load_one(std::uint64_t i) const { return p[at(i, stride)]; }
    void store_one(std::uint64_t i, Scalar v) const { p[at(i, stride)] = v; }
};

// Complex elements: element i is (re[i * stride], im[i * stride]). A group holds its lane_count
// real parts in one vector and its imaginary parts in another, whatever the storage: complex
// arithmetic then is plain lane-wise arithmetic on parts (re = ar*br - ai*bi needs no shuffle
// per product), and one operation serves interleaved, split and strided views alike. Dense
// interleaved data pays one de-interleave per load and one interleave per store instead.
struct complex_port {
    using one = cplx<float>;
    using group = cplx<f32x4>;

    float* re;
    float* im;
    std::ptrdiff_t stride;         // in scalars
    std::ptrdiff_t element_stride; // interleaved_stride or split_stride
    vsip_length length;

    bool interleaved() const { return qvsip::interleaved(*this); }
    bool split() const { return element_stride == split_stride; }
    bool contiguous() const { return stride == element_stride; }
    complex_port moved(std::ptrdiff_t scalars) const {
        return {re + scalars, im + scalars, stride, element_stride, length};
    }

    template <access_kind A> group load(std::uint64_t i) const {
        if constexpr (A == access_kind::dense) {
            const f32x4 low = qtx::simd::loadu(re + 2 * i),
                        high = qtx::simd::loadu(re + 2 * i + lane_count);
            return {qtx::simd::even_lanes(low, high), qtx::simd::odd_lanes(low, high)};
        } else if constexpr (A == access_kind::split) {
            return {qtx::simd::loadu(re + i), qtx::simd::loadu(im + i)};
        } else {
            return {qtx::simd::load_strided(re + at(i, stride), stride),
                    qtx::simd::load_strided(im + at(i, stride), stride)};
        }
    }
    template <access_kind A> void store(std::uint64_t i, group v) const {
        if constexpr (A == access_kind::dense) {
            qtx::simd::storeu(re + 2 * i, qtx::simd::interleave_low(v.re, v.im));
            qtx::simd::storeu(re + 2 * i + lane_count, qtx::simd::interleave_high(v.re, v.im));
        } else if constexpr (A == access_kind::split) {
            qtx::simd::storeu(re + i, v.re);
            qtx::simd::storeu(im + i, v.im);
        } else {
            qtx::simd::store_strided(re + at(i, stride), stride, v.re);
            qtx::simd::store_strided(im + at(i, stride), stride, v.im);
        }
    }
    one load_one(std::uint64_t i) const { return {re[at(i, stride)], im[at(i, stride)]}; }
    void store_one(std::uint64_t i, one v) const {
        re[at(i, stride)] = v.re;
        im[at(i, stride)] = v.im;
    }
};

inline scalar_port<float> port_of(const vsip_vview_f& view) {
    const real_vector v = resolve(view);
    return {v.start, v.stride, v.length};
}
inline scalar_port<vsip_scalar_i> port_of(const vsip_vview_i& view) {
    const auto v = resolve(view);
    return {v.start, v.stride, v.length};
}
inline scalar_port<vsip_scalar_bl> port_of(const vsip_vview_bl& view) {
    const auto v = resolve(view);
    return {v.start, v.stride, v.length};
}
inline complex_port port_of(const vsip_cvview_f& view) {
    const complex_vector v = resolve(view);
    return {v.re, v.im, v.stride, v.element_stride, v.length};
}

} // namespace qvsip::elementwise
