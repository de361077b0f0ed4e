// The plan record, the solver registry and the planner that walks it.
//
// One record type describes a transform problem and, once planned, the plan that computes
// it. Planning offers the problem to the registry rows in order; the first solver that
// accepts wins. Solvers reduce problems to child records planned through the same registry,
// so a plan is a tree of records whose root is the public plan handle.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fft/memory.hpp"
#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE {

// Problem kinds. The public planners create kinds 0 to 3. The others are internal child
// problems: kind 7 is the first pass of the two-pass long transform (transforms, twiddles and
// a transposed store in one), which c2c_1d_large creates; kinds 5 and 6 multiply by rotation
// factors while moving data; no solver creates them at present, so their rows plan only
// records built for them directly. Code 4 is unused.
enum : uint32_t {
    kind_c2c = 0,
    kind_c2r = 1,
    kind_r2c = 2,
    kind_r2r = 3,
    kind_rotate = 5,
    kind_transpose_rotate = 6,
    kind_large_first_pass = 7,
};

// Complex layouts.
inline constexpr int64_t layout_interleaved = -1;
inline constexpr int64_t layout_split = +1;

// Solver status: 0 accepts, all bits set declines and lets the next row try. Refusing ends
// planning with no plan: the row owns the problem and no later row would compute it correctly
// (an in-place layout whose only correct plan needs memory that could not be had).
inline constexpr uint32_t solve_accepted = 0;
inline constexpr uint32_t solve_declined = ~uint32_t{0};
inline constexpr uint32_t solve_refused = 1;

inline constexpr int max_rank = 3;

struct dim_record {
    int64_t n;  // length
    int64_t is; // input stride, in input elements
    int64_t os; // output stride, in output elements
};

struct plan_record;
using execute_routine = void (*)(const plan_record* plan, void* in, void* out);
using execute_split_routine = void (*)(const plan_record* plan, void* in_re, void* in_im,
                                       void* out_re, void* out_im);

struct plan_record {
    // Problem.
    uint32_t kind;
    int64_t sign;           // -1 forward, +1 backward, 0 for real-to-real
    int64_t complex_layout; // layout_interleaved or layout_split
    int32_t rank;           // transform dimensions, 0 to 3
    dim_record dims[max_rank];
    uint32_t r2r_kinds[max_rank];
    int32_t howmany_rank; // batch dimensions, 0 to 3
    dim_record howmany_dims[max_rank];
    void* in;
    void* in_imag;
    void* out;
    void* out_imag;
    // Plan.
    execute_routine execute;
    execute_split_routine execute_split;
    const char* name;
    void* buffer;
    uint64_t buffer_size;
    void* table;
    uint64_t table_size;
    uint32_t owns_table;
    uint32_t child_count;
    plan_record* children;
    uint64_t thread_count; // copied from the global count at planning, inherited by children
};

using solve_routine = uint32_t (*)(plan_record* plan);

struct solver_row {
    solve_routine solve;
    const char* name;
};

// The registry rows in planning order, ending with a row of two nulls.
extern const solver_row solver_registry[];

// Plans p with the first accepting registry row: 0 when planned, -1 when no row accepts or
// one refuses.
int plan_problem(plan_record* p);

// Releases the plan part of p (children depth first, buffer, owned table), keeps the problem.
void reset_plan(plan_record* p);
// reset_plan, then frees the record itself.
void destroy_plan_record(plan_record* p);

// A new zero-filled record holding a copy of the parent's problem, or null.
plan_record* new_child_plan(const plan_record* parent);
// count zero-filled records in one block, or null when count < 1 or allocation fails.
plan_record* alloc_plan_records(int count);
void copy_problem(const plan_record* src, plan_record* dst);
void copy_dims(dim_record* dst, const dim_record* src, int count);
void copy_kinds(uint32_t* dst, const uint32_t* src, int count);

// What a record without batch dimensions holds: one transform, whose distances never step.
inline constexpr dim_record single_transform = {1, 1, 1};
// Removes the first batch dimension of c; the vacated last slot holds single_transform, so a
// stale count cannot be read from it.
void drop_first_howmany_dim(plan_record* c);
// The first batch dimension, single_transform for a record without one: slot 0 of such a
// record may still hold a count from before a dimension was dropped, so it is never read.
dim_record first_howmany_dim(const plan_record* p);

// Transforms side by side: transform j starts one element after transform j - 1, on both sides.
bool is_interleaved_batch(const plan_record* p);
// One batch of exactly two interleaved transforms of a 7-smooth length: the single-precision
// one-dimensional kernels take such a pair whole, as one transform of alternating elements.
bool is_interleaved_pair(const plan_record* p);

// ---- What solvers share --------------------------------------------------------------------

// Runs a planned child from in to out.
inline void execute_child(const plan_record* child, void* in, void* out) {
    child->execute(child, in, out);
}

// Gives p `count` children holding copies of its problem, lets edit(child, i) turn each into
// its subproblem, and plans them in order: solve_accepted when all plan, solve_declined
// otherwise (the planner releases what was allocated). A solver reads as a table of children:
//   return plan_children(p, 2, [&](plan_record& c, int i) { ... });
template <class Edit> uint32_t plan_children(plan_record* p, int count, Edit edit) {
    p->children = alloc_plan_records(count);
    if (p->children == nullptr) return solve_declined;
    p->child_count = static_cast<uint32_t>(count);
    for (int i = 0; i < count; ++i) {
        copy_problem(p, &p->children[i]);
        edit(p->children[i], i);
    }
    for (int i = 0; i < count; ++i)
        if (plan_problem(&p->children[i]) != 0) return solve_declined;
    return solve_accepted;
}

// An execute routine with the name recorded beside it, which the plan printer maps to the
// solver that set it.
struct named_routine {
    execute_routine execute;
    const char* name;
};
struct named_split_routine {
    execute_split_routine execute_split;
    const char* name;
};
// A routine named after itself, so the name cannot belong to another function.
#define QTX_ROUTINE(fn) (::qtx::QTX_ENGINE::named_routine{fn, #fn})
#define QTX_SPLIT_ROUTINE(fn) (::qtx::QTX_ENGINE::named_split_routine{fn, #fn})

inline void set_execute(plan_record* p, named_routine r) {
    p->execute = r.execute;
    p->name = r.name;
}
// Split plans enter through execute_split_forward, which adds the stored imaginary parts.
void set_execute(plan_record* p, named_split_routine r);

// Bytes of count complex values, 0 when they cannot be addressed.
uint64_t complex_array_bytes(uint64_t count);
// Attach a zero-filled work buffer or owned table of `bytes` (> 0) to p; false when bytes is 0
// or the allocation fails.
bool attach_buffer(plan_record* p, uint64_t bytes);
bool attach_table(plan_record* p, uint64_t bytes);

// Stores exp(2πi·t/n) as one complex value at `at`.
void store_root(real* at, int64_t t, uint64_t n);

// 64-byte aligned, zero-filled allocation with the base address stored just below the block;
// null when the allocation fails or bytes + header would overflow.
void* aligned_calloc(size_t bytes);
void aligned_free(void* block);

// True when n >= 2 has a prime factor above 7.
bool has_factor_above_7(uint64_t n);

// Bytes per input and output element of a problem kind.
void element_sizes(uint32_t kind, size_t* in_bytes, size_t* out_bytes);

void noop_execute(const plan_record* plan, void* in, void* out);
// execute of every split plan: forwards to execute_split with the stored imaginary parts.
void execute_split_forward(const plan_record* plan, void* in, void* out);

} // namespace qtx::QTX_ENGINE
