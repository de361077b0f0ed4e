// SIMD bodies of the product kernels.
#include "vsip/matrix/product_kernels.hpp"

#include "simd/simd.hpp"
#include "vsip/frame.hpp"

namespace qvsip::matrix {

using namespace qtx::simd;

namespace {

// Vectors per dense group.
constexpr std::uint64_t group_vectors = dense_group * 2 / lane_count;

// Accumulators of a vector dot product: direct holds (ar*br, ar*bi) and cross (ai*bi, ai*br)
// lane by lane, so that each product is one fused multiply-add per accumulator.
struct dot_accumulators {
    f32x4 direct[group_vectors];
    f32x4 cross[group_vectors];
};

complex_sum lanes_added(const dot_accumulators& acc) {
    f32x4 direct = acc.direct[0];
    f32x4 cross = acc.cross[0];
    for (std::uint64_t v = 1; v < group_vectors; ++v) {
        direct = add(direct, acc.direct[v]);
        cross = add(cross, acc.cross[v]);
    }
    // (direct.re - cross.re, direct.im + cross.im) per complex lane.
    alignas(vector_bytes) float lane[lane_count];
    store(lane, add(direct, neg(conj(cross))));
    return {lane[0] + lane[2], lane[1] + lane[3]};
}

} // namespace

complex_sum dense_dot(const float* a, const float* b, std::uint64_t first, std::uint64_t last) {
    complex_sum sum;
    std::uint64_t n = first;
    if (last - first >= dense_group) {
        dot_accumulators acc;
        for (std::uint64_t v = 0; v < group_vectors; ++v)
            acc.direct[v] = acc.cross[v] = set1(0.0f);
        for (; last - n >= dense_group; n += dense_group) {
            for (std::uint64_t v = 0; v < group_vectors; ++v) {
                const f32x4 x = loadu(a + 2 * n + v * lane_count);
                const f32x4 y = loadu(b + 2 * n + v * lane_count);
                acc.direct[v] = fma(dup_re(x), y, acc.direct[v]);
                acc.cross[v] = fma(dup_im(x), swap_re_im(y), acc.cross[v]);
            }
        }
        sum = lanes_added(acc);
    }
    for (; n < last; ++n)
        sum.add(complex_product(a[2 * n], a[2 * n + 1], b[2 * n], b[2 * n + 1]));
    return sum;
}

complex_sum strided_dot(strided_complex a, strided_complex b, std::uint64_t first,
                        std::uint64_t last) {
    complex_sum sum;
    for (std::uint64_t n = first; n < last; ++n)
        sum.add(complex_product(*a.re_at(n), *a.im_at(n), *b.re_at(n), *b.im_at(n)));
    return sum;
}

void dense_update(float* r, complex_sum s, const float* x, std::uint64_t first,
                  std::uint64_t last) {
    // s * x per complex lane as complex_product: fma(sr, x, (-si*xi, si*xr)).
    const f32x4 s_re = set1(s.re);
    const f32x4 s_im = set_complex(-s.im, s.im);
    std::uint64_t n = first;
    for (; last - n >= dense_group; n += dense_group) {
        for (std::uint64_t v = 0; v < group_vectors; ++v) {
            float* target = r + 2 * n + v * lane_count;
            const f32x4 y = loadu(x + 2 * n + v * lane_count);
            const f32x4 product = fma(s_re, y, mul(s_im, swap_re_im(y)));
            storeu(target, add(loadu(target), product));
        }
    }
    for (; n < last; ++n) {
        const complex_sum p = complex_product(s.re, s.im, x[2 * n], x[2 * n + 1]);
        r[2 * n] += p.re;
        r[2 * n + 1] += p.im;
    }
}

void strided_update(strided_complex r, complex_sum s, strided_complex x, std::uint64_t first,
                    std::uint64_t last) {
    for (std::uint64_t n = first; n < last; ++n) {
        const complex_sum p = complex_product(s.re, s.im, *x.re_at(n), *x.im_at(n));
        *r.re_at(n) += p.re;
        *r.im_at(n) += p.im;
    }
}

} // namespace qvsip::matrix
