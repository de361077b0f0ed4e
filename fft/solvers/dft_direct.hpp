// One-dimensional complex transforms of the direct kernel lengths as one kernel call.
#pragma once

#include <cstdint>

#include "fft/kernels/direct_kernels.hpp"
#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE {

// The direct table: 64 bytes whose first word is the chosen kernel, then the twiddle blocks.
inline constexpr uint64_t direct_header_bytes = 64;

// Bytes of the direct table of length n: the header and room for n complex values.
uint64_t direct_table_bytes(uint64_t n);

// The kernel a direct plan calls.
direct_kernel direct_kernel_of(const plan_record* plan);

uint32_t solve_problem_dft_direct(plan_record* p);
void execute_dft_direct(const plan_record* plan, void* in, void* out);

} // namespace qtx::QTX_ENGINE
