// The entries of the kernel set this file is compiled for; built once per set.
#include "fft/kernel_set.hpp"
#include "fft/solvers/c2c_1d_prime.hpp"
#include "fft/solvers/dft_small_prime.hpp"
#include "fft/solvers/r2c_1d.hpp"
#include "fft/solvers/r2r_1d.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

constinit const kernel_set this_kernel_set = {
    .name = QTX_ISA_NAME,
    .stage_kernels = stage_kernels,
    .generic_stage_kernel = generic_stage_kernel,
    .generic_pair_stage_kernel = generic_pair_stage_kernel,
    .find_direct_kernels = find_direct_kernels,
#if defined(QTX_FFT_DOUBLE)
    .find_real_kernels = find_real_kernels,
#endif
    .solve_problem_dft_small_prime = solve_problem_dft_small_prime,
    .solve_problem_c2c_1d_prime = solve_problem_c2c_1d_prime,
    .solve_problem_r2c_1d = solve_problem_r2c_1d,
    .solve_problem_c2r_1d = solve_problem_c2r_1d,
    .solve_problem_r2r_1d = solve_problem_r2r_1d,
    .r2r_kind_routines = g_r2r_plan_solver_func,
};

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
