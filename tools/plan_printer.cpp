#include "tools/plan_printer.hpp"

#include <algorithm>
#include <cinttypes>
#include <cstdlib>

#include "fft/api.hpp"
#include "fft/solvers/c2c_1d.hpp"

namespace qtx::QTX_ENGINE {
namespace {

// The registry row that accepts this node's problem: planning a fresh copy of the problem
// walks the registry exactly as the planner did.
const char* solver_of(const plan_record& node) {
    plan_record probe{};
    copy_problem(&node, &probe);
    const char* found = "(none)";
    for (const solver_row* row = solver_registry; row->solve != nullptr; ++row) {
        const bool accepted = row->solve(&probe) == solve_accepted;
        reset_plan(&probe);
        if (accepted) {
            found = row->name;
            break;
        }
    }
    return found;
}

void print_dims(const char* label, const dim_record* dims, int count, std::FILE* out) {
    std::fprintf(out, " %s[", label);
    for (int i = 0; i < count; ++i)
        std::fprintf(out, "%s{%" PRId64 ",%" PRId64 ",%" PRId64 "}", i ? " " : "", dims[i].n,
                     dims[i].is, dims[i].os);
    std::fprintf(out, "]");
}

void print_stages(const plan_record& node, std::FILE* out) {
    if (node.execute != execute_1d && node.execute != execute_1d_discrete) return;
    const stage_list list = stages_of(&node);
    std::fprintf(out, " radices");
    for (int s = 0; s < list.count; ++s)
        std::fprintf(out, "%s%" PRIu64, s ? "x" : " ", list.stages[s].r);
}

void print_node(const plan_record& node, int depth, std::FILE* out) {
    const bool planned_by_registry = !(node.rank > 0 && node.dims[0].n == 0);
    std::fprintf(out, "%*s%s <- %s: kind %u sign %" PRId64, 2 * depth, "",
                 node.name ? node.name : "(no-op)",
                 planned_by_registry ? solver_of(node) : "(empty problem)", node.kind, node.sign);
    print_dims("dims", node.dims, node.rank, out);
    print_dims("batch", node.howmany_dims, node.howmany_rank, out);
    print_stages(node, out);
    std::fprintf(out, " buffer %" PRIu64 " B, table %" PRIu64 " B%s, threads %" PRIu64 "\n",
                 node.buffer_size, node.table_size,
                 node.table_size && !node.owns_table ? " (borrowed)" : "", node.thread_count);
    for (uint32_t i = 0; i < node.child_count; ++i)
        print_node(node.children[i], depth + 1, out);
}

} // namespace

int print_plan(const plan_request& request, std::FILE* out) {
    const int64_t span = (request.n - 1) * std::max(request.in_stride, request.out_stride) + 1;
    auto* in = static_cast<complex_value*>(QTX_PUBLIC(malloc)(span * sizeof(complex_value)));
    auto* data =
        request.in_place
            ? in
            : static_cast<complex_value*>(QTX_PUBLIC(malloc)(span * sizeof(complex_value)));
    QTX_PUBLIC(plan_with_nthreads)(request.threads);
    const guru_dim64 dim = {request.n, request.in_stride, request.out_stride};
    plan_handle plan = QTX_PUBLIC(plan_guru64_dft)(1, &dim, 0, nullptr, in, data, -1, 0);
    int status = 1;
    if (plan != nullptr) {
        print_node(*record_of(plan), 0, out);
        QTX_PUBLIC(destroy_plan)(plan);
        status = 0;
    }
    if (data != in) QTX_PUBLIC(free)(data);
    QTX_PUBLIC(free)(in);
    return status;
}

} // namespace qtx::QTX_ENGINE
