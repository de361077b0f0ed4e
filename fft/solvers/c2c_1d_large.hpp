// Long unit-stride one-dimensional complex transforms as two passes of short batched
// transforms: n = P·Q, P transforms of length Q after Q twiddled transforms of length P.
#pragma once

#include <cstdint>

#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE {

struct large_split {
    uint64_t P; // first-pass length (close to the square root of n)
    uint64_t Q; // second-pass length
};

// The split of n: P the largest divisor of n not above √n (256 · 2048 for 524288); P = 1 when
// n is prime.
large_split split_large_length(uint64_t n);

// Lengths above this run as two passes, whatever the plan's thread count.
uint64_t large_length_threshold();

uint32_t solve_problem_c2c_1d_large(plan_record* p);
void execute_c2c_1d_large(const plan_record* plan, void* in, void* out);

} // namespace qtx::QTX_ENGINE
