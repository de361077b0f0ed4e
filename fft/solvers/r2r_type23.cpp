// Kinds 4, 5, 8 and 9, the cosine and sine transforms of types 2 and 3. Type 2 shuffles the
// input (even positions ascending, odd ones descending from the end), takes its real transform
// and rotates X[k] by T[k]; type 3 is its transpose: rotate, inverse real transform, unshuffle.
// The sine kinds are the cosine ones with the odd inputs negated and the output reversed
// (type 2), or the input reversed and the odd outputs negated (type 3).
#include "fft/solvers/r2r_kinds.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {
namespace {

// y[k] = Re(2·X[k]·T[k]) and y[n−k] = Re(2·X[k]·conj T[n−k]) for the pair and its mirror.
template <class Output> struct cosine_2_emit {
    Output y;
    const real* T;
    uint64_t n, L;
    void end_points(real sum, real difference) {
        y[0] = 2 * sum;
        y[L] = 2 * difference * T[2 * L];
    }
    void pair(uint64_t k, real re, real im, real mirror_re, real mirror_im) {
        const real R = 2 * re, I = 2 * im, R2 = 2 * mirror_re, I2 = 2 * mirror_im;
        y[k] = R * T[2 * k] - I * T[2 * k + 1];
        y[L - k] = R2 * T[2 * (L - k)] - I2 * T[2 * (L - k) + 1];
        y[L + k] = R2 * T[2 * (L + k)] + I2 * T[2 * (L + k) + 1];
        y[n - k] = R * T[2 * (n - k)] + I * T[2 * (n - k) + 1];
    }
};

template <class Input, class Output>
void cosine_2_half_length(const r2r_view& v, const Input& x, const Output& y) {
    const uint64_t n = v.n, L = v.L;
    real* shuffled = v.b;
    for (uint64_t j = 0; j < L; ++j) {
        shuffled[j] = x(2 * j);
        shuffled[n - 1 - j] = x(2 * j + 1);
    }
    execute_child(v.child, shuffled, shuffled);
    scalar_sink<cosine_2_emit<Output>> sink{{y, v.T, n, L}};
    split_end_points(shuffled, sink);
    split_pass(shuffled, v.W, L, 1, L / 2, sink);
}

// Type 3 for any n: b[k] = (x(k) − i·x(n−k))·conj T[k] over all k, the backward child of
// length n, and the unshuffle of the real parts.
template <bool NegateOdd, class Input, class Output>
void cosine_3_full_length(const r2r_view& v, const Input& x, const Output& y) {
    const uint64_t n = v.n;
    real* b = v.b;
    b[0] = x(0), b[1] = 0;
    for (uint64_t k = 1; k < n; ++k)
        rotate_into(x(k), -x(n - k), v.T + 2 * k, b + 2 * k);
    execute_child(v.child, b, b);
    for (uint64_t j = 0; 2 * j < n; ++j)
        y[2 * j] = b[2 * j];
    for (uint64_t j = 0; 2 * j + 1 < n; ++j)
        y[2 * j + 1] = NegateOdd ? -b[2 * (n - 1 - j)] : b[2 * (n - 1 - j)];
}

bool is_full_length(const plan_record* plan) {
    return path_of(plan->r2r_kinds[0], static_cast<uint64_t>(plan->dims[0].n)) ==
           r2r_path::full_length;
}

template <bool Sine> void execute_type_2(const plan_record* plan, void* in, void* out) {
    const r2r_view v = view_of(plan);
    const auto x = input_of<false, Sine>(plan, in);
    const auto y = output_of<Sine>(plan, out);
    if (is_full_length(plan))
        shuffled_full_length<false>(v, x, y);
    else
        cosine_2_half_length(v, x, y);
}

template <bool Sine> void execute_type_3(const plan_record* plan, void* in, void* out) {
    const r2r_view v = view_of(plan);
    const auto x = input_of<Sine, false>(plan, in);
    const auto y = output_of(plan, out);
    if (is_full_length(plan))
        cosine_3_full_length<Sine>(v, x, y);
    else
        cosine_3_half_length<Sine>(v, x, y);
}

} // namespace

void execute_r2r_cosine_2(const plan_record* plan, void* in, void* out) {
    execute_type_2<false>(plan, in, out);
}

void execute_r2r_sine_2(const plan_record* plan, void* in, void* out) {
    execute_type_2<true>(plan, in, out);
}

void execute_r2r_cosine_3(const plan_record* plan, void* in, void* out) {
    execute_type_3<false>(plan, in, out);
}

void execute_r2r_sine_3(const plan_record* plan, void* in, void* out) {
    execute_type_3<true>(plan, in, out);
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
