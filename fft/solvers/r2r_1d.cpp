// The real-to-real solver: chooses each length's reduction, fills the W, T and U table regions
// and plans the one complex child; the execute routines live with their kinds.
//
// The reductions through a child of about n/2 (n/4 twice for kinds 6 and 10) need an even n
// (n divisible by 4 for kinds 6 and 10). Every other length runs through a complex child of
// length n: kinds 0 to 2 as a plain real transform, kinds 4, 5, 8 and 9 by the same shuffle and
// rotation as the even lengths, and kinds 6 and 10 as the complex sequence whose real and
// imaginary parts are the shuffled cos- and sin-weighted inputs of a cosine-2 and a sine-2
// pair, which y[k] = 2·Re(conj T[k]·W′[k]) recombines.
#include "fft/solvers/r2r_1d.hpp"

#include <numbers>

#include "fft/problem.hpp"
#include "fft/solvers/r2c_1d.hpp"
#include "fft/solvers/r2r_kinds.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {
namespace {

struct kind_traits {
    int64_t child_sign;      // child sign of the half-length, extension and fold paths
    int64_t full_child_sign; // child sign of the full-length path
    bool rotates;            // kinds with a T region
    bool quarter_shifted;    // kinds 6 and 10: a U region
    double length_one;       // y[0] = length_one·x[0] at n = 1 (0: the kind has no length 1)
};

constexpr double sqrt2 = std::numbers::sqrt2;
constexpr kind_traits traits[r2r_kind_count] = {
    {-1, -1, false, false, 1},   // 0 halfcomplex
    {+1, +1, false, false, 1},   // 1 from halfcomplex
    {-1, -1, false, false, 1},   // 2 Hartley
    {-1, -1, false, false, 0},   // 3 cosine 1: its 2(n − 1) extension is empty
    {+1, +1, true, false, 1},    // 4 cosine 3
    {-1, +1, true, false, 2},    // 5 cosine 2
    {+1, +1, true, true, sqrt2}, // 6 cosine 4
    {-1, -1, false, false, 2},   // 7 sine 1
    {+1, +1, true, false, 1},    // 8 sine 3
    {-1, +1, true, false, 2},    // 9 sine 2
    {+1, +1, true, true, sqrt2}, // 10 sine 4
};

int64_t child_sign_of(uint32_t kind, uint64_t n) {
    return path_of(kind, n) == r2r_path::full_length ? traits[kind].full_child_sign
                                                     : traits[kind].child_sign;
}

// Kinds 3 and 7 extend to 2L reals, L complex values; the others need n + 2 complex values.
uint64_t buffer_values(uint32_t kind, uint64_t n) {
    return path_of(kind, n) == r2r_path::extension ? 2 * child_length_of(kind, n) : n + 2;
}

// The buffer, the tables and one value per point of the child: the least the plan holds,
// checked before the child plans its own tables.
bool plan_can_exist(uint32_t kind, uint64_t n) {
    const r2r_regions r = regions_of(kind, n);
    const uint64_t bytes =
        complex_array_bytes(buffer_values(kind, n) + r.w + r.t + r.u + child_length_of(kind, n));
    return bytes != 0 && memory_can_exist(bytes);
}

void fill_regions(uint32_t kind, uint64_t n, real* table) {
    const r2r_regions r = regions_of(kind, n);
    if (r.w > 0) fill_half_twiddles(table, child_length_of(kind, n));
    real* T = table + 2 * r.w;
    for (uint64_t j = 0; j < r.t; ++j)
        store_root(T + 2 * j, -static_cast<int64_t>(j), 4 * r.t);
    real* U = T + 2 * r.t;
    for (uint64_t j = 0; j < r.u; ++j)
        store_root(U + 2 * j, static_cast<int64_t>(2 * j + 1), 8 * n);
}

void execute_r2r_length_one(const plan_record* plan, void* in, void* out) {
    const auto factor = static_cast<real>(length_one_factor(plan->r2r_kinds[0]));
    *static_cast<real*>(out) = factor * *static_cast<const real*>(in);
}

// A single value is only scaled; no table, buffer or child.
uint32_t solve_length_one(plan_record* p) {
    if (length_one_factor(p->r2r_kinds[0]) == 0) return solve_declined;
    set_execute(p, QTX_ROUTINE(execute_r2r_length_one));
    return solve_accepted;
}

} // namespace

