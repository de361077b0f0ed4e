// One-dimensional complex transforms of the small prime lengths (fft/kernels/small_prime_kernels)
// as one kernel call, at any strides, in place or not; the chirp method takes the longer primes.
#pragma once

#include <cstdint>

#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

uint32_t solve_problem_dft_small_prime(plan_record* p);

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
