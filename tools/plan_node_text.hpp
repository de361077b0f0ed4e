// One node of an engine plan tree as a line of text, from the record's own fields: the execute
// routine, the problem with labelled fields, buffer and table sizes and the thread count.
// qtx-plan adds the solver behind each node and the radices of stage sequences, which it reads
// from the engine's internals; the FFTW 3 interface prints the tree without them. Included
// once per engine precision.
#pragma once

#include <cinttypes>
#include <cstdio>

#include "fft/planner.hpp"
#include "tools/plan_request.hpp"

namespace qtx::QTX_ENGINE::plan_text {

// The problem kinds, public and internal, by code (4 is unused).
inline const char* kind_label(uint32_t kind) {
    constexpr const char* labels[] = {
        "c2c", "c2r", "r2c", "r2r", "kind 4", "rotate", "transpose-rotate", "large first pass"};
    return kind < sizeof labels / sizeof labels[0] ? labels[kind] : "unknown kind";
}

inline void print_problem_kind(const plan_record& node, std::FILE* out) {
    std::fprintf(out, "%s", kind_label(node.kind));
    if (node.kind != kind_r2r) {
        if (node.sign == -1)
            std::fprintf(out, " forward");
        else if (node.sign == +1)
            std::fprintf(out, " backward");
        else
            std::fprintf(out, " sign %" PRId64, node.sign);
    }
    for (int d = 0; node.kind == kind_r2r && d < node.rank; ++d) {
        const char* name = r2r_kind_name(static_cast<int>(node.r2r_kinds[d]));
        std::fprintf(out, "%s%s", d ? "," : " ", name ? name : "?");
    }
    if (node.complex_layout == layout_split) std::fprintf(out, " split");
    if (node.in != nullptr && node.in == node.out) std::fprintf(out, " in place");
}

inline void print_dims(const plan_record& node, std::FILE* out) {
    if (node.rank == 0) std::fprintf(out, ", rank 0");
    for (int i = 0; i < node.rank; ++i)
        std::fprintf(out, "%sn=%" PRId64 " is=%" PRId64 " os=%" PRId64, i ? " / " : ", ",
                     node.dims[i].n, node.dims[i].is, node.dims[i].os);
    for (int i = 0; i < node.howmany_rank; ++i)
        std::fprintf(out, "%showmany=%" PRId64 " idist=%" PRId64 " odist=%" PRId64,
                     i ? " / " : ", ", node.howmany_dims[i].n, node.howmany_dims[i].is,
                     node.howmany_dims[i].os);
}

// The tree under node, one line per node, children indented. solver(node) names the solver
// after the routine, or null for none; stages(node, out) may append the radices.
template <class Solver, class Stages>
void print_tree(const plan_record& node, int depth, std::FILE* out, Solver&& solver,
                Stages&& stages) {
    std::fprintf(out, "%*s%s", 2 * depth, "", node.name ? node.name : "(no-op)");
    if (const char* name = solver(node)) std::fprintf(out, " <- %s", name);
    std::fprintf(out, ": ");
    print_problem_kind(node, out);
    print_dims(node, out);
    stages(node, out);
    std::fprintf(out, ", buffer %" PRIu64 " B, table %" PRIu64 " B%s, threads %" PRIu64 "\n",
                 node.buffer_size, node.table_size,
                 node.table_size && !node.owns_table ? " (borrowed)" : "", node.thread_count);
    for (uint32_t i = 0; i < node.child_count; ++i)
        print_tree(node.children[i], depth + 1, out, solver, stages);
}

} // namespace qtx::QTX_ENGINE::plan_text
