// Two- and three-dimensional transforms as two passes: the inner dimensions batched over the
// outermost one, and the outermost dimension batched over the inner ones.
#pragma once

#include <cstdint>

#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE {

uint32_t solve_problem_multidimension(plan_record* p);
uint32_t solve_problem_c2r_multidimension(plan_record* p);

void execute_multidimension(const plan_record* plan, void* in, void* out);
void execute_c2r_multidimension(const plan_record* plan, void* in, void* out);
void execute_c2r_multidimension_buffered(const plan_record* plan, void* in, void* out);

} // namespace qtx::QTX_ENGINE
