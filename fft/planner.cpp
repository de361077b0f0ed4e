#include "fft/planner.hpp"

#include "fft/kernel_set.hpp"
#include "fft/memory.hpp"
#include "fft/roots.hpp"
#include "fft/solvers/solvers.hpp"

#include <cstring>
#include <initializer_list>

namespace qtx::QTX_ENGINE {

// A row named after its solver, so that it cannot name another function than it calls.
#define QTX_SOLVER_ROW(fn)                                                                         \
    { fn, #fn }
// A row whose solver inlines kernels: the active kernel set plans it.
#define QTX_SET_SOLVER_ROW(fn)                                                                     \
    { QTX_SET_SOLVER(fn), #fn }

// Special cases stand before general ones, batch and layout adaptors before the transforms
// they reduce to: the first row that accepts a problem plans it.
const solver_row solver_registry[] = {
    QTX_SOLVER_ROW(solve_problem_dft_split),
    QTX_SOLVER_ROW(solve_problem_dft_many_split),
    QTX_SOLVER_ROW(solve_problem_rearrange_inplace),
    QTX_SOLVER_ROW(solve_problem_dft_many_multithread),
    QTX_SOLVER_ROW(solve_problem_dft_many_transpose),
    QTX_SOLVER_ROW(solve_problem_dft_many_post_transpose),
#if defined(QTX_FFT_DOUBLE)
    QTX_SOLVER_ROW(solve_problem_r2c_direct),
    QTX_SOLVER_ROW(solve_problem_c2r_direct),
#else
    QTX_SOLVER_ROW(solve_problem_dft_many_parallel),
#endif
    QTX_SOLVER_ROW(solve_problem_dft_many),
    QTX_SET_SOLVER_ROW(solve_problem_dft_small_prime),
    QTX_SET_SOLVER_ROW(solve_problem_c2c_1d_prime),
    QTX_SOLVER_ROW(solve_problem_c2c_1d_large),
    QTX_SOLVER_ROW(solve_problem_dft_direct),
    QTX_SOLVER_ROW(solve_problem_c2c_1d),
    QTX_SET_SOLVER_ROW(solve_problem_r2c_1d),
    QTX_SET_SOLVER_ROW(solve_problem_c2r_1d),
    QTX_SET_SOLVER_ROW(solve_problem_r2r_1d),
    QTX_SOLVER_ROW(solve_problem_multidimension),
    QTX_SOLVER_ROW(solve_problem_c2r_multidimension),
    QTX_SOLVER_ROW(solve_problem_rearrange_outplace),
    QTX_SOLVER_ROW(solve_problem_rotate),
    QTX_SOLVER_ROW(solve_problem_transpose_rotate),
    QTX_SOLVER_ROW(solve_problem_dft_many_transpose_rotate),
    {nullptr, nullptr},
};

namespace {

// Split problems go only to the rows that interleave them: every other solver reads and
// writes a single array per side.
bool row_takes_layout(const solver_row& row, const plan_record* p) {
    if (p->complex_layout != layout_split) return true;
    return row.solve == solve_problem_dft_split || row.solve == solve_problem_dft_many_split;
}

} // namespace

int plan_problem(plan_record* p) {
    reset_plan(p);
    // A batch of one is no batch; inside a deeper batch a count of 1 stays, and so does the
    // batch of a rank-0 problem, which is all the problem moves.
    if (p->howmany_rank == 1 && p->howmany_dims[0].n == 1 && p->rank > 0) p->howmany_rank = 0;
    if (p->rank > 0 && p->dims[0].n == 0) {
        p->execute = noop_execute;
        return 0;
    }
    // Every row gets the record as it was given: a declined row may have changed the problem
    // part or set plan fields before declining, and a later row must see none of it.
    const plan_record given = *p;
    for (const solver_row* row = solver_registry; row->solve != nullptr; ++row) {
        if (!row_takes_layout(*row, p)) continue;
        const uint32_t status = row->solve(p);
        if (status == solve_accepted) return 0;
        reset_plan(p);
        *p = given;
        if (status == solve_refused) return -1;
    }
    return -1;
}

void reset_plan(plan_record* p) {
    if (p->children != nullptr) {
        for (uint32_t i = 0; i < p->child_count; ++i)
            reset_plan(&p->children[i]);
        engine_free(p->children);
    }
    p->child_count = 0;
    p->children = nullptr;
    aligned_free(p->buffer);
    p->buffer = nullptr;
    p->buffer_size = 0;
    // A table lent by the parent is part of the problem and stays.
    if (p->owns_table != 0) {
        aligned_free(p->table);
        p->table = nullptr;
        p->table_size = 0;
        p->owns_table = 0;
    }
    p->execute = nullptr;
    p->execute_split = nullptr;
    p->name = nullptr;
}

void destroy_plan_record(plan_record* p) {
    reset_plan(p);
    engine_free(p);
}

void copy_dims(dim_record* dst, const dim_record* src, int count) {
    for (int i = 0; i < count; ++i)
        dst[i] = src[i];
}

void drop_first_howmany_dim(plan_record* c) {
    c->howmany_rank -= 1;
    copy_dims(c->howmany_dims, c->howmany_dims + 1, c->howmany_rank);
    c->howmany_dims[c->howmany_rank] = single_transform;
}

dim_record first_howmany_dim(const plan_record* p) {
    return p->howmany_rank >= 1 ? p->howmany_dims[0] : single_transform;
}

bool is_interleaved_batch(const plan_record* p) {
    const dim_record batch = first_howmany_dim(p);
    return batch.is == 1 && batch.os == 1;
}

bool is_interleaved_pair(const plan_record* p) {
    return p->rank == 1 && p->howmany_rank == 1 && p->howmany_dims[0].n == 2 &&
           is_interleaved_batch(p) && !has_factor_above_7(static_cast<uint64_t>(p->dims[0].n));
}

void copy_kinds(uint32_t* dst, const uint32_t* src, int count) {
    for (int i = 0; i < count; ++i)
        dst[i] = src[i];
}

namespace {

// Clamps a stored rank to the slots that exist, so a damaged record cannot overrun them.
int slots_of(int32_t rank) {
    return rank < 0 ? 0 : (rank > max_rank ? max_rank : rank);
}

} // namespace

void copy_problem(const plan_record* src, plan_record* dst) {
    dst->kind = src->kind;
    dst->sign = src->sign;
    dst->complex_layout = src->complex_layout;
    dst->rank = src->rank;
    copy_dims(dst->dims, src->dims, slots_of(src->rank));
    copy_kinds(dst->r2r_kinds, src->r2r_kinds, slots_of(src->rank));
    dst->howmany_rank = src->howmany_rank;
    copy_dims(dst->howmany_dims, src->howmany_dims, slots_of(src->howmany_rank));
    dst->in = src->in;
    dst->in_imag = src->in_imag;
    dst->out = src->out;
    dst->out_imag = src->out_imag;
    dst->thread_count = src->thread_count;
}

plan_record* new_child_plan(const plan_record* parent) {
    auto* child = static_cast<plan_record*>(engine_calloc(1, sizeof(plan_record)));
    if (child != nullptr) copy_problem(parent, child);
    return child;
}

plan_record* alloc_plan_records(int count) {
    if (count < 1) return nullptr;
    return static_cast<plan_record*>(
        engine_calloc(static_cast<size_t>(count), sizeof(plan_record)));
}

namespace {

constexpr size_t alignment = 64;
// Room for the alignment step (1 to 64 bytes) and the stored base address.
constexpr size_t aligned_overhead = 72;

} // namespace

void* aligned_calloc(size_t bytes) {
    size_t total = 0;
    if (__builtin_add_overflow(bytes, aligned_overhead, &total)) return nullptr;
    void* base = engine_calloc(1, total);
    if (base == nullptr) return nullptr;
    const uintptr_t block = (reinterpret_cast<uintptr_t>(base) + alignment) & ~(alignment - 1);
    std::memcpy(reinterpret_cast<void*>(block - sizeof(void*)), &base, sizeof(void*));
    return reinterpret_cast<void*>(block);
}

void aligned_free(void* block) {
    if (block == nullptr) return;
    void* base = nullptr;
    const uintptr_t address = reinterpret_cast<uintptr_t>(block);
    std::memcpy(&base, reinterpret_cast<void*>(address - sizeof(void*)), sizeof(void*));
    const uintptr_t stored = reinterpret_cast<uintptr_t>(base);
    // Only a base 1 to 72 bytes below the block can have come from aligned_calloc.
    if (stored < address && address - stored <= aligned_overhead) engine_free(base);
}

bool has_factor_above_7(uint64_t n) {
    if (n < 2) return false;
    for (uint64_t p : {2u, 3u, 5u, 7u})
        while (n % p == 0)
            n /= p;
    return n > 1;
}

void element_sizes(uint32_t kind, size_t* in_bytes, size_t* out_bytes) {
    constexpr size_t r = sizeof(real);
    constexpr size_t c = complex_bytes;
    switch (kind) {
    case kind_r2c:
        *in_bytes = r, *out_bytes = c;
        break;
    case kind_r2r:
        *in_bytes = r, *out_bytes = r;
        break;
    case kind_c2r:
        *in_bytes = c, *out_bytes = r;
        break;
    default:
        *in_bytes = c, *out_bytes = c;
        break;
    }
}

void noop_execute(const plan_record*, void*, void*) {}

void execute_split_forward(const plan_record* plan, void* in, void* out) {
    plan->execute_split(plan, in, plan->in_imag, out, plan->out_imag);
}

void set_execute(plan_record* p, named_split_routine r) {
    p->execute = execute_split_forward;
    p->execute_split = r.execute_split;
    p->name = r.name;
}

uint64_t complex_array_bytes(uint64_t count) {
    uint64_t bytes = 0;
    if (__builtin_mul_overflow(count, uint64_t{complex_bytes}, &bytes)) return 0;
    return bytes;
}

namespace {

bool attach_block(void** block, uint64_t* size, uint64_t bytes) {
    if (bytes == 0) return false;
    *block = aligned_calloc(bytes);
    if (*block == nullptr) return false;
    *size = bytes;
    return true;
}

} // namespace

bool attach_buffer(plan_record* p, uint64_t bytes) {
    return attach_block(&p->buffer, &p->buffer_size, bytes);
}

bool attach_table(plan_record* p, uint64_t bytes) {
    if (!attach_block(&p->table, &p->table_size, bytes)) return false;
    p->owns_table = 1;
    return true;
}

void store_root(real* at, int64_t t, uint64_t n) {
    const root_value w = unit_root(t, static_cast<int64_t>(n));
    at[0] = static_cast<real>(w.re);
    at[1] = static_cast<real>(w.im);
}

} // namespace qtx::QTX_ENGINE
