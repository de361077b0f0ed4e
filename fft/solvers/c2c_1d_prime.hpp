// One-dimensional complex transforms of lengths with a prime factor above 7, by the chirp
// method: a cyclic convolution of 7-smooth length computed with two transforms of one child.
#pragma once

#include <cstdint>

#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

// The convolution length of n: the smallest m >= 2n - 1 without a prime factor above 7.
uint64_t padded_length(uint64_t n);

uint32_t solve_problem_c2c_1d_prime(plan_record* p);
void execute_1d_prime(const plan_record* plan, void* in, void* out);
void execute_1d_prime_discrete(const plan_record* plan, void* in, void* out);

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
