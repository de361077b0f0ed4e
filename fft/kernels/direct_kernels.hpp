// Direct kernels: a complete transform of one of the fixed kernels::direct_lengths in a single
// call, and the constant table through which the direct solver finds them.
//
// Every direct kernel computes out[f·os] = Σ_{t < n} in[t·is] · exp(sign·2πi·f·t/n), unscaled,
// also when out and in are the same array with the same strides. Strides are in bytes.
#pragma once

#include <array>
#include <cstdint>

#include "fft/kernels/kernel_sizes.hpp"
#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE {

// twiddles: the twiddle block of the second pass of a two-radix length (unused otherwise);
// table: the plan's direct table, which holds the twiddles.
using direct_kernel = void (*)(void* out, const void* in, int64_t in_stride_bytes,
                               int64_t out_stride_bytes, const real* twiddles, const void* table);

// Columns of a table row. The pair columns transform two sequences at element offsets 0 and 1.
enum direct_column : int {
    direct_unit_forward,
    direct_unit_backward,
    direct_strided_forward,
    direct_strided_backward,
    direct_pair_forward,  // empty in the double-precision engine
    direct_pair_backward, // empty in the double-precision engine
    direct_column_count,
};

struct direct_kernel_row {
    uint64_t n;
    direct_kernel column[direct_column_count];
};

inline constexpr int direct_row_count = kernels::direct_length_count;

} // namespace qtx::QTX_ENGINE

// One instance per kernel set; the solvers reach them through kernel_set (fft/kernel_set.hpp).
namespace qtx::QTX_ENGINE::inline QTX_ISA {

// The rows in search order: the single butterflies, then the two-pass lengths, powers of two
// first.
extern const std::array<direct_kernel_row, direct_row_count> direct_kernel_table;

// The row of length n, or null when n has no direct kernel.
const direct_kernel_row* find_direct_kernels(uint64_t n);

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
