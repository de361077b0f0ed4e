// Why a request gets no plan. The planners say nothing but a null plan, so the rules they
// enforce (fft/api_plan.cpp, fft/problem.cpp) are checked again here in the order they apply:
// the arguments of the interface, then the sizes problem_fits allows, and when all hold, the
// problem is offered to each registry row as plan_problem offers it, to report every verdict.
#include <cinttypes>
#include <climits>
#include <cstdarg>

#include "fft/problem.hpp"
#include "fft/solvers/split.hpp"
#include "tools/plan_call.hpp"
#include "tools/plan_engine.hpp"

namespace qtx::QTX_ENGINE {
namespace {

struct reason {
    char text[160] = {};
    bool found = false;
};

bool say(reason* why, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(why->text, sizeof why->text, format, args);
    va_end(args);
    return why->found = true;
}

bool below_one(reason* why, const char* where, const char* what, int64_t value) {
    return value < 1 && say(why, "%s: %s %" PRId64 " is below 1", where, what, value);
}

bool check_kinds(const plan_request& r, reason* why) {
    if (r.family != transform_family::r2r) return false;
    for (int d = 0; d < r.rank; ++d)
        if (r2r_kind_name(r.kinds[d]) == nullptr)
            return say(why, "dimension %d: r2r kind %d is not a code 0..10", d, r.kinds[d]);
    return false;
}

bool check_dim(const char* where, const layout_dim& d, const char* count, reason* why) {
    return below_one(why, where, count, d.n) || below_one(why, where, "input stride", d.is) ||
           below_one(why, where, "output stride", d.os);
}

bool check_layout(bool fits, reason* why) {
    return !fits && say(why, "the packed outer strides or batch distances overflow 64 bits");
}

// describe_guru: kinds, then each dimension and the batch.
bool check_guru(const plan_request& r, const request_layout& l, bool fits, reason* why) {
    if (check_layout(fits, why) || check_kinds(r, why)) return true;
    char where[32];
    for (int d = 0; d < r.rank; ++d) {
        std::snprintf(where, sizeof where, "dimension %d", d);
        if (check_dim(where, l.dims[d], "length", why)) return true;
    }
    return r.batched && check_dim("batch", l.batch, "howmany", why);
}

// describe_many: valid_many, the kinds, then the packed strides.
bool check_many(const plan_request& r, const request_layout& l, bool fits, reason* why) {
    if (below_one(why, "batch", "howmany", r.howmany)) return true;
    char where[32];
    for (int d = 0; d < r.rank; ++d) {
        std::snprintf(where, sizeof where, "dimension %d", d);
        if (below_one(why, where, "length", r.n[d])) return true;
    }
    if (below_one(why, "last dimension", "input stride", r.in_stride) ||
        below_one(why, "last dimension", "output stride", r.out_stride))
        return true;
    if (!fits && !r.dist_given) return check_layout(fits, why);
    if (r.howmany > 1 && (below_one(why, "batch", "input distance", l.batch.is) ||
                          below_one(why, "batch", "output distance", l.batch.os)))
        return true;
    if (check_kinds(r, why) || check_layout(fits, why)) return true;
    const bool dist_fits = l.batch.is <= INT_MAX && l.batch.os <= INT_MAX;
    return r.howmany > 1 && !dist_fits &&
           say(why, "the packed batch distances do not fit the many planner's int");
}

// Largest element index one side reaches, as side_extent_fits computes it; false on overflow.
bool side_fits(const plan_record& p, bool input) {
    int64_t extent = 0, reach = 0, bytes = 0;
    const dim_record* sets[] = {p.dims, p.howmany_dims};
    const int counts[] = {p.rank, p.howmany_rank};
    for (int s = 0; s < 2; ++s)
        for (int i = 0; i < counts[s]; ++i)
            if (__builtin_mul_overflow(sets[s][i].n - 1, input ? sets[s][i].is : sets[s][i].os,
                                       &reach) ||
                __builtin_add_overflow(extent, reach, &extent))
                return false;
    size_t in_bytes = 0, out_bytes = 0;
    element_sizes(p.kind, &in_bytes, &out_bytes);
    return !__builtin_mul_overflow(extent + 1, static_cast<int64_t>(input ? in_bytes : out_bytes),
                                   &bytes);
}

// problem_fits, rule by rule.
bool check_fits(const plan_record& p, reason* why) {
    int64_t total = 1, longest = 0;
    bool overflow = false;
    for (int i = 0; i < p.rank; ++i) {
        overflow = overflow || __builtin_mul_overflow(total, p.dims[i].n, &total);
        longest = p.dims[i].n > longest ? p.dims[i].n : longest;
    }
    uint64_t table = 0;
    if (!overflow &&
        (__builtin_mul_overflow(static_cast<uint64_t>(longest), uint64_t{complex_bytes}, &table) ||
         !memory_can_exist(table)))
        return say(why, "a table for length %" PRId64 " needs more memory than this machine has",
                   longest);
    for (int i = 0; i < p.howmany_rank; ++i)
        overflow = overflow || __builtin_mul_overflow(total, p.howmany_dims[i].n, &total);
    overflow = overflow || __builtin_mul_overflow(total, int64_t{4 * complex_bytes}, &total);
    if (overflow) return say(why, "the element count overflows 64-bit sizes");
    if (!side_fits(p, true)) return say(why, "the input array's extent overflows 64-bit sizes");
    if (!side_fits(p, false)) return say(why, "the output array's extent overflows 64-bit sizes");
    return !problem_fits(p) && say(why, "problem_fits refuses it for a reason not known here");
}

// As plan_problem: split problems go only to the split rows.
bool row_takes(const solver_row& row, const plan_record& p) {
    return p.complex_layout != layout_split || row.solve == solve_problem_dft_split ||
           row.solve == solve_problem_dft_many_split;
}

const char* verdict(uint32_t status) {
    if (status == solve_accepted) return "accepts it when offered again";
    return status == solve_refused ? "refuses it, which ends planning" : "declines";
}

// Offers p to each row in registry order, restoring it between rows, and prints each verdict.
void offer_to_rows(plan_record* p, std::FILE* out) {
    if (p->howmany_rank == 1 && p->howmany_dims[0].n == 1 && p->rank > 0) p->howmany_rank = 0;
    std::fprintf(out, "no plan: no solver accepts the problem; the registry rows in order:\n");
    const plan_record given = *p;
    for (const solver_row* row = solver_registry; row->solve != nullptr; ++row) {
        if (!row_takes(*row, given)) {
            std::fprintf(out, "  %s: skipped (interleaved data only)\n", row->name);
            continue;
        }
        const uint32_t status = row->solve(p);
        reset_plan(p);
        *p = given;
        std::fprintf(out, "  %s: %s\n", row->name, verdict(status));
        if (status != solve_declined) return;
    }
}

} // namespace

void explain_refusal(const plan_request& request, std::FILE* out) {
    request_layout layout{};
    const bool fits = layout_of(request, &layout);
    reason why;
    if (request.many ? check_many(request, layout, fits, &why)
                     : check_guru(request, layout, fits, &why)) {
        std::fprintf(out, "no plan: %s\n", why.text);
        return;
    }
    const request_arrays arrays = allocate_arrays(request);
    QTX_PUBLIC(plan_with_nthreads)(request.threads);
    plan_record* p = describe_request(request, arrays, layout);
    if (p == nullptr)
        std::fprintf(out, "no plan: the planner's arguments break a rule not known here\n");
    else if (check_fits(*p, &why))
        std::fprintf(out, "no plan: %s\n", why.text);
    else
        offer_to_rows(p, out);
    if (p != nullptr) destroy_plan_record(p);
    free_arrays(arrays);
}

} // namespace qtx::QTX_ENGINE
