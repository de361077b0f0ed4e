// Batched transforms: a problem with batch dimensions reduced to children with smaller batches
// or none, run over the batch by thread chunks, through a gathered work buffer, in interleaved
// pairs (single precision) or by a plain loop.
#pragma once

#include <cstdint>

#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE {

// Smallest batch that a buffer gather is worth: the strided side spans this many bytes.
inline constexpr uint64_t gather_span_bytes = 262144;

// Chunk sizes of a thread split are multiples of this granule.
uint64_t thread_granule(const plan_record* p);

uint32_t solve_problem_dft_many_multithread(plan_record* p);
uint32_t solve_problem_dft_many_transpose(plan_record* p);
uint32_t solve_problem_dft_many_post_transpose(plan_record* p);
uint32_t solve_problem_dft_many_parallel(plan_record* p); // single precision only
uint32_t solve_problem_dft_many(plan_record* p);
uint32_t solve_problem_dft_many_transpose_rotate(plan_record* p);

void execute_multithread(const plan_record* plan, void* in, void* out);
void execute_many_transpose(const plan_record* plan, void* in, void* out);
void execute_many_post_transpose(const plan_record* plan, void* in, void* out);
void execute_many_parallel(const plan_record* plan, void* in, void* out);
void execute_many(const plan_record* plan, void* in, void* out);
void execute_many_transpose_rotate(const plan_record* plan, void* in, void* out);

} // namespace qtx::QTX_ENGINE
