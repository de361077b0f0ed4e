// Plain C++ loops for the element-wise benchmark, compiled with full optimisation for the build
// machine: the reference each library operation is measured against.
#pragma once

#include <cstddef>

namespace plain {

void cvmul(const float* a, const float* b, float* r, std::size_t n); // interleaved pairs
void vma(const float* a, const float* b, const float* c, float* r, std::size_t n);
void cvmag(const float* a, float* r, std::size_t n);
void rscvmul(float alpha, const float* b, float* r, std::size_t n);
void vrecip(const float* a, float* r, std::size_t n);

} // namespace plain
