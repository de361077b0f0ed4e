// Plain and conjugate dot products of two complex vectors. Sums are held in float; each thread
// of a parallel region adds its pair of sums to the shared pair inside libgomp's atomic section.
#include "vsip/complex_sum.hpp"
#include "vsip/frame.hpp"
#include "vsip/reductions/accumulate.hpp"
#include "vsip/reductions/reductions.hpp"

#include <algorithm>
#include <cmath>

namespace qvsip::reductions {
namespace {

using namespace qtx::simd;

// Elements per unit of the dense parallel region, by processor profile; the serial dense
// kernel uses the profile-2 unit.
inline constexpr std::uint64_t profile_1_dot_unit = 16;
inline constexpr std::uint64_t profile_2_dot_unit = 8;
// Complex elements per step of the dense kernel: two vectors of lane_count / 2 interleaved
// elements.
inline constexpr std::uint64_t elements_per_step = lane_count;

// One element's contribution, a[i] b[i] or a[i] conj(b[i]), each part with one fused step.
template <bool Conjugate> complex_sum term(float ar, float ai, float br, float bi) {
    if constexpr (Conjugate)
        return {std::fma(ar, br, ai * bi), std::fma(br, ai, -(ar * bi))};
    else
        return {std::fma(ar, br, -(ai * bi)), std::fma(br, ai, ar * bi)};
}

// Elements [first, last) one by one at the views' strides (any storage).
template <bool Conjugate>
complex_sum strided_sum(const complex_vector& a, const complex_vector& b, std::uint64_t first,
                        std::uint64_t last) {
    complex_sum sum;
    for (std::uint64_t i = first; i < last; ++i) {
        const std::ptrdiff_t ia = static_cast<std::ptrdiff_t>(i) * a.stride;
        const std::ptrdiff_t ib = static_cast<std::ptrdiff_t>(i) * b.stride;
        sum.add(term<Conjugate>(a.re[ia], a.im[ia], b.re[ib], b.im[ib]));
    }
    return sum;
}

// Two interleaved complex lanes of the products, fused into acc: re(b) a + im(b) (±i a).
template <bool Conjugate> f32x4 accumulate_products(f32x4 acc, f32x4 a, f32x4 b) {
    acc = fma(a, dup_re(b), acc);
    return fma(dup_im(b), Conjugate ? mul_neg_i(a) : mul_i(a), acc);
}

// Interleaved stride-1 elements [first, last), a whole number of units of unit elements: each
// unit is summed in four lanes, the lanes added pairwise, the unit sum added to the result.
template <bool Conjugate>
complex_sum dense_units(const float* a, const float* b, std::uint64_t first, std::uint64_t last,
                        std::uint64_t unit) {
    complex_sum sum;
    for (std::uint64_t u = first; u < last; u += unit) {
        f32x4 even = set1(0.0f), odd = set1(0.0f);
        for (std::uint64_t e = u; e < u + unit; e += elements_per_step) {
            const std::uint64_t s = 2 * e;
            even = accumulate_products<Conjugate>(even, loadu(a + s), loadu(b + s));
            odd = accumulate_products<Conjugate>(odd, loadu(a + s + lane_count),
                                                 loadu(b + s + lane_count));
        }
        alignas(qtx::simd::vector_bytes) float lane[lane_count];
        store(lane, add(even, odd));
        sum.add({lane[0] + lane[2], lane[1] + lane[3]});
    }
    return sum;
}

template <bool Conjugate>
complex_sum serial_dot(const complex_vector& a, const complex_vector& b, std::uint64_t n) {
    if (!dense_interleaved(a) || !dense_interleaved(b)) return strided_sum<Conjugate>(a, b, 0, n);
    const std::uint64_t whole = n - n % profile_2_dot_unit;
    complex_sum sum = dense_units<Conjugate>(a.re, b.re, 0, whole, profile_2_dot_unit);
    sum.add(strided_sum<Conjugate>(a, b, whole, n));
    return sum;
}

template <bool Conjugate>
complex_sum parallel_dot(const complex_vector& a, const complex_vector& b, std::uint64_t n,
                         reduction_setting setting) {
    complex_sum shared;
    const bool dense = dense_interleaved(a) && dense_interleaved(b);
    const std::uint64_t unit = !dense                                         ? 1
                               : setting.profile == profile_serial_reductions ? profile_1_dot_unit
                                                                              : profile_2_dot_unit;
    auto kernel = [&](std::uint64_t first, std::uint64_t last) {
        const complex_sum partial = dense ? dense_units<Conjugate>(a.re, b.re, first, last, unit)
                                          : strided_sum<Conjugate>(a, b, first, last);
        add_atomically(shared, partial);
    };
    const std::uint64_t done =
        frame::parallel_region(setting.threads, 0, n, unit, frame::range_kernel(kernel));
    shared.add(strided_sum<Conjugate>(a, b, done, n));
    return shared;
}

template <bool Conjugate>
vsip_cscalar_f any_dot(const complex_vector& a, const complex_vector& b, vsip_length n,
                       reduction_setting setting) {
    const complex_sum sum = setting.threads == 1 ? serial_dot<Conjugate>(a, b, n)
                                                 : parallel_dot<Conjugate>(a, b, n, setting);
    return {sum.re, sum.im};
}

bool usable(const vsip_cvview_f* v) {
    return v != nullptr && v->block != nullptr && v->block->real != nullptr &&
           v->block->imag != nullptr && v->block->real->data != nullptr &&
           v->block->imag->data != nullptr;
}

template <bool Conjugate>
vsip_cscalar_f checked_dot(const vsip_cvview_f* a, const vsip_cvview_f* b) {
    if (!usable(a) || !usable(b)) return {quiet_nan, quiet_nan};
    const vsip_length n = std::min(a->length, b->length);
    if (n == 0) return {0.0f, 0.0f};
    return any_dot<Conjugate>(resolve(*a), resolve(*b), n, current_setting());
}

} // namespace

vsip_cscalar_f dot(const complex_vector& a, const complex_vector& b, vsip_length n,
                   reduction_setting setting) {
    return any_dot<false>(a, b, n, setting);
}

vsip_cscalar_f conjugate_dot(const complex_vector& a, const complex_vector& b, vsip_length n,
                             reduction_setting setting) {
    return any_dot<true>(a, b, n, setting);
}

} // namespace qvsip::reductions

vsip_cscalar_f vsip_cvdot_f(const vsip_cvview_f* a, const vsip_cvview_f* b) {
    return qvsip::reductions::checked_dot<false>(a, b);
}

vsip_cscalar_f vsip_cvjdot_f(const vsip_cvview_f* a, const vsip_cvview_f* b) {
    return qvsip::reductions::checked_dot<true>(a, b);
}
