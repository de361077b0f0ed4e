// Single one-dimensional transforms of real data: real-to-complex (forward, half spectrum out)
// and complex-to-real (backward, half spectrum in). An even length n runs as a complex child of
// length n/2 and a split or merge pass; an odd length as a complex child of length n.
#pragma once

#include <cstdint>

#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

uint32_t solve_problem_r2c_1d(plan_record* p);
uint32_t solve_problem_c2r_1d(plan_record* p);

void execute_1d_r2c(const plan_record* plan, void* in, void* out);
void execute_1d_r2c_discrete(const plan_record* plan, void* in, void* out);
void execute_1d_r2c_odd(const plan_record* plan, void* in, void* out);
void execute_1d_c2r(const plan_record* plan, void* in, void* out);
void execute_1d_c2r_discrete(const plan_record* plan, void* in, void* out);
void execute_1d_c2r_odd(const plan_record* plan, void* in, void* out);

// ---- Planning steps shared with the real-to-real solver ------------------------------------

// Makes p's one child, a copy of its problem turned into a single complex transform of
// `length` at unit strides with `sign`, and plans it.
uint32_t plan_complex_child(plan_record* p, uint64_t length, int64_t sign);

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
