// The kernel sets of one engine build. The kernels, and the solvers whose execute routines
// inline them, are compiled once per instruction set the target may offer (on aarch64: the
// Armv8.0-A baseline, and Armv8.3-A with the complex-number instructions); the rest of the
// engine is compiled once, for the baseline. One set is chosen per process from the processor's
// capabilities before the first plan is made; plans hold the kernel addresses they were made
// with, so executing a plan tests nothing.
//
// Code compiled for the baseline that names a kernel entry directly (stage_kernels,
// find_direct_kernels, ...) gets the baseline set's: the solvers go through active_kernel_set().
#pragma once

#include <cstdint>

#include "fft/kernels/direct_kernels.hpp"
#include "fft/kernels/real_kernels.hpp"
#include "fft/kernels/stage_kernels.hpp"
#include "fft/planner.hpp"
#include "fft/solvers/r2r_1d.hpp"

namespace qtx::QTX_ENGINE {

struct kernel_set {
    const char* name; // the instruction set, as qtx-plan prints it
    const stage_kernel_table* (*stage_kernels)(stage_row row, bool forward);
    stage_kernel generic_stage_kernel;
    stage_kernel generic_pair_stage_kernel;
    const direct_kernel_row* (*find_direct_kernels)(uint64_t n);
#if defined(QTX_FFT_DOUBLE)
    const real_kernel_row* (*find_real_kernels)(uint64_t n);
#endif
    // The solvers whose execute routines inline kernels, each planning with its set's copies.
    solve_routine solve_problem_dft_small_prime;
    solve_routine solve_problem_c2c_1d_prime;
    solve_routine solve_problem_r2c_1d;
    solve_routine solve_problem_c2r_1d;
    solve_routine solve_problem_r2r_1d;
    // The real-to-real execute routines by kind, as the set's r2r solver assigns them.
    const execute_routine* r2r_kind_routines;
};

// The set of this process: chosen on first use (safely from any thread), never changed.
const kernel_set& active_kernel_set();

// The registry's entry to a solver of the active set.
template <solve_routine kernel_set::*Solve> uint32_t solve_in_active_set(plan_record* p) {
    return (active_kernel_set().*Solve)(p);
}
#define QTX_SET_SOLVER(fn) solve_in_active_set<&kernel_set::fn>

} // namespace qtx::QTX_ENGINE

namespace qtx::QTX_ENGINE::inline QTX_ISA {

// The set compiled in this translation unit's instruction set (fft/kernels/kernel_set_entries).
extern const kernel_set this_kernel_set;

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
