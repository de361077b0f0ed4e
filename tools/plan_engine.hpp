// What qtx-plan asks of each engine precision.
#pragma once

#include <cstdio>

#include "tools/plan_request.hpp"

#define QTX_PLAN_ENGINE_INTERFACE                                                                  \
    /* The kernel set the engine chose for this processor. */                                      \
    const char* kernel_set_name();                                                                 \
    /* The public planner the request goes to, e.g. qtx_fftf_plan_guru64_dft_r2c. */               \
    const char* planner_name(const plan_request& request);                                         \
    /* Plans the request through that planner and prints the plan tree; false when the planner     \
       returns no plan. */                                                                         \
    bool print_plan(const plan_request& request, std::FILE* out);                                  \
    /* Why the planner returns no plan: the first rule the request breaks, or the verdict of       \
       each registry row. */                                                                       \
    void explain_refusal(const plan_request& request, std::FILE* out);

namespace qtx::engine_f32 {
QTX_PLAN_ENGINE_INTERFACE
} // namespace qtx::engine_f32

namespace qtx::engine_f64 {
QTX_PLAN_ENGINE_INTERFACE
} // namespace qtx::engine_f64

#undef QTX_PLAN_ENGINE_INTERFACE
