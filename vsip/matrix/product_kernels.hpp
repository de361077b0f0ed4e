// Vector kernels of the complex matrix product: dot products along a row of A and a column of
// B, and updates r += s * x of a row (or column) of R. Each kernel takes a range [first, last)
// of complex elements so that the parallel paths can hand every thread its own chunk.
#pragma once

#include "vsip/complex_sum.hpp"
#include "vsip/support.hpp"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace qvsip::matrix {

// Complex elements handled per step of the dense kernels (four 4-lane vectors) and thus the
// unit of their parallel regions.
inline constexpr std::uint64_t dense_group = 8;
// Strided kernels step one element at a time.
inline constexpr std::uint64_t strided_element_unit = 1;

// The complex product of vsip_cvmul_f: each part one fused multiply-add.
inline complex_sum complex_product(float ar, float ai, float br, float bi) {
    return {std::fma(ar, br, -(ai * bi)), std::fma(ar, bi, ai * br)};
}

// A resolved complex vector: element n is (re[n * stride], im[n * stride]).
struct strided_complex {
    float* re;
    float* im;
    std::ptrdiff_t stride; // in scalars
    float* re_at(std::uint64_t n) const { return re + static_cast<std::ptrdiff_t>(n) * stride; }
    float* im_at(std::uint64_t n) const { return im + static_cast<std::ptrdiff_t>(n) * stride; }
};

// Sum over [first, last) of a[n] * b[n], both interleaved and contiguous (a and b point at the
// real part of element 0). Groups of dense_group products go through vector accumulators; the
// rest is added one product at a time.
complex_sum dense_dot(const float* a, const float* b, std::uint64_t first, std::uint64_t last);

// The same for any strides and storage, one product at a time.
complex_sum strided_dot(strided_complex a, strided_complex b, std::uint64_t first,
                        std::uint64_t last);

// r[n] += s * x[n] over [first, last), r and x interleaved and contiguous.
void dense_update(float* r, complex_sum s, const float* x, std::uint64_t first, std::uint64_t last);

// The same for any strides and storage.
void strided_update(strided_complex r, complex_sum s, strided_complex x, std::uint64_t first,
                    std::uint64_t last);

} // namespace qvsip::matrix
