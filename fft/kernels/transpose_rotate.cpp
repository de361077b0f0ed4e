// Complex multiplication while moving: the rotating transposition of the batch buffer and the
// element-wise rotation of contiguous rows.
#include "fft/kernels/transpose.hpp"

#include "fft/kernels/transpose_units.hpp"

namespace qtx::QTX_ENGINE {

using namespace transpose_detail;

namespace {

// d = s · t for one complex value.
void rotate_one(const real* s, const real* t, real* d) {
    simd::store_low_complex(d, simd::cmul(simd::load_low_complex(s), simd::load_low_complex(t)));
}

} // namespace

// The groups of the batch buffer form a matrix of H / pair_unit_complex rows and n columns of
// 16-byte units, which the recursion transposes with the multiplication folded into each move.
void transpose_rotate_cpx(const void* source, void* destination, const void* table, uint64_t H,
                          uint64_t n, int64_t destination_stride) {
    const auto* s = static_cast<const real*>(source);
    const auto* t = static_cast<const real*>(table);
    auto* d = static_cast<real*>(destination);
    const pair_rotate unit{s, t, d};
    transpose_complex_strides(unit, H / pair_unit_complex, n, offset(n, pair_unit_complex),
                              destination_stride);
    if (H % pair_unit_complex == 0) return;
    // Single precision, odd H: the last transform follows the pairs contiguously.
    const uint64_t last = H - 1;
    const int64_t first = offset(last * n, complex_reals);
    for (uint64_t k = 0; k < n; ++k) {
        const int64_t at = first + offset(k, complex_reals);
        const int64_t out_at =
            (static_cast<int64_t>(last) + offset(k, destination_stride)) * complex_reals;
        rotate_one(s + at, t + at, d + out_at);
    }
}

void rotate_cpx(const void* source, void* destination, uint64_t count) {
    const auto* s = static_cast<const real*>(source);
    auto* d = static_cast<real*>(destination);
    const uint64_t total = count * complex_reals;
    uint64_t i = 0;
    for (; i + vector_reals <= total; i += vector_reals)
        simd::storeu(d + i, simd::cmul(simd::loadu(s + i), simd::loadu(d + i)));
    if (i < total) rotate_one(s + i, d + i, d + i);
}

} // namespace qtx::QTX_ENGINE
