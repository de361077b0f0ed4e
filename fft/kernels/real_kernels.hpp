// Fixed real-input and complex-input kernels of the double-precision engine: whole batches of
// short real transforms in one call, for the direct real solvers.
//
// Calling convention: (input, output, input stride, output stride, batch count, batch input
// distance, batch output distance). Strides and distances are counted in reals; the element
// stride of the real array is passed doubled (the kernel halves it), its batch distance is not.
// A real-input kernel writes X[0 … n/2] of every transform except the imaginary parts of X[0]
// and X[n/2]; a complex-input kernel never reads those two. Each transform is read completely
// before any of its results is written, so a transform may run in place.
#pragma once

#include <cstdint>

#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE {

#if defined(QTX_FFT_DOUBLE)

using real_kernel = void (*)(const void* in, void* out, int64_t in_stride, int64_t out_stride,
                             int64_t count, int64_t in_distance, int64_t out_distance);

struct real_kernel_row {
    uint64_t n;
    real_kernel r2c; // real input, half spectrum out
    real_kernel c2r; // half spectrum in, real output; null where there is none
};

#endif

} // namespace qtx::QTX_ENGINE

// One instance per kernel set; the solvers reach it through kernel_set (fft/kernel_set.hpp).
namespace qtx::QTX_ENGINE::inline QTX_ISA {

#if defined(QTX_FFT_DOUBLE)
// The row of length n, or null when there is none.
const real_kernel_row* find_real_kernels(uint64_t n);

#endif

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
