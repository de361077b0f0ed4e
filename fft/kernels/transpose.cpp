// The recursive complex transpositions and the batch gather and scatter built on them.
#include "fft/kernels/transpose.hpp"

#include "fft/kernels/transpose_units.hpp"

namespace qtx::QTX_ENGINE {

using namespace transpose_detail;

void transpose_cpx(const void* source, void* destination, uint64_t R, uint64_t W,
                   int64_t source_stride, int64_t destination_stride) {
    const complex_move unit{static_cast<const real*>(source), static_cast<real*>(destination)};
    transpose_complex_strides(unit, R, W, source_stride, destination_stride);
}

void transpose_pairs(const void* source, void* destination, uint64_t R, uint64_t W,
                     int64_t source_stride, int64_t destination_stride) {
    const pair_move unit{static_cast<const real*>(source), static_cast<real*>(destination)};
    transpose_complex_strides(unit, R, W, source_stride, destination_stride);
}

// The batch buffer holds H / pair_unit_complex groups of pair_unit_complex interleaved
// transforms (pairs in single precision, single transforms in double precision), 2n or n
// values each; in single precision an odd H leaves one transform of n contiguous values last.
void gather_batch(const void* source, void* destination, uint64_t n, uint64_t H,
                  int64_t source_stride) {
    const int64_t group_stride = offset(n, pair_unit_complex);
    transpose_pairs(source, destination, n, H / pair_unit_complex, source_stride, group_stride);
    if (H % pair_unit_complex == 0) return;
    const uint64_t last = H - 1;
    copy_run<complex_reals>(static_cast<const real*>(source) + offset(last, complex_reals),
                            source_stride * complex_reals,
                            static_cast<real*>(destination) + offset(last * n, complex_reals),
                            complex_reals, static_cast<int64_t>(n));
}

void scatter_batch(const void* source, void* destination, uint64_t n, uint64_t H,
                   int64_t destination_stride) {
    const int64_t group_stride = offset(n, pair_unit_complex);
    transpose_pairs(source, destination, H / pair_unit_complex, n, group_stride,
                    destination_stride);
    if (H % pair_unit_complex == 0) return;
    const uint64_t last = H - 1;
    copy_run<complex_reals>(static_cast<const real*>(source) + offset(last * n, complex_reals),
                            complex_reals,
                            static_cast<real*>(destination) + offset(last, complex_reals),
                            destination_stride * complex_reals, static_cast<int64_t>(n));
}

} // namespace qtx::QTX_ENGINE
