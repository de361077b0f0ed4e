// Public execution, destruction, memory and thread control.
#include "fft/api.hpp"
#include "fft/threads.hpp"

namespace qtx::QTX_ENGINE {
namespace {

void run(plan_handle plan, void* in, void* out) {
    if (plan == nullptr || in == nullptr || out == nullptr) return;
    const plan_record* p = record_of(plan);
    p->execute(p, in, out);
}

void run_split(plan_handle plan, void* in_re, void* in_im, void* out_re, void* out_im) {
    const plan_record* p = record_of(plan);
    // Only split plans have a split routine; any other plan ignores the call.
    if (p->execute_split != nullptr) p->execute_split(p, in_re, in_im, out_re, out_im);
}

} // namespace
} // namespace qtx::QTX_ENGINE

using namespace qtx::QTX_ENGINE;

void QTX_PUBLIC(execute)(const plan_handle plan) {
    if (plan == nullptr) return;
    const plan_record* p = record_of(plan);
    run(plan, p->in, p->out);
}

void QTX_PUBLIC(execute_dft)(const plan_handle plan, complex_value* in, complex_value* out) {
    run(plan, in, out);
}

void QTX_PUBLIC(execute_dft_r2c)(const plan_handle plan, real* in, complex_value* out) {
    run(plan, in, out);
}

void QTX_PUBLIC(execute_dft_c2r)(const plan_handle plan, complex_value* in, real* out) {
    run(plan, in, out);
}

void QTX_PUBLIC(execute_r2r)(const plan_handle plan, real* in, real* out) {
    run(plan, in, out);
}

void QTX_PUBLIC(execute_split_dft)(const plan_handle plan, real* ri, real* ii, real* ro, real* io) {
    if (plan == nullptr || ri == nullptr || ii == nullptr || ro == nullptr || io == nullptr) return;
    run_split(plan, ri, ii, ro, io);
}

void QTX_PUBLIC(execute_split_dft_r2c)(const plan_handle plan, real* in, real* ro, real* io) {
    if (plan == nullptr || in == nullptr || ro == nullptr || io == nullptr) return;
    run_split(plan, in, nullptr, ro, io);
}

void QTX_PUBLIC(execute_split_dft_c2r)(const plan_handle plan, real* ri, real* ii, real* out) {
    if (plan == nullptr || ri == nullptr || ii == nullptr || out == nullptr) return;
    run_split(plan, ri, ii, out, nullptr);
}

void QTX_PUBLIC(destroy_plan)(plan_handle plan) {
    if (plan != nullptr) destroy_plan_record(record_of(plan));
}

void* QTX_PUBLIC(malloc)(size_t size) {
    return aligned_calloc(size);
}

void QTX_PUBLIC(free)(void* block) {
    aligned_free(block);
}

int QTX_PUBLIC(init_threads)(void) {
    return init_threads();
}

void QTX_PUBLIC(plan_with_nthreads)(int nthreads) {
    plan_with_nthreads(nthreads);
}

void QTX_PUBLIC(cleanup_threads)(void) {
    cleanup_threads();
}
