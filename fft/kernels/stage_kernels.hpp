// Stage kernels: one radix-r pass of a self-sorting (Stockham) transform, and the constant
// tables through which the one-dimensional solvers find them.
//
// Every stage kernel computes, for k < P, j < m and q < r,
//   target[((q·P + k)·m + j)·out_stride] =
//       Σ_{q' < r} source[((k·r + q')·m + j)·in_stride] · T(k, q') · ω^(q·q'),
// with ω = exp(sign·2πi/r) and T the stage's twiddles (1 in a first stage).
#pragma once

#include <cstdint>

#include "fft/kernels/kernel_sizes.hpp"
#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE {

struct stage_record;

// Entry of a kernel table: an adapter that unpacks the stage record for its kernel.
using stage_kernel = void (*)(const stage_record* stage, const void* source, void* target);

// One stage of a stage table: eight 64-bit words.
struct stage_record {
    stage_kernel kernel;
    uint64_t m;           // columns left after this stage (1 for the last)
    uint64_t P;           // product of the radices of the earlier stages
    int64_t in_stride;    // element stride of the source
    int64_t out_stride;   // element stride of the target
    const real* twiddles; // this stage's twiddle block (null for the first stage)
    uint64_t r;           // radix
    int64_t sign;         // -1 forward, otherwise backward
};
static_assert(sizeof(stage_record) == 8 * sizeof(uint64_t));

// Radix r sits in slot r - 1; radices without a dedicated kernel have an empty slot.
inline constexpr int stage_kernel_slots = kernels::largest_dedicated_radix;

struct stage_kernel_table {
    stage_kernel slot[stage_kernel_slots];
};

// Which pass of the stage sequence and which data layout a table row serves.
enum class stage_row {
    first_pair,    // first stage, interleaved pair (single precision only)
    first_unit,    // first stage, unit strides
    first_strided, // first stage, any strides
    middle_pair,   // middle stage, interleaved pair (single precision only)
    middle,        // middle stage, contiguous work areas
    last_pair,     // last stage, interleaved pair (single precision only)
    last_unit,     // last stage, unit strides; paired twiddle rows in single precision
    last_strided,  // last stage, any output stride
};

// True for the radices whose last unit-stride stage reads paired twiddle rows (single
// precision only; the double-precision engine always uses plain rows).
inline bool has_paired_last_twiddles(uint64_t r) {
    return !is_double && kernels::is_dedicated_radix(r);
}

} // namespace qtx::QTX_ENGINE

// One instance per kernel set; the solvers reach them through kernel_set (fft/kernel_set.hpp).
namespace qtx::QTX_ENGINE::inline QTX_ISA {

// The table of one row and direction (forward for sign -1); null for the pair rows of the
// double-precision engine.
const stage_kernel_table* stage_kernels(stage_row row, bool forward);

// Radices without a dedicated kernel: computes the stage directly from the roots of unity,
// reading r, m, P, the strides, twiddles and sign from the record. Obtains its scratch block at
// each call and leaves the target unwritten if it cannot.
void generic_stage_kernel(const stage_record* stage, const void* source, void* target);
// The generic kernel on both sequences of an interleaved pair.
void generic_pair_stage_kernel(const stage_record* stage, const void* source, void* target);

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
