// Calling the public planner a request goes to, and building the problem record it would build,
// in one engine precision.
#pragma once

#include "fft/api.hpp"
#include "tools/plan_request.hpp"

namespace qtx::QTX_ENGINE {

// The arrays a request passes: ri and ro alone for interleaved data (viewed as complex where
// the family has a complex side), the imaginary parts too for split data. Planning reads no
// data, so each is one small block; in place, the output arrays are the input arrays.
struct request_arrays {
    real* ri;
    real* ii;
    real* ro;
    real* io;
};

request_arrays allocate_arrays(const plan_request& r);
void free_arrays(const request_arrays& a);

// The public planner's result, or null.
plan_handle call_planner(const plan_request& r, const request_arrays& a,
                         const request_layout& layout);

// The top-level record the planner would hand to plan_problem, or null when the arguments
// break a rule of the interface.
plan_record* describe_request(const plan_request& r, const request_arrays& a,
                              const request_layout& layout);

} // namespace qtx::QTX_ENGINE
