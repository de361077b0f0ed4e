// Transposition and copy kernels: the element moves of rank-0 plans and of the batch gather
// and scatter steps. A matrix of R rows and W columns stored with row stride S has element
// (r, c) at r·S + c; strides count elements of the kernel's own type (complex for _cpx, real
// for _fp, complex for the pair kernels too).
#pragma once

#include <cstdint>

#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE {

// Complex elements per transposition unit of transpose_pairs: a 16-byte unit is two complex
// values in single precision, one in double precision.
inline constexpr int64_t pair_unit_complex = is_double ? 1 : 2;

// destination (c, r) at c·destination_stride + r receives source (r, c) at r·source_stride + c.
void transpose_cpx(const void* source, void* destination, uint64_t R, uint64_t W,
                   int64_t source_stride, int64_t destination_stride);
void transpose_fp(const void* source, void* destination, uint64_t R, uint64_t W,
                  int64_t source_stride, int64_t destination_stride);
// The same on 16-byte units: unit (r, c) of the source starts at complex position
// r·source_stride + c·pair_unit_complex, unit (c, r) of the destination at
// c·destination_stride + r·pair_unit_complex.
void transpose_pairs(const void* source, void* destination, uint64_t R, uint64_t W,
                     int64_t source_stride, int64_t destination_stride);

// In-place transposition of an N × N matrix with the given row stride.
void transpose_square_cpx(void* array, uint64_t N, int64_t stride);
void transpose_square_fp(void* array, uint64_t N, int64_t stride);

// The source holds H transforms of n complex values in the batch-buffer layout (single
// precision: interleaved pairs, then an odd last transform; double precision: one after the
// other); each value times the table value at the same position is written to
// destination[j + k·destination_stride] for element k of transform j.
void transpose_rotate_cpx(const void* source, void* destination, const void* table, uint64_t H,
                          uint64_t n, int64_t destination_stride);
// destination[k] = source[k] · destination[k] for count contiguous complex values.
void rotate_cpx(const void* source, void* destination, uint64_t count);

// Nested strided copies over the plan's batch slots (howmany_dims, in the plan's element
// type): slot 0 outermost, the last slot element by element.
void copy_strided_cpx(const plan_record* plan, const void* source, void* destination);
void copy_strided_fp(const plan_record* plan, const void* source, void* destination);
// Contiguous copy of A·B real values.
void copy_block_fp(const void* source, void* destination, uint64_t A, uint64_t B);

// H transforms of length n, element k of transform j at source[k·source_stride + j], into the
// batch-buffer layout (see transpose_rotate_cpx), and back with scatter_batch.
void gather_batch(const void* source, void* destination, uint64_t n, uint64_t H,
                  int64_t source_stride);
void scatter_batch(const void* source, void* destination, uint64_t n, uint64_t H,
                   int64_t destination_stride);

} // namespace qtx::QTX_ENGINE
