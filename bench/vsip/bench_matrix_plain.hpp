// Plain reference loops for the matrix benchmark, compiled with full optimisation.
#pragma once

#include <cstddef>

namespace qvsip::bench {

// r = a x b for n x n interleaved row-major matrices.
void plain_complex_product(const float* a, const float* b, float* r, std::size_t n);

// r = a^T for an n x n interleaved row-major matrix.
void plain_complex_transpose(const float* a, float* r, std::size_t n);

} // namespace qvsip::bench
