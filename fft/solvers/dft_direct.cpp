// The direct solver: a kernel length is one call of its direct kernel, with no work buffer and
// no children; the two-radix lengths read the twiddles planned into the direct table.
#include "fft/solvers/dft_direct.hpp"

#include <cstring>

#include "fft/kernel_set.hpp"
#include "fft/kernels/stage_geometry.hpp"
#include "fft/solvers/c2c_1d.hpp"

namespace qtx::QTX_ENGINE {
namespace {

// Only the single-precision engine takes a batch, and only the interleaved pair.
bool batch_accepted(const plan_record* p) {
    if (p->howmany_rank == 0) return true;
    return !is_double && p->howmany_rank == 1 && is_interleaved_pair(p);
}

direct_column column_of(const plan_record* p) {
    const bool forward = p->sign == -1;
    if (has_unit_strides(p)) return forward ? direct_unit_forward : direct_unit_backward;
    if (is_interleaved_pair(p)) return forward ? direct_pair_forward : direct_pair_backward;
    return forward ? direct_strided_forward : direct_strided_backward;
}

real* twiddles_of(void* table) {
    return reinterpret_cast<real*>(static_cast<char*>(table) + direct_header_bytes);
}

// The twiddle blocks of every stage after the first, one after the other.
void fill_direct_twiddles(const plan_record* p, void* table) {
    const uint64_t n = static_cast<uint64_t>(p->dims[0].n);
    uint64_t radices[max_stages];
    const int S = factorize(n, radices);
    real* cursor = twiddles_of(table);
    root_memo roots(static_cast<int64_t>(n), n);
    kernels::for_each_stage(
        n, {radices, static_cast<std::size_t>(S)}, [&](int s, uint64_t r, uint64_t P, uint64_t m) {
            if (s > 0) cursor = fill_stage_twiddles(p, roots, cursor, s == S - 1, r, P, m);
        });
}

} // namespace

uint64_t direct_table_bytes(uint64_t n) {
    return direct_header_bytes + n * complex_bytes;
}

direct_kernel direct_kernel_of(const plan_record* plan) {
    direct_kernel kernel = nullptr;
    std::memcpy(&kernel, plan->table, sizeof(kernel));
    return kernel;
}

uint32_t solve_problem_dft_direct(plan_record* p) {
    if (p->kind != kind_c2c || !batch_accepted(p) || p->rank != 1) return solve_declined;
    const direct_kernel_row* row =
        active_kernel_set().find_direct_kernels(static_cast<uint64_t>(p->dims[0].n));
    if (row == nullptr) return solve_declined;
    const direct_kernel kernel = row->column[column_of(p)];
    if (kernel == nullptr) return solve_declined;

    if (!attach_table(p, direct_table_bytes(row->n))) return solve_declined;
    std::memcpy(p->table, &kernel, sizeof(kernel));
    fill_direct_twiddles(p, p->table);

    set_execute(p, QTX_ROUTINE(execute_dft_direct));
    return solve_accepted;
}

void execute_dft_direct(const plan_record* plan, void* in, void* out) {
    const int64_t element = complex_bytes;
    direct_kernel_of(plan)(out, in, plan->dims[0].is * element, plan->dims[0].os * element,
                           twiddles_of(plan->table), plan->table);
}

} // namespace qtx::QTX_ENGINE
