// The plan tree of a request, one node per line, children indented: the execute routine, the
// solver that set it, the problem with labelled fields, the radices of stage sequences, buffer
// and table sizes and the thread count.
#include <cinttypes>
#include <cstring>

#include "fft/kernel_set.hpp"
#include "fft/solvers/solvers.hpp"
#include "tools/plan_call.hpp"
#include "tools/plan_engine.hpp"
#include "tools/plan_node_text.hpp"

namespace qtx::QTX_ENGINE {
namespace {

// The solver behind each execute routine, as the solvers in fft/solvers/ set them. A node is
// matched by the routine name its solver records beside the routine, not by the routine's
// address: the data-movement routines are file-local templates with no address to compare,
// and the two split solvers share the entry point execute_split_forward, while the names they
// record (execute_split, execute_many_split) tell them apart. A name is listed with the solver
// that sets it, which is the one whose logic the node runs: where a solver hands a problem to
// another (rearrange_inplace passes in-place batches to dft_many_post_transpose), the node
// carries the routine of the one it was handed to and is listed under that one, not under the
// registry row that was asked first.
struct routine_solver {
    const char* routine;
    solve_routine solver;
};

constexpr routine_solver routine_solvers[] = {
    {"execute_split", solve_problem_dft_split},
    {"execute_many_split", solve_problem_dft_many_split},
    {"execute_rearrange_inplace", solve_problem_rearrange_inplace},
    {"execute_trans_cpx_square_matrix", solve_problem_rearrange_inplace},
    {"execute_trans_fp_square_matrix", solve_problem_rearrange_inplace},
    {"execute_from_input_copy", solve_problem_rearrange_inplace},
    {"execute_multithread", solve_problem_dft_many_multithread},
    {"execute_many_transpose", solve_problem_dft_many_transpose},
    {"execute_many_post_transpose", solve_problem_dft_many_post_transpose},
#if defined(QTX_FFT_DOUBLE)
    {"execute_r2c_direct", solve_problem_r2c_direct},
    {"execute_c2r_direct", solve_problem_c2r_direct},
#endif
    {"execute_many_parallel", solve_problem_dft_many_parallel},
    {"execute_many", solve_problem_dft_many},
    {"execute_dft_small_prime", QTX_SET_SOLVER(solve_problem_dft_small_prime)},
    {"execute_1d_prime", QTX_SET_SOLVER(solve_problem_c2c_1d_prime)},
    {"execute_1d_prime_discrete", QTX_SET_SOLVER(solve_problem_c2c_1d_prime)},
    {"execute_c2c_1d_large", solve_problem_c2c_1d_large},
    {"execute_dft_direct", solve_problem_dft_direct},
    {"execute_1d", solve_problem_c2c_1d},
    {"execute_1d_discrete", solve_problem_c2c_1d},
    {"execute_1d_r2c", QTX_SET_SOLVER(solve_problem_r2c_1d)},
    {"execute_1d_r2c_discrete", QTX_SET_SOLVER(solve_problem_r2c_1d)},
    {"execute_1d_r2c_odd", QTX_SET_SOLVER(solve_problem_r2c_1d)},
    {"execute_1d_c2r", QTX_SET_SOLVER(solve_problem_c2r_1d)},
    {"execute_1d_c2r_discrete", QTX_SET_SOLVER(solve_problem_c2r_1d)},
    {"execute_1d_c2r_odd", QTX_SET_SOLVER(solve_problem_c2r_1d)},
    {"g_r2r_plan_solver_func[k]", QTX_SET_SOLVER(solve_problem_r2r_1d)},
    {"execute_multidimension", solve_problem_multidimension},
    {"execute_c2r_multidimension", solve_problem_c2r_multidimension},
    {"execute_c2r_multidimension_buffered", solve_problem_c2r_multidimension},
    {"execute_trans_cpx", solve_problem_rearrange_outplace},
    {"execute_trans_fp", solve_problem_rearrange_outplace},
    {"execute_copy_cpx", solve_problem_rearrange_outplace},
    {"execute_copy_fp", solve_problem_rearrange_outplace},
    {"execute_rotate", solve_problem_rotate},
    {"execute_transpose_rotate", solve_problem_transpose_rotate},
    {"execute_many_transpose_rotate", solve_problem_dft_many_transpose_rotate},
};

// The registry's name for a solver, so each name is written once, in the registry.
const char* registry_name(solve_routine solver) {
    for (const solver_row* row = solver_registry; row->solve != nullptr; ++row)
        if (row->solve == solver) return row->name;
    return "(solver not in the registry)";
}

// The planner gives an empty problem the no-op routine without asking any solver.
const char* solver_of(const plan_record& node) {
    if (node.execute == noop_execute) return "(empty problem)";
    if (node.name == nullptr) return "(unknown solver)";
    for (const routine_solver& entry : routine_solvers)
        if (std::strcmp(node.name, entry.routine) == 0) return registry_name(entry.solver);
    return "(unknown solver)";
}

void print_stages(const plan_record& node, std::FILE* out) {
    if (node.execute != execute_1d && node.execute != execute_1d_discrete) return;
    const stage_list list = stages_of(&node);
    std::fprintf(out, ", radices");
    for (int s = 0; s < list.count; ++s)
        std::fprintf(out, "%s%" PRIu64, s ? "x" : " ", list.stages[s].r);
}

} // namespace

const char* kernel_set_name() {
    return active_kernel_set().name;
}

bool print_plan(const plan_request& request, std::FILE* out) {
    request_layout layout{};
    if (!layout_of(request, &layout)) return false;
    const request_arrays arrays = allocate_arrays(request);
    QTX_PUBLIC(plan_with_nthreads)(request.threads);
    plan_handle plan = call_planner(request, arrays, layout);
    if (plan != nullptr) {
        plan_text::print_tree(*record_of(plan), 0, out, solver_of, print_stages);
        QTX_PUBLIC(destroy_plan)(plan);
    }
    free_arrays(arrays);
    return plan != nullptr;
}

} // namespace qtx::QTX_ENGINE
