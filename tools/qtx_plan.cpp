// qtx-plan: prints the kernel set the engines chose for this processor, the request, and the
// plan tree the engine builds for it, or why the engine makes no plan. Exit status 0 with a
// plan, 1 without, 2 on bad usage.
#include <cinttypes>
#include <cstdio>

#include "tools/plan_arguments.hpp"
#include "tools/plan_engine.hpp"

namespace {

struct engine {
    const char* (*kernel_set_name)();
    const char* (*planner_name)(const plan_request&);
    bool (*print_plan)(const plan_request&, std::FILE*);
    void (*explain_refusal)(const plan_request&, std::FILE*);
};

constexpr engine engines[] = {
    {qtx::engine_f32::kernel_set_name, qtx::engine_f32::planner_name, qtx::engine_f32::print_plan,
     qtx::engine_f32::explain_refusal},
    {qtx::engine_f64::kernel_set_name, qtx::engine_f64::planner_name, qtx::engine_f64::print_plan,
     qtx::engine_f64::explain_refusal},
};

void print_transform(const plan_request& r) {
    std::printf("%s", family_name(r.family));
    if (r.family == transform_family::r2r)
        for (int d = 0; d < r.rank; ++d) {
            const char* name = r2r_kind_name(r.kinds[d]);
            name ? std::printf("%s%s", d ? "," : " ", name)
                 : std::printf("%skind %d", d ? "," : " ", r.kinds[d]);
        }
    else
        std::printf(r.family == transform_family::c2r ||
                            (r.family == transform_family::c2c && r.sign == +1)
                        ? " backward"
                        : " forward");
    std::printf(", n=");
    for (int d = 0; d < r.rank; ++d)
        std::printf("%s%" PRId64, d ? "x" : "", r.n[d]);
    std::printf(" is=%" PRId64 " os=%" PRId64, r.in_stride, r.out_stride);
}

void print_request(const plan_request& r, const engine& e) {
    std::printf("request: %s precision, ", r.double_precision ? "double" : "single");
    print_transform(r);
    if (r.batched) std::printf(", howmany=%" PRId64, r.howmany);
    if (r.dist_given) std::printf(" idist=%" PRId64 " odist=%" PRId64, r.in_dist, r.out_dist);
    std::printf(", %s, %s, %d thread(s), planner %s\n", r.in_place ? "in place" : "out of place",
                r.split ? "split" : "interleaved", r.threads, e.planner_name(r));
}

} // namespace

int main(int argc, char** argv) {
    plan_request request;
    switch (parse_arguments(argc, argv, &request)) {
    case parse_result::help:
        print_usage(stdout);
        return 0;
    case parse_result::bad_usage:
        return 2;
    case parse_result::plan:
        break;
    }
    const engine& e = engines[request.double_precision ? 1 : 0];
    std::printf("kernels: %s\n", e.kernel_set_name());
    print_request(request, e);
    if (e.print_plan(request, stdout)) return 0;
    e.explain_refusal(request, stdout);
    return 1;
}
