// Double precision only: short real transforms, single or batched, as one call of a fixed
// kernel for the whole batch.
#pragma once

#include <cstdint>

#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE {

#if defined(QTX_FFT_DOUBLE)

uint32_t solve_problem_r2c_direct(plan_record* p);
uint32_t solve_problem_c2r_direct(plan_record* p);
void execute_r2c_direct(const plan_record* plan, void* in, void* out);
void execute_c2r_direct(const plan_record* plan, void* in, void* out);

#endif

} // namespace qtx::QTX_ENGINE
