#include "fft/solvers/real_passes.hpp"

#include "fft/roots.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

uint64_t half_twiddle_count(uint64_t m) {
    return m < 2 ? 1 : (m + 1) / 2;
}

void fill_half_twiddles(real* table, uint64_t m) {
    const uint64_t count = half_twiddle_count(m);
    for (uint64_t k = 1; k <= count; ++k) {
        const root_value w = unit_root(-static_cast<int64_t>(k), 2 * static_cast<int64_t>(m));
        table[2 * (k - 1)] = static_cast<real>(w.re);
        table[2 * (k - 1) + 1] = static_cast<real>(w.im);
    }
}

void pack_real(const real* x, int64_t stride, uint64_t n, real* b) {
    for (uint64_t t = 0; t < n; ++t) {
        b[2 * t] = x[static_cast<int64_t>(t) * stride];
        b[2 * t + 1] = 0;
    }
}

void pack_pairs(const real* x, int64_t stride, uint64_t m, real* b) {
    for (uint64_t t = 0; t < 2 * m; ++t)
        b[t] = x[static_cast<int64_t>(t) * stride];
}

void unpack_pairs(const real* b, uint64_t m, real* y, int64_t stride) {
    for (uint64_t t = 0; t < 2 * m; ++t)
        y[static_cast<int64_t>(t) * stride] = b[t];
}

void real_parts(const real* b, uint64_t n, real* y, int64_t stride) {
    for (uint64_t t = 0; t < n; ++t)
        y[static_cast<int64_t>(t) * stride] = b[2 * t];
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