double length_one_factor(uint32_t kind) {
    return kind < r2r_kind_count ? traits[kind].length_one : 0;
}

r2r_path path_of(uint32_t kind, uint64_t n) {
    switch (kind) {
    case r2r_cosine_1:
    case r2r_sine_1:
        return r2r_path::extension;
    case r2r_cosine_4:
    case r2r_sine_4:
        return n % 4 == 0 ? r2r_path::fold : r2r_path::full_length;
    default:
        return n % 2 == 0 ? r2r_path::half_length : r2r_path::full_length;
    }
}

uint64_t child_length_of(uint32_t kind, uint64_t n) {
    switch (path_of(kind, n)) {
    case r2r_path::extension:
        return kind == r2r_cosine_1 ? n - 1 : n + 1;
    case r2r_path::fold:
        return n / 4;
    case r2r_path::half_length:
        return n / 2;
    default:
        return n;
    }
}

r2r_regions regions_of(uint32_t kind, uint64_t n) {
    const r2r_path path = path_of(kind, n);
    const uint64_t w = path == r2r_path::full_length ? 0 : child_length_of(kind, n);
    // The fold runs two rotations and recombinations of length n/2.
    const uint64_t rotated = path == r2r_path::fold ? n / 2 : n;
    return {w, traits[kind].rotates ? rotated : 0, traits[kind].quarter_shifted ? rotated : 0};
}

r2r_view view_of(const plan_record* plan) {
    const uint64_t n = static_cast<uint64_t>(plan->dims[0].n);
    const r2r_regions r = regions_of(plan->r2r_kinds[0], n);
    const auto* W = static_cast<const real*>(plan->table);
    const real* T = W + 2 * r.w;
    const real* U = T + 2 * r.t;
    return {n,
            static_cast<uint64_t>(plan->children->dims[0].n),
            W,
            T,
            U,
            static_cast<real*>(plan->buffer),
            plan->children};
}

const execute_routine g_r2r_plan_solver_func[r2r_kind_count] = {
    execute_r2r_halfcomplex, execute_r2r_from_halfcomplex, execute_r2r_hartley,
    execute_r2r_cosine_1,    execute_r2r_cosine_3,         execute_r2r_cosine_2,
    execute_r2r_cosine_4,    execute_r2r_sine_1,           execute_r2r_sine_3,
    execute_r2r_sine_2,      execute_r2r_sine_4,
};

uint32_t solve_problem_r2r_1d(plan_record* p) {
    if (p->kind != kind_r2r || p->howmany_rank != 0 || p->rank != 1) return solve_declined;
    if (p->dims[0].n < 1 || p->r2r_kinds[0] >= r2r_kind_count) return solve_declined;
    const uint32_t kind = p->r2r_kinds[0];
    const uint64_t n = static_cast<uint64_t>(p->dims[0].n);
    if (n == 1) return solve_length_one(p);

    if (!plan_can_exist(kind, n)) return solve_declined;
    // The child first: a length it refuses costs no table.
    if (plan_complex_child(p, child_length_of(kind, n), child_sign_of(kind, n)) != solve_accepted)
        return solve_declined;
    if (!attach_buffer(p, complex_array_bytes(buffer_values(kind, n)))) return solve_declined;
    const r2r_regions r = regions_of(kind, n);
    if (r.w + r.t + r.u > 0) {
        if (!attach_table(p, complex_array_bytes(r.w + r.t + r.u))) return solve_declined;
        fill_regions(kind, n, static_cast<real*>(p->table));
    }
    // Every kind's routine is recorded under the name of the table it comes from.
    set_execute(p, {g_r2r_plan_solver_func[kind], "g_r2r_plan_solver_func[k]"});
    return solve_accepted;
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
