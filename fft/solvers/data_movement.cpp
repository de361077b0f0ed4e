// Rank-0 problems move every element of a batch layout to the place the output layout names:
// transpositions when the two layouts swap their unit strides, copies otherwise, and in place
// either a square transposition or a round trip through a packed work buffer. In-place
// transforms whose output layout differs from their input layout read a copy of their input.
// The rotation problems (kinds 5 and 6) multiply by complex factors while moving.
#include "fft/solvers/data_movement.hpp"

#include <utility>

#include "fft/kernels/transpose.hpp"
#include "fft/solvers/dft_many.hpp"

namespace qtx::QTX_ENGINE {
namespace {

// ---- Problem tests ---------------------------------------------------------------------

const dim_record& howmany_dim(const plan_record* p, int i) {
    return p->howmany_dims[i];
}

// Elements of the whole batch, false when a count is negative or the bytes would overflow.
bool batch_elements(const plan_record* p, uint64_t* elements) {
    size_t in_bytes = 0, out_bytes = 0;
    element_sizes(p->kind, &in_bytes, &out_bytes);
    uint64_t total = 1, bytes = 0;
    for (int i = 0; i < p->howmany_rank; ++i) {
        if (howmany_dim(p, i).n < 0) return false;
        if (__builtin_mul_overflow(total, static_cast<uint64_t>(howmany_dim(p, i).n), &total))
            return false;
    }
    *elements = total;
    return !__builtin_mul_overflow(total, in_bytes, &bytes);
}

// Kind 0 or 3, rank 0, one to three batch dimensions with sane counts. Split complex data is not
// a run of complex elements, so it is left to the split solvers.
bool is_rearrangement(const plan_record* p) {
    if (p->kind != kind_c2c && p->kind != kind_r2r) return false;
    if (p->rank != 0 || p->howmany_rank < 1 || p->howmany_rank > max_rank) return false;
    if (p->kind == kind_c2c && p->complex_layout == layout_split) return false;
    uint64_t elements = 0;
    return batch_elements(p, &elements);
}

bool is_empty_batch(const plan_record* p) {
    uint64_t elements = 0;
    return batch_elements(p, &elements) && elements == 0;
}

// Every element stays where it is.
bool is_identity(const plan_record* p) {
    for (int i = 0; i < p->howmany_rank; ++i)
        if (howmany_dim(p, i).is != howmany_dim(p, i).os) return false;
    return true;
}

// Two batch dimensions whose unit strides swap sides: element (i, j) from i·IS0 + j to i + j·OS1.
bool is_transposition(const plan_record* p) {
    return p->howmany_rank == 2 && howmany_dim(p, 1).is == 1 && howmany_dim(p, 0).os == 1;
}

// A transposition of an N × N matrix onto itself: both sides use the same row stride, and
// rows do not overlap. Any other in-place layout goes through the work buffer.
bool is_square_in_place(const plan_record* p) {
    return is_transposition(p) && howmany_dim(p, 0).n == howmany_dim(p, 1).n &&
           howmany_dim(p, 1).os == howmany_dim(p, 0).is &&
           howmany_dim(p, 0).is >= howmany_dim(p, 0).n;
}

// True when input and output both store the batch as the same dense block: equal strides on
// both sides which, ordered, pack the counts without gaps or overlap.
bool is_one_dense_block(const plan_record* p) {
    if (!is_identity(p)) return false;
    int order[max_rank] = {};
    const int count = p->howmany_rank;
    for (int i = 0; i < count; ++i)
        order[i] = i;
    for (int i = 1; i < count; ++i) // insertion sort by stride
        for (int j = i; j > 0 && howmany_dim(p, order[j]).is < howmany_dim(p, order[j - 1]).is; --j)
            std::swap(order[j], order[j - 1]);
    int64_t expected = 1;
    for (int i = 0; i < count; ++i) {
        const dim_record& d = howmany_dim(p, order[i]);
        if (d.n == 1) continue; // a single index never steps
        if (d.is != expected) return false;
        expected *= d.n;
    }
    return true;
}

uint64_t count_of(const plan_record* p, int i) {
    return static_cast<uint64_t>(howmany_dim(p, i).n);
}

// ---- Execute routines ------------------------------------------------------------------

using transpose_kernel = void (*)(const void*, void*, uint64_t, uint64_t, int64_t, int64_t);
using square_kernel = void (*)(void*, uint64_t, int64_t);
using strided_copy_kernel = void (*)(const plan_record*, const void*, void*);

template <transpose_kernel Transpose>
void execute_transposition(const plan_record* plan, void* in, void* out) {
    Transpose(in, out, count_of(plan, 0), count_of(plan, 1), howmany_dim(plan, 0).is,
              howmany_dim(plan, 1).os);
}

// Planned in place; run on two distinct arrays it transposes from one to the other.
template <square_kernel Square, transpose_kernel Transpose>
void execute_square_transposition(const plan_record* plan, void* in, void* out) {
    const uint64_t N = count_of(plan, 0);
    const int64_t stride = howmany_dim(plan, 0).is;
    if (in == out)
        Square(out, N, stride);
    else
        Transpose(in, out, N, N, stride, stride);
}

template <strided_copy_kernel CopyStrided, uint64_t ElementReals>
void execute_copy(const plan_record* plan, void* in, void* out) {
    uint64_t elements = 0;
    if (!batch_elements(plan, &elements) || elements == 0) return;
    if (is_one_dense_block(plan))
        copy_block_fp(in, out, elements, ElementReals);
    else
        CopyStrided(plan, in, out);
}

// Child 0 moves the data into the buffer, child 1 out of it.
constexpr int to_buffer = 0;
constexpr int from_buffer = 1;

void execute_rearrange_inplace(const plan_record* plan, void* in, void* out) {
    execute_child(&plan->children[to_buffer], in, plan->buffer);
    execute_child(&plan->children[from_buffer], plan->buffer, out);
}

// The routines are template instances, recorded under the short names the plan printer knows.
struct rearrange_routines {
    named_routine transpose, square, copy;
};

constexpr rearrange_routines complex_routines = {
    {execute_transposition<transpose_cpx>, "execute_trans_cpx"},
    {execute_square_transposition<transpose_square_cpx, transpose_cpx>,
     "execute_trans_cpx_square_matrix"},
    {execute_copy<copy_strided_cpx, reals_per_complex>, "execute_copy_cpx"},
};

constexpr rearrange_routines real_routines = {
    {execute_transposition<transpose_fp>, "execute_trans_fp"},
    {execute_square_transposition<transpose_square_fp, transpose_fp>,
     "execute_trans_fp_square_matrix"},
    {execute_copy<copy_strided_fp, 1>, "execute_copy_fp"},
};

const rearrange_routines& routines_of(const plan_record* p) {
    return p->kind == kind_c2c ? complex_routines : real_routines;
}

// ---- In-place rearrangement through the buffer -----------------------------------------

// The buffer holds the batch packed row-major (last batch dimension contiguous), so the pass into
// it and the pass out of it agree on one layout that fits it exactly, whatever the strides.
void set_packed_strides(plan_record* child, bool output_side) {
    int64_t stride = 1;
    for (int i = child->howmany_rank - 1; i >= 0; --i) {
        dim_record& d = child->howmany_dims[i];
        (output_side ? d.os : d.is) = stride;
        stride *= d.n;
    }
}

uint32_t plan_through_buffer(plan_record* p, uint64_t elements) {
    size_t element_bytes = 0, unused = 0;
    element_sizes(p->kind, &element_bytes, &unused);
    uint64_t bytes = 0;
    if (__builtin_mul_overflow(elements, element_bytes, &bytes)) return solve_declined;
    if (!attach_buffer(p, bytes)) return solve_declined;
    set_execute(p, QTX_ROUTINE(execute_rearrange_inplace));
    return plan_children(p, 2, [&](plan_record& c, int i) {
        if (i == to_buffer)
            c.out = p->buffer;
        else
            c.in = p->buffer;
        set_packed_strides(&c, i == to_buffer);
    });
}

// ---- In-place transforms through a copy of the input -----------------------------------

bool is_transform(const plan_record* p) {
    return p->kind <= kind_r2r && p->rank >= 1 && p->rank <= max_rank && p->howmany_rank >= 0 &&
           p->howmany_rank <= max_rank && p->complex_layout != layout_split;
}

// Input and output elements occupy the same bytes, dimension by dimension, so each transform
// reads its elements before it writes them and touches no other transform's. A real row and
// its half spectrum share their bytes when both are contiguous; elsewhere a real stride is
// twice the complex one.
bool output_lies_on_input(const plan_record* p) {
    auto same_bytes = [p](const dim_record& d, bool innermost) {
        switch (p->kind) {
        case kind_r2c:
            return innermost ? d.is == 1 && d.os == 1 : d.is == 2 * d.os;
        case kind_c2r:
            return innermost ? d.is == 1 && d.os == 1 : d.os == 2 * d.is;
        default:
            return d.is == d.os;
        }
    };
    for (int i = 0; i < p->rank; ++i)
        if (!same_bytes(p->dims[i], i == p->rank - 1)) return false;
    for (int i = 0; i < p->howmany_rank; ++i)
        if (!same_bytes(howmany_dim(p, i), false)) return false;
    return true;
}

// Elements from the first input element to the last, or 0 when a count or stride is not
// positive. A half spectrum input holds ⌊n/2⌋ + 1 values along the last dimension.
} // namespace

uint64_t input_span(const plan_record* p) {
    uint64_t span = 1;
    auto reach = [&span](int64_t n, int64_t stride) {
        if (n < 1 || stride < 1) return false;
        span += static_cast<uint64_t>(n - 1) * static_cast<uint64_t>(stride);
        return true;
    };
    for (int i = 0; i < p->rank; ++i) {
        const int64_t n = p->dims[i].n;
        const bool halved = p->kind == kind_c2r && i == p->rank - 1;
        if (!reach(halved ? n / 2 + 1 : n, p->dims[i].is)) return 0;
    }
    for (int i = 0; i < p->howmany_rank; ++i)
        if (!reach(howmany_dim(p, i).n, howmany_dim(p, i).is)) return 0;
    return span;
}

namespace {

// The input span goes to the buffer as one block; the child, the same problem reading the
// buffer, then writes the output with nothing left to overwrite.
void execute_from_input_copy(const plan_record* plan, void* in, void* out) {
    copy_block_fp(in, plan->buffer, plan->buffer_size / sizeof(real), 1);
    execute_child(plan->children, plan->buffer, out);
}

uint32_t plan_from_input_copy(plan_record* p) {
    size_t in_bytes = 0, out_bytes = 0;
    element_sizes(p->kind, &in_bytes, &out_bytes);
    uint64_t bytes = 0;
    const uint64_t span = input_span(p);
    if (span == 0 || __builtin_mul_overflow(span, in_bytes, &bytes)) return solve_declined;
    if (!attach_buffer(p, bytes)) return solve_declined;
    set_execute(p, QTX_ROUTINE(execute_from_input_copy));
    return plan_children(p, 1, [&](plan_record& c, int) { c.in = p->buffer; });
}

} // namespace

// A single one-dimensional transform is exempt: its solvers read the whole input before they
// write.
bool in_place_overwrites_input(const plan_record* p) {
    if (!is_transform(p) || p->in == nullptr || p->in != p->out) return false;
    return !output_lies_on_input(p) && !(p->rank == 1 && p->howmany_rank == 0);
}

namespace {

// The batch solver that transforms long runs in place and then transposes them takes its
// shape; any other goes through the copy. Without the copy (its memory ran out) the later rows
// would run the transforms where they lie and overwrite input not yet read: no plan instead.
uint32_t solve_transform_in_place(plan_record* p) {
    if (!in_place_overwrites_input(p)) return solve_declined;
    if (solve_problem_dft_many_post_transpose(p) == solve_accepted) return solve_accepted;
    reset_plan(p);
    return plan_from_input_copy(p) == solve_accepted ? solve_accepted : solve_refused;
}

// ---- Rotation problems -----------------------------------------------------------------

struct rotation_shape {
    uint64_t rows;   // H, the transforms
    uint64_t length; // n, complex values per transform
    uint64_t bytes;  // of the whole source
};

// Kind, rank 1 and at most one batch dimension (none meaning one row), with sizes that fit.
bool rotation_shape_of(const plan_record* p, uint32_t kind, rotation_shape* shape) {
    if (p->kind != kind || p->rank != 1 || p->howmany_rank < 0 || p->howmany_rank > 1) return false;
    const int64_t n = p->dims[0].n;
    const int64_t H = p->howmany_rank == 0 ? 1 : howmany_dim(p, 0).n;
    if (n < 0 || H < 0) return false;
    shape->rows = static_cast<uint64_t>(H);
    shape->length = static_cast<uint64_t>(n);
    uint64_t elements = 0;
    return !__builtin_mul_overflow(shape->rows, shape->length, &elements) &&
           !__builtin_mul_overflow(elements, uint64_t{complex_bytes}, &shape->bytes);
}

rotation_shape planned_shape(const plan_record* plan, uint32_t kind) {
    rotation_shape shape{};
    rotation_shape_of(plan, kind, &shape);
    return shape;
}

void execute_rotate(const plan_record* plan, void* in, void* out) {
    const rotation_shape shape = planned_shape(plan, kind_rotate);
    rotate_cpx(in, out, shape.rows * shape.length);
}

void execute_transpose_rotate(const plan_record* plan, void* in, void* out) {
    const rotation_shape shape = planned_shape(plan, kind_transpose_rotate);
    transpose_rotate_cpx(in, out, plan->table, shape.rows, shape.length, plan->dims[0].os);
}

} // namespace

uint32_t solve_problem_rearrange_inplace(plan_record* p) {
    if (p->rank > 0) return solve_transform_in_place(p);
    if (!is_rearrangement(p) || p->in != p->out) return solve_declined;
    uint64_t elements = 0;
    // An empty batch needs no buffer: the out-of-place row copies nothing.
    if (!batch_elements(p, &elements) || elements == 0) return solve_declined;
    if (is_square_in_place(p)) {
        set_execute(p, routines_of(p).square);
        return solve_accepted;
    }
    return plan_through_buffer(p, elements);
}

uint32_t solve_problem_rearrange_outplace(plan_record* p) {
    if (!is_rearrangement(p)) return solve_declined;
    // In place only what cannot go wrong: nothing to move, or every element onto itself.
    // Anything else would overwrite elements before they are read.
    if (p->in == p->out && !is_empty_batch(p) && !is_identity(p)) return solve_declined;
    set_execute(p, is_transposition(p) ? routines_of(p).transpose : routines_of(p).copy);
    return solve_accepted;
}

uint32_t solve_problem_rotate(plan_record* p) {
    rotation_shape shape{};
    if (!rotation_shape_of(p, kind_rotate, &shape)) return solve_declined;
    set_execute(p, QTX_ROUTINE(execute_rotate));
    return solve_accepted;
}

// The factors come from the record's creator; without them, or with a table recorded as
// smaller than the source, there is nothing sound to multiply by. A borrowed table slice
// carries table_size 0 and is taken as the creator sized it.
uint32_t solve_problem_transpose_rotate(plan_record* p) {
    rotation_shape shape{};
    if (!rotation_shape_of(p, kind_transpose_rotate, &shape)) return solve_declined;
    if (p->table == nullptr) return solve_declined;
    if (p->table_size != 0 && p->table_size < shape.bytes) return solve_declined;
    set_execute(p, QTX_ROUTINE(execute_transpose_rotate));
    return solve_accepted;
}

} // namespace qtx::QTX_ENGINE
