// The direct real solvers: a length with a fixed kernel, alone or with one batch dimension, is
// one kernel call; the plan's table holds nothing but the kernel.
#include "fft/solvers/r2c_direct.hpp"

#if defined(QTX_FFT_DOUBLE)

#include <cstring>

#include "fft/kernel_set.hpp"
#include "fft/solvers/r2c_1d.hpp"

namespace qtx::QTX_ENGINE {
namespace {

// The 512-point kernel reads its input while writing a longer output, so it runs out of place.
constexpr uint64_t out_of_place_length = 512;

// The kernels write interleaved complex values, so split storage is left to its own solvers.
bool is_direct_shape(const plan_record* p, uint32_t kind) {
    return p->kind == kind && p->rank == 1 && (p->howmany_rank == 0 || p->howmany_rank == 1) &&
           p->complex_layout != layout_split;
}

uint32_t plan_direct(plan_record* p, real_kernel kernel, named_routine routine) {
    if (kernel == nullptr) return solve_declined;
    if (!attach_table(p, sizeof(kernel))) return solve_declined;
    std::memcpy(p->table, &kernel, sizeof(kernel));
    // A single transform is a batch of one.
    if (p->howmany_rank == 0) p->howmany_dims[0].n = 1;
    set_execute(p, routine);
    return solve_accepted;
}

real_kernel kernel_of(const plan_record* plan) {
    real_kernel kernel = nullptr;
    std::memcpy(&kernel, plan->table, sizeof(kernel));
    return kernel;
}

const real_kernel_row* row_of(const plan_record* p) {
    return p->dims[0].n < 1
               ? nullptr
               : active_kernel_set().find_real_kernels(static_cast<uint64_t>(p->dims[0].n));
}

} // namespace

uint32_t solve_problem_r2c_direct(plan_record* p) {
    if (!is_direct_shape(p, kind_r2c)) return solve_declined;
    const real_kernel_row* row = row_of(p);
    if (row == nullptr) return solve_declined;
    if (row->n == out_of_place_length && p->in == p->out) return solve_declined;
    return plan_direct(p, row->r2c, QTX_ROUTINE(execute_r2c_direct));
}

uint32_t solve_problem_c2r_direct(plan_record* p) {
    if (!is_direct_shape(p, kind_c2r)) return solve_declined;
    const real_kernel_row* row = row_of(p);
    if (row == nullptr) return solve_declined;
    return plan_direct(p, row->c2r, QTX_ROUTINE(execute_c2r_direct));
}

void execute_r2c_direct(const plan_record* plan, void* in, void* out) {
    const dim_record& d = plan->dims[0];
    const dim_record& batch = plan->howmany_dims[0];
    kernel_of(plan)(in, out, 2 * d.is, 2 * d.os, batch.n, batch.is, 2 * batch.os);
    // The kernel leaves the imaginary parts of X[0] and X[n/2]; they are exactly zero.
    const int64_t last = d.n / 2 * d.os;
    for (int64_t b = 0; b < batch.n; ++b) {
        real* X = static_cast<real*>(out) + 2 * b * batch.os;
        X[1] = 0;
        X[2 * last + 1] = 0;
    }
}

void execute_c2r_direct(const plan_record* plan, void* in, void* out) {
    const dim_record& d = plan->dims[0];
    const dim_record& batch = plan->howmany_dims[0];
    kernel_of(plan)(in, out, 2 * d.is, 2 * d.os, batch.n, 2 * batch.is, batch.os);
}

} // namespace qtx::QTX_ENGINE

#endif
