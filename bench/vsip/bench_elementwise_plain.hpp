// Plain C++ loops for the element-wise benchmark, the reference each library operation is
// measured against. The source is compiled twice (see CMakeLists.txt): narrow for 128-bit vectors,
// the library's width, and native for the build machine's widest vectors.
#pragma once

#include <cstddef>

namespace plain {

struct elementwise_loops {
    void (*cvmul)(const float* a, const float* b, float* r, std::size_t n); // interleaved pairs
    void (*vma)(const float* a, const float* b, const float* c, float* r, std::size_t n);
    void (*cvmag)(const float* a, float* r, std::size_t n);
    void (*rscvmul)(float alpha, const float* b, float* r, std::size_t n);
    void (*vrecip)(const float* a, float* r, std::size_t n);
};

extern const elementwise_loops narrow;
extern const elementwise_loops native;

} // namespace plain
