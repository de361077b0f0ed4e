// The plain loops of the element-wise benchmark, compiled once per width (see the header).
#include "bench_elementwise_plain.hpp"

#include <cmath>

namespace {

void cvmul(const float* a, const float* b, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const float ar = a[2 * i], ai = a[2 * i + 1], br = b[2 * i], bi = b[2 * i + 1];
        r[2 * i] = ar * br - ai * bi;
        r[2 * i + 1] = ar * bi + ai * br;
    }
}

void vma(const float* a, const float* b, const float* c, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        r[i] = a[i] * b[i] + c[i];
}

void cvmag(const float* a, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        r[i] = std::sqrt(a[2 * i] * a[2 * i] + a[2 * i + 1] * a[2 * i + 1]);
}

void rscvmul(float alpha, const float* b, float* r, std::size_t n) {
    for (std::size_t i = 0; i < 2 * n; ++i)
        r[i] = alpha * b[i];
}

void vrecip(const float* a, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        r[i] = 1.0f / a[i];
}

} // namespace

const plain::elementwise_loops plain::QVSIP_PLAIN_WIDTH{cvmul, vma, cvmag, rscvmul, vrecip};
