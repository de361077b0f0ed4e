// The general one-dimensional complex solver: factor the length into radices, build a stage
// table with the twiddles of every stage, and run the stages alternating between the output
// and a work buffer so the result lands in natural order without a reordering pass.
#include "fft/solvers/c2c_1d.hpp"

#include <algorithm>
#include <cstring>

#include "fft/kernel_set.hpp"
#include "fft/kernels/kernel_sizes.hpp"
#include "fft/kernels/stage_geometry.hpp"
#include "fft/problem.hpp"

namespace qtx::QTX_ENGINE {
namespace {

// Radix 16 is preferred only up to this length; beyond it its stages lose to smaller radices.
constexpr uint64_t radix16_limit = 8192;
// Order in which the other dedicated radices are tried (2 before 9 and 3 on purpose).
constexpr uint64_t greedy_radices[] = {12, 10, 8, 7, 6, 5, 4, 2, 9, 3, 11};

constexpr uint64_t next_radix(uint64_t remaining, uint64_t n) {
    if (remaining % 16 == 0 && n <= radix16_limit) return 16;
    for (uint64_t r : greedy_radices)
        if (remaining % r == 0) return r;
    // The smallest remaining prime factor: remaining itself when none is at most its root.
    for (uint64_t d = 13; d <= remaining / d; ++d)
        if (remaining % d == 0) return d;
    return remaining;
}

// The preset split of n when it has one, else the greedy one.
constexpr int split_into_radices(uint64_t n, uint64_t radices[max_stages]) {
    if (n == 0) return 0;
    if (const kernels::preset_factorization preset = kernels::find_preset(n, is_double);
        preset.count() > 0) {
        for (int i = 0; i < preset.count(); ++i)
            radices[i] = preset.radices[static_cast<std::size_t>(i)];
        return preset.count();
    }
    int count = 0;
    for (uint64_t remaining = n; remaining > 1 && count < max_stages; ++count) {
        radices[count] = next_radix(remaining, n);
        remaining /= radices[count];
    }
    return count;
}

// A direct kernel's passes are the stages this solver plans for its length: the direct solver
// fills their twiddles from this split.
constexpr bool splits_like_direct_kernel(kernels::direct_length d) {
    uint64_t radices[max_stages] = {};
    const int count = split_into_radices(static_cast<uint64_t>(d.n), radices);
    const bool single = d.first_radix == d.n;
    return count == (single ? 1 : 2) && radices[0] == static_cast<uint64_t>(d.first_radix);
}
static_assert(std::ranges::all_of(kernels::direct_lengths, splits_like_direct_kernel));

// The generic kernel spends r operations on each point of a radix-r stage; beyond this radix
// that outweighs what the chirp method spends on the whole transform, so no such plan is made.
constexpr uint64_t max_generic_radix = 1024;

bool has_practical_radices(const uint64_t* radices, int S) {
    for (int s = 0; s < S; ++s)
        if (radices[s] > max_generic_radix) return false;
    return true;
}

struct stage_table_view {
    uint64_t* count;
    stage_record* stages;
    real* twiddles;
};

constexpr size_t table_alignment = 64;

stage_table_view view_of(void* table, int S) {
    auto* words = static_cast<uint64_t*>(table);
    auto* stages = reinterpret_cast<stage_record*>(words + 1);
    const uintptr_t end = reinterpret_cast<uintptr_t>(stages + S);
    const uintptr_t aligned = (end + table_alignment - 1) & ~(table_alignment - 1);
    return {words, stages, reinterpret_cast<real*>(aligned)};
}

const stage_kernel_table* table_for(const plan_record* plan, stage_row pair, stage_row unit,
                                    stage_row strided) {
    const bool forward = plan->sign == -1;
    const kernel_set& kernels = active_kernel_set();
    if (is_interleaved_pair(plan)) return kernels.stage_kernels(pair, forward);
    return kernels.stage_kernels(has_unit_strides(plan) ? unit : strided, forward);
}

stage_kernel slot_of(const stage_kernel_table* table, uint64_t r) {
    if (table == nullptr || r < 1 || r > stage_kernel_slots) return nullptr;
    return table->slot[r - 1];
}

void run_stage(const stage_record& stage, const void* source, void* target) {
    stage.kernel(&stage, source, target);
}

} // namespace

int factorize(uint64_t n, uint64_t radices[max_stages]) {
    return split_into_radices(n, radices);
}

// The stage count word, the alignment step before the twiddles (at most table_alignment),
// the S stage records, and n complex values, which hold the twiddles of every stage after the
// first (n - r0 < n of them).
uint64_t stage_table_bytes(uint64_t n, int S) {
    return sizeof(uint64_t) + table_alignment + static_cast<uint64_t>(S) * sizeof(stage_record) +
           n * complex_bytes;
}

bool has_unit_strides(const plan_record* p) {
    return p->dims[0].is == 1 && p->dims[0].os == 1;
}

void fill_twiddles(real* block, root_memo& roots, uint64_t r, uint64_t P, uint64_t m,
                   int64_t sign) {
    for (uint64_t k = 0; k < P; ++k)
        for (uint64_t q = 1; q < r; ++q)
            roots.store(block + 2 * (k * (r - 1) + q - 1), sign * static_cast<int64_t>(m * k * q));
}

void fill_last_twiddles(real* block, root_memo& roots, uint64_t r, uint64_t P, uint64_t m,
                        int64_t sign) {
    if (m != 1 || !has_paired_last_twiddles(r)) {
        fill_twiddles(block, roots, r, P, m, sign);
        return;
    }
    uint64_t k = 0;
    for (; k + 1 < P; k += 2) {
        real* pair_row = block + 2 * k * (r - 1);
        for (uint64_t q = 1; q < r; ++q) {
            roots.store(pair_row + 4 * (q - 1), sign * static_cast<int64_t>(k * q));
            roots.store(pair_row + 4 * (q - 1) + 2, sign * static_cast<int64_t>((k + 1) * q));
        }
    }
    // An odd row count ends with one plain row.
    if (k < P)
        for (uint64_t q = 1; q < r; ++q)
            roots.store(block + 2 * (k * (r - 1) + q - 1), sign * static_cast<int64_t>(k * q));
}

real* fill_stage_twiddles(const plan_record* plan, root_memo& roots, real* block, bool last,
                          uint64_t r, uint64_t P, uint64_t m) {
    if (last && has_unit_strides(plan))
        fill_last_twiddles(block, roots, r, P, m, plan->sign);
    else
        fill_twiddles(block, roots, r, P, m, plan->sign);
    return block + 2 * (r - 1) * P;
}

stage_kernel first_stage_kernel(const plan_record* plan, uint64_t r) {
    return slot_of(
        table_for(plan, stage_row::first_pair, stage_row::first_unit, stage_row::first_strided), r);
}

stage_kernel middle_stage_kernel(const plan_record* plan, uint64_t r) {
    return slot_of(table_for(plan, stage_row::middle_pair, stage_row::middle, stage_row::middle),
                   r);
}

stage_kernel last_stage_kernel(const plan_record* plan, uint64_t r) {
    return slot_of(
        table_for(plan, stage_row::last_pair, stage_row::last_unit, stage_row::last_strided), r);
}

void build_stage_table(const plan_record* plan, int S, const uint64_t* radices, void* table) {
    const stage_table_view view = view_of(table, S);
    const uint64_t n = static_cast<uint64_t>(plan->dims[0].n);
    const bool pair = is_interleaved_pair(plan);
    const int64_t work_stride = pair ? 2 : 1;
    *view.count = static_cast<uint64_t>(S);
    real* cursor = view.twiddles;
    root_memo roots(static_cast<int64_t>(n), n);
    kernels::for_each_stage(
        n, {radices, static_cast<std::size_t>(S)}, [&](int s, uint64_t r, uint64_t P, uint64_t m) {
            stage_record& stage = view.stages[s];
            stage = {.kernel = nullptr,
                     .m = m,
                     .P = P,
                     .in_stride = work_stride,
                     .out_stride = work_stride,
                     .twiddles = nullptr,
                     .r = r,
                     .sign = plan->sign};
            if (s == 0) {
                stage.kernel = first_stage_kernel(plan, r);
            } else {
                stage.kernel =
                    s < S - 1 ? middle_stage_kernel(plan, r) : last_stage_kernel(plan, r);
                stage.twiddles = cursor;
                cursor = fill_stage_twiddles(plan, roots, cursor, s == S - 1, r, P, m);
            }
            if (stage.kernel == nullptr)
                stage.kernel = pair ? active_kernel_set().generic_pair_stage_kernel
                                    : active_kernel_set().generic_stage_kernel;
        });
    view.stages[0].in_stride = plan->dims[0].is;
    view.stages[S - 1].out_stride = plan->dims[0].os;
}

uint32_t solve_problem_c2c_1d(plan_record* p) {
    if (p->kind != kind_c2c) return solve_declined;
    if (p->howmany_rank > 0 && (is_double || !is_interleaved_pair(p))) return solve_declined;
    if (p->rank != 1) return solve_declined;
    const uint64_t n = static_cast<uint64_t>(p->dims[0].n);
    uint64_t radices[max_stages];
    const int S = factorize(n, radices);
    if (S == 0 || !has_practical_radices(radices, S)) return solve_declined;
    const uint64_t copies = (has_unit_strides(p) ? 1 : 2) * (p->howmany_rank > 0 ? 2 : 1);
    const uint64_t table_bytes = stage_table_bytes(n, S), buffer_bytes = copies * n * complex_bytes;
    if (!memory_can_exist(table_bytes + buffer_bytes)) return solve_declined;

    if (!attach_table(p, table_bytes)) return solve_declined;
    build_stage_table(p, S, radices, p->table);
    if (!attach_buffer(p, buffer_bytes)) return solve_declined;

    set_execute(p,
                has_unit_strides(p) ? QTX_ROUTINE(execute_1d) : QTX_ROUTINE(execute_1d_discrete));
    return solve_accepted;
}

stage_list stages_of(const plan_record* plan) {
    const auto* words = static_cast<const uint64_t*>(plan->table);
    return {static_cast<int>(words[0]), reinterpret_cast<const stage_record*>(words + 1)};
}

void execute_1d(const plan_record* plan, void* in, void* out) {
    const auto [S, stages] = stages_of(plan);
    const void* source = in;
    for (int s = 0; s < S; ++s) {
        // Stages alternate so that the last one always writes the output.
        void* target = (S - 1 - s) % 2 == 0 ? out : plan->buffer;
        run_stage(stages[s], source, target);
        source = target;
    }
}

void execute_1d_discrete(const plan_record* plan, void* in, void* out) {
    const auto [S, stages] = stages_of(plan);
    // Intermediate results stay in the two halves of the buffer, never in the caller's output.
    char* half_a = static_cast<char*>(plan->buffer);
    char* half_b = half_a + plan->buffer_size / 2;
    const void* source = in;
    for (int s = 0; s < S; ++s) {
        void* target = s == S - 1 ? out : ((S - 1 - s) % 2 == 0 ? half_a : half_b);
        run_stage(stages[s], source, target);
        source = target;
    }
}

} // namespace qtx::QTX_ENGINE
