// Split-complex transforms. No kernel works on two separate real arrays, so the data is
// interleaved into a packed work buffer, transformed there by an interleaved child, and split
// back out; the real side of a real-to-complex or complex-to-real problem needs no copy and is
// read or written by the child directly.
#include "fft/solvers/split.hpp"

#include <cstring>
#include <initializer_list>

#include "fft/solvers/data_movement.hpp"

namespace qtx::QTX_ENGINE {
namespace {

// Complex values of the innermost dimension on the complex side of a real transform.
int64_t half_complex_count(int64_t n) {
    return n / 2 + 1;
}

// Extent of the complex side, dimension by dimension: the lengths, with the innermost one
// halved plus one for real transforms.
void complex_extent(const plan_record* p, int64_t counts[max_rank]) {
    for (int i = 0; i < p->rank; ++i)
        counts[i] = p->dims[i].n;
    if (p->kind != kind_c2c) counts[p->rank - 1] = half_complex_count(p->dims[p->rank - 1].n);
}

// Packed row-major strides of the buffer, in complex values.
void packed_strides(const int64_t counts[max_rank], int rank, int64_t strides[max_rank]) {
    int64_t step = 1;
    for (int i = rank - 1; i >= 0; --i) {
        strides[i] = step;
        step *= counts[i];
    }
}

// One element move between the split arrays (positions in reals) and the buffer (positions in
// complex values).
struct interleave {
    const real* re;
    const real* im;
    real* buffer;
    void operator()(int64_t split_at, int64_t packed_at) const {
        buffer[2 * packed_at] = re[split_at];
        buffer[2 * packed_at + 1] = im[split_at];
    }
};
struct deinterleave {
    const real* buffer;
    real* re;
    real* im;
    void operator()(int64_t split_at, int64_t packed_at) const {
        re[split_at] = buffer[2 * packed_at];
        im[split_at] = buffer[2 * packed_at + 1];
    }
};

// Calls move for every index of the extent. Ranks below 3 are padded at the outside with
// dimensions of count 1, so one loop nest serves every rank.
template <class Move> void move_all(const plan_record* plan, bool input_side, const Move& move) {
    const int r = plan->rank;
    int64_t counts[max_rank], packed[max_rank];
    complex_extent(plan, counts);
    packed_strides(counts, r, packed);
    int64_t n[max_rank], split[max_rank], pack[max_rank];
    for (int i = 0; i < max_rank; ++i) {
        const int d = i - (max_rank - r); // the problem dimension at nest level i, if any
        n[i] = d < 0 ? 1 : counts[d];
        split[i] = d < 0 ? 0 : (input_side ? plan->dims[d].is : plan->dims[d].os);
        pack[i] = d < 0 ? 0 : packed[d];
    }
    for (int64_t a = 0; a < n[0]; ++a)
        for (int64_t b = 0; b < n[1]; ++b) {
            const int64_t split_row = a * split[0] + b * split[1];
            const int64_t packed_row = a * pack[0] + b * pack[1];
#pragma GCC unroll 4
            for (int64_t c = 0; c < n[2]; ++c)
                move(split_row + c * split[2], packed_row + c * pack[2]);
        }
}

// The child reads (kinds 0 and 1) and writes (kinds 0 and 2) the buffer in the packed layout,
// and the real side of a real transform where it lies: it is planned for the arrays
// execute_split hands it, so only a complex-to-complex child runs in place.
void make_interleaved_child(const plan_record* p, plan_record& c) {
    c.complex_layout = layout_interleaved;
    c.in = p->kind == kind_r2c ? p->in : p->buffer;
    c.out = p->kind == kind_c2r ? p->out : p->buffer;
    c.in_imag = c.out_imag = nullptr;
    int64_t counts[max_rank], packed[max_rank];
    complex_extent(p, counts);
    packed_strides(counts, p->rank, packed);
    for (int i = 0; i < p->rank; ++i) {
        if (p->kind != kind_r2c) c.dims[i].is = packed[i];
        if (p->kind != kind_c2r) c.dims[i].os = packed[i];
    }
}

bool is_split_kind(const plan_record* p) {
    return p->complex_layout == layout_split &&
           (p->kind == kind_c2c || p->kind == kind_c2r || p->kind == kind_r2c);
}

real* advance(void* base, uint64_t j, int64_t distance) {
    // The single real array of a real transform has no imaginary partner to advance.
    if (base == nullptr) return nullptr;
    return static_cast<real*>(base) + static_cast<int64_t>(j) * distance;
}

// Some output array is an input array.
bool is_in_place(const plan_record* p) {
    for (const void* input : {p->in, p->in_imag})
        if (input != nullptr && (input == p->out || input == p->out_imag)) return true;
    return false;
}

// Every dimension, transform and batch, steps alike on both sides: each transform's output
// then lies on its own input, which a single split transform reads whole before writing.
bool same_layout_both_sides(const plan_record* p) {
    for (int i = 0; i < p->rank; ++i)
        if (p->dims[i].is != p->dims[i].os) return false;
    for (int i = 0; i < p->howmany_rank; ++i)
        if (p->howmany_dims[i].is != p->howmany_dims[i].os) return false;
    return true;
}

// Input planes: real and imaginary, or the one real plane of a real-to-complex problem.
uint64_t input_planes(const plan_record* p) {
    return p->kind == kind_r2c ? 1 : 2;
}

// Copies the input planes to the buffer, then runs the same problem out of place from there.
void execute_split_from_input_copy(const plan_record* plan, void* in_re, void* in_im, void* out_re,
                                   void* out_im) {
    const plan_record* child = plan->children;
    const size_t plane_bytes = plan->buffer_size / input_planes(plan);
    std::memcpy(child->in, in_re, plane_bytes);
    if (child->in_imag != nullptr) std::memcpy(child->in_imag, in_im, plane_bytes);
    child->execute_split(child, child->in, child->in_imag, out_re, out_im);
}

// A batch in place whose output layout differs from its input layout would overwrite later
// transforms' input before reading it, so the input is copied first. No other row computes it
// correctly, so when the copy cannot be made the problem is refused.
uint32_t solve_from_input_copy(plan_record* p) {
    const uint64_t span = input_span(p), planes = input_planes(p);
    uint64_t bytes = 0;
    if (span == 0 || __builtin_mul_overflow(span, planes * sizeof(real), &bytes) ||
        !attach_buffer(p, bytes))
        return solve_refused;
    set_execute(p, QTX_SPLIT_ROUTINE(execute_split_from_input_copy));
    auto* copy = static_cast<real*>(p->buffer);
    const uint32_t status = plan_children(p, 1, [&](plan_record& c, int) {
        c.in = copy;
        c.in_imag = planes == 2 ? copy + span : nullptr;
    });
    return status == solve_accepted ? solve_accepted : solve_refused;
}

} // namespace

uint64_t split_buffer_bytes(const plan_record* p) {
    const int r = p->rank;
    const int64_t inner = p->dims[r - 1].n;
    // L complex values, or 2·(⌊L/2⌋ + 1) reals on the complex side of a real transform.
    uint64_t bytes =
        p->kind == kind_c2c
            ? static_cast<uint64_t>(inner) * complex_bytes
            : static_cast<uint64_t>(reals_per_complex * half_complex_count(inner)) * sizeof(real);
    for (int i = 0; i < r - 1; ++i)
        if (__builtin_mul_overflow(bytes, static_cast<uint64_t>(p->dims[i].n), &bytes)) return 0;
    return bytes;
}

uint32_t solve_problem_dft_split(plan_record* p) {
    if (p->howmany_rank != 0 || !is_split_kind(p)) return solve_declined;
    if (p->rank < 1 || p->rank > max_rank) return solve_declined;
    for (int i = 0; i < p->rank; ++i)
        if (p->dims[i].n < 1) return solve_declined;
    if (!attach_buffer(p, split_buffer_bytes(p))) return solve_declined;
    set_execute(p, QTX_SPLIT_ROUTINE(execute_split));
    return plan_children(p, 1, [&](plan_record& c, int) { make_interleaved_child(p, c); });
}

void execute_split(const plan_record* plan, void* in_re, void* in_im, void* out_re, void* out_im) {
    auto* buffer = static_cast<real*>(plan->buffer);
    const plan_record* child = plan->children;
    if (plan->kind != kind_r2c)
        move_all(
            plan, true,
            interleave{static_cast<const real*>(in_re), static_cast<const real*>(in_im), buffer});
    if (plan->kind == kind_r2c)
        execute_child(child, in_re, buffer);
    else if (plan->kind == kind_c2r)
        execute_child(child, buffer, out_re);
    else
        execute_child(child, buffer, buffer);
    if (plan->kind != kind_c2r)
        move_all(plan, false,
                 deinterleave{buffer, static_cast<real*>(out_re), static_cast<real*>(out_im)});
}

uint32_t solve_problem_dft_many_split(plan_record* p) {
    if (p->howmany_rank < 1 || p->howmany_rank > max_rank || !is_split_kind(p))
        return solve_declined;
    if (is_in_place(p) && !same_layout_both_sides(p)) return solve_from_input_copy(p);
    set_execute(p, QTX_SPLIT_ROUTINE(execute_many_split));
    return plan_children(p, 1, [](plan_record& c, int) { drop_first_howmany_dim(&c); });
}

void execute_many_split(const plan_record* plan, void* in_re, void* in_im, void* out_re,
                        void* out_im) {
    const dim_record batch = first_howmany_dim(plan);
    const plan_record* child = plan->children;
    for (uint64_t j = 0; j < static_cast<uint64_t>(batch.n); ++j)
        child->execute_split(child, advance(in_re, j, batch.is), advance(in_im, j, batch.is),
                             advance(out_re, j, batch.os), advance(out_im, j, batch.os));
}

} // namespace qtx::QTX_ENGINE
