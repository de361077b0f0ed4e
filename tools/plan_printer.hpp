// Printing the plan tree of a transform, once per engine precision.
#pragma once

#include <cstdint>
#include <cstdio>

struct plan_request {
    int64_t n = 0;
    int64_t in_stride = 1;
    int64_t out_stride = 1;
    int threads = 1;
    bool in_place = false;
};

namespace qtx::engine_f32 {
// Plans the request, prints its tree to out and returns 0, or 1 when no plan could be made.
int print_plan(const plan_request& request, std::FILE* out);
// The kernel set the engine chose for this processor.
const char* kernel_set_name();
} // namespace qtx::engine_f32

namespace qtx::engine_f64 {
int print_plan(const plan_request& request, std::FILE* out);
const char* kernel_set_name();
} // namespace qtx::engine_f64
