#include "bench_reductions_plain.hpp"

#include <cmath>

namespace qvsip::bench {

std::complex<float> plain_dot(const float* a, const float* b, std::uint64_t n) {
    float re = 0, im = 0;
    for (std::uint64_t i = 0; i < n; ++i) {
        re += a[2 * i] * b[2 * i] - a[2 * i + 1] * b[2 * i + 1];
        im += a[2 * i] * b[2 * i + 1] + a[2 * i + 1] * b[2 * i];
    }
    return {re, im};
}

float plain_max_magnitude(const float* a, std::uint64_t n, std::uint64_t* index) {
    float best = -1.0f;
    for (std::uint64_t i = 0; i < n; ++i) {
        const float m = std::fabs(a[i]);
        if (m > best) {
            best = m;
            *index = i;
        }
    }
    return best;
}

} // namespace qvsip::bench
