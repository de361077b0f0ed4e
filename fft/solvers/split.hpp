// Split-complex problems (real and imaginary parts in separate arrays) as interleaved ones:
// batches peeled one slot at a time, single transforms through an interleaved work buffer.
#pragma once

#include <cstdint>

#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE {

// Bytes of the interleaved work buffer of a split problem without batch dimensions, or 0
// when it cannot be addressed.
uint64_t split_buffer_bytes(const plan_record* p);

uint32_t solve_problem_dft_split(plan_record* p);
uint32_t solve_problem_dft_many_split(plan_record* p);

void execute_split(const plan_record* plan, void* in_re, void* in_im, void* out_re, void* out_im);
void execute_many_split(const plan_record* plan, void* in_re, void* in_im, void* out_re,
                        void* out_im);

} // namespace qtx::QTX_ENGINE
