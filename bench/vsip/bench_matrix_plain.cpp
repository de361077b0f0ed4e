#include "bench_matrix_plain.hpp"

#include <complex>

namespace qvsip::bench {

void plain_complex_product(const float* a, const float* b, float* r, std::size_t n) {
    auto* ca = reinterpret_cast<const std::complex<float>*>(a);
    auto* cb = reinterpret_cast<const std::complex<float>*>(b);
    auto* cr = reinterpret_cast<std::complex<float>*>(r);
    for (std::size_t i = 0; i < n * n; ++i)
        cr[i] = 0;
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < n; ++k) {
            const float sr = ca[i * n + k].real(), si = ca[i * n + k].imag();
            for (std::size_t j = 0; j < n; ++j) {
                const float xr = cb[k * n + j].real(), xi = cb[k * n + j].imag();
                cr[i * n + j] += std::complex<float>(sr * xr - si * xi, sr * xi + si * xr);
            }
        }
}

void plain_complex_transpose(const float* a, float* r, std::size_t n) {
    auto* ca = reinterpret_cast<const std::complex<float>*>(a);
    auto* cr = reinterpret_cast<std::complex<float>*>(r);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j)
            cr[j * n + i] = ca[i * n + j];
}

} // namespace qvsip::bench
