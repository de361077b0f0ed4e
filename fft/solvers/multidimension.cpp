// A rank-r problem (r = 2 or 3) runs as two children. For complex, real-to-complex and
// real-to-real data the inner pass (dimensions d1 … d(r-1), batched over d0) goes from the
// input to the output, then the outer pass (d0, batched over the inner dimensions) runs in
// place on the output. Complex-to-real data runs the other way round, the complex outer pass
// first, in place when the output is the padded input array and into a packed work buffer
// otherwise.
#include "fft/solvers/multidimension.hpp"

#include "fft/solvers/data_movement.hpp"

namespace qtx::QTX_ENGINE {
namespace {

// Complex values of the innermost dimension of a real transform of length n.
int64_t half_complex_count(int64_t n) {
    return n / 2 + 1;
}

bool is_multidimensional(const plan_record* p) {
    return p->howmany_rank == 0 && p->rank >= 2 && p->rank <= max_rank;
}

// The children: the inner pass is child 0, the outer pass child 1.
constexpr int inner_child = 0;
constexpr int passes = 2;

// The inner pass: dimensions d1 … d(r-1) (with their kinds) for each index of d0.
void make_inner_pass(const plan_record* p, plan_record& c) {
    const int r = p->rank;
    c.rank = r - 1;
    copy_dims(c.dims, p->dims + 1, r - 1);
    copy_kinds(c.r2r_kinds, p->r2r_kinds + 1, r - 1);
    c.howmany_rank = 1;
    c.howmany_dims[0] = p->dims[0];
}

// The outer pass: d0 for each index of d1 … d(r-1), every dimension made by `dim_of`.
template <class Dim> void make_outer_pass(const plan_record* p, plan_record& c, Dim dim_of) {
    const int r = p->rank;
    c.rank = 1;
    c.dims[0] = dim_of(p->dims[0], 0);
    c.howmany_rank = r - 1;
    for (int i = 1; i < r; ++i)
        c.howmany_dims[i - 1] = dim_of(p->dims[i], i);
}

// ---- Complex-to-real -------------------------------------------------------------------

// The complex intermediate may live in the output array only in place, where the padded real
// rows belong to the transform (out of place the padding is the caller's), and only when the
// input already has that layout: innermost strides 1, every other output stride twice the
// input one, and each real row room for ⌊n/2⌋ + 1 complex values. Both passes then run where
// their data lies.
bool intermediate_fits_output(const plan_record* p) {
    if (p->in != p->out) return false;
    const int r = p->rank;
    const dim_record& inner = p->dims[r - 1];
    if (inner.is != 1 || inner.os != 1) return false;
    const int64_t row_reals = reals_per_complex * half_complex_count(inner.n);
    for (int i = 0; i < r - 1; ++i)
        if (p->dims[i].os != reals_per_complex * p->dims[i].is || p->dims[i].os < row_reals)
            return false;
    return true;
}

// Packed row-major strides of the intermediate: innermost 1, outward the product of the
// inner counts, the innermost count being ⌊n/2⌋ + 1.
void packed_strides(const plan_record* p, int64_t strides[max_rank], uint64_t* elements) {
    const int r = p->rank;
    uint64_t step = 1;
    for (int i = r - 1; i >= 0; --i) {
        strides[i] = static_cast<int64_t>(step);
        const int64_t count = i == r - 1 ? half_complex_count(p->dims[i].n) : p->dims[i].n;
        if (__builtin_mul_overflow(step, static_cast<uint64_t>(count), &step)) step = 0;
    }
    *elements = step;
}

// Child 1 (complex, outer) writes the intermediate with `out_strides`; child 0 (complex-to-
// real, inner) reads it with `in_strides` (both indexed by dimension).
uint32_t plan_c2r_passes(plan_record* p, const int64_t out_strides[max_rank],
                         const int64_t in_strides[max_rank], void* intermediate) {
    const int r = p->rank;
    return plan_children(p, passes, [&](plan_record& c, int i) {
        if (i == inner_child) {
            make_inner_pass(p, c);
            c.kind = kind_c2r;
            for (int d = 1; d < r; ++d)
                c.dims[d - 1].is = in_strides[d];
            c.howmany_dims[0].is = in_strides[0];
            c.in = intermediate;
        } else {
            make_outer_pass(p, c, [&](const dim_record& d, int k) {
                const int64_t n = k == r - 1 ? half_complex_count(d.n) : d.n;
                return dim_record{.n = n, .is = d.is, .os = out_strides[k]};
            });
            c.kind = kind_c2c;
            c.out = intermediate;
        }
    });
}

} // namespace

uint32_t solve_problem_multidimension(plan_record* p) {
    if (p->kind == kind_c2r || !is_multidimensional(p)) return solve_declined;
    // The inner pass would overwrite input that the outer pass has not read.
    if (in_place_overwrites_input(p)) return solve_declined;
    const bool real_input = p->kind == kind_r2c;
    const int last = p->rank - 1;
    set_execute(p, QTX_ROUTINE(execute_multidimension));
    return plan_children(p, passes, [&](plan_record& c, int i) {
        if (i == inner_child) {
            make_inner_pass(p, c);
            return;
        }
        make_outer_pass(p, c, [&](const dim_record& d, int k) {
            const int64_t n = real_input && k == last ? half_complex_count(d.n) : d.n;
            return dim_record{.n = n, .is = d.os, .os = d.os};
        });
        if (real_input) c.kind = kind_c2c;
        c.in = p->out;
    });
}

uint32_t solve_problem_c2r_multidimension(plan_record* p) {
    if (p->kind != kind_c2r || !is_multidimensional(p)) return solve_declined;
    const int r = p->rank;
    int64_t out_strides[max_rank] = {}, in_strides[max_rank] = {};
    if (intermediate_fits_output(p)) {
        // The intermediate goes into the output array: its real strides halve into complex ones.
        for (int i = 0; i < r; ++i)
            out_strides[i] = in_strides[i] = i == r - 1 ? 1 : p->dims[i].os / reals_per_complex;
        set_execute(p, QTX_ROUTINE(execute_c2r_multidimension));
        return plan_c2r_passes(p, out_strides, in_strides, p->out);
    }
    uint64_t elements = 0;
    packed_strides(p, out_strides, &elements);
    if (elements == 0 || !attach_buffer(p, complex_array_bytes(elements))) return solve_declined;
    set_execute(p, QTX_ROUTINE(execute_c2r_multidimension_buffered));
    return plan_c2r_passes(p, out_strides, out_strides, p->buffer);
}

void execute_multidimension(const plan_record* plan, void* in, void* out) {
    execute_child(&plan->children[0], in, out);
    execute_child(&plan->children[1], out, out);
}

void execute_c2r_multidimension(const plan_record* plan, void* in, void* out) {
    execute_child(&plan->children[1], in, out);
    execute_child(&plan->children[0], out, out);
}

void execute_c2r_multidimension_buffered(const plan_record* plan, void* in, void* out) {
    execute_child(&plan->children[1], in, plan->buffer);
    execute_child(&plan->children[0], plan->buffer, out);
}

} // namespace qtx::QTX_ENGINE
