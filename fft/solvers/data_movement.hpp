// Rank-0 problems (copies and transpositions of a batch layout) and the internal rotation
// problems of kinds 5 and 6.
#pragma once

#include <cstdint>

#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE {

uint32_t solve_problem_rearrange_inplace(plan_record* p);
uint32_t solve_problem_rearrange_outplace(plan_record* p);
uint32_t solve_problem_rotate(plan_record* p);
uint32_t solve_problem_transpose_rotate(plan_record* p);

} // namespace qtx::QTX_ENGINE
