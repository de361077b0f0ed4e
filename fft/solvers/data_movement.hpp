// Rank-0 problems (copies and transpositions of a batch layout), in-place transforms that
// cannot run where their data lies, and the internal rotation problems of kinds 5 and 6.
#pragma once

#include <cstdint>

#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE {

// In place: rank-0 moves, and transforms whose output does not lie on their input.
uint32_t solve_problem_rearrange_inplace(plan_record* p);
uint32_t solve_problem_rearrange_outplace(plan_record* p);

// True for an in-place transform whose output does not lie on its input, element by element:
// computed where it lies it would overwrite input still to be read. Other solvers decline it.
bool in_place_overwrites_input(const plan_record* p);

// Input elements from the first one read to the last, plus one; 0 when a length or stride is
// below 1.
uint64_t input_span(const plan_record* p);
uint32_t solve_problem_rotate(plan_record* p);
uint32_t solve_problem_transpose_rotate(plan_record* p);

} // namespace qtx::QTX_ENGINE
