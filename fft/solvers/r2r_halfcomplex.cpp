// Kinds 0, 1 and 2: the real transform with its spectrum in halfcomplex order, its inverse, and
// the Hartley transform, which is the same spectrum combined as Re X[k] ∓ Im X[k]. Even lengths
// read the input as n/2 complex values (the r2c reduction), odd lengths run a complex child of
// length n on the input with zero imaginary parts.
#include "fft/solvers/r2r_kinds.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {
namespace {

// Where a spectrum value X[k], 0 < k < n/2, goes: y[k] = first, y[n−k] = second.
struct placed_pair {
    real first, second;
};
struct halfcomplex_order {
    static placed_pair place(real re, real im) { return {re, im}; }
};
// The Hartley transform H[k] = Re X[k] − Im X[k], H[n−k] = Re X[k] + Im X[k].
struct hartley_order {
    static placed_pair place(real re, real im) { return {re - im, re + im}; }
};

template <class Order> struct spectrum_emit {
    output_view<> y;
    uint64_t n, L;
    // X[0] and X[L] are real, so both orders put them in place unchanged.
    void end_points(real sum, real difference) {
        y[0] = sum;
        y[L] = difference;
    }
    void pair(uint64_t k, real re, real im, real mirror_re, real mirror_im) {
        const placed_pair low = Order::place(re, im), high = Order::place(mirror_re, mirror_im);
        y[k] = low.first, y[n - k] = low.second;
        y[L - k] = high.first, y[L + k] = high.second;
    }
};

bool has_unit_strides(const plan_record* plan) {
    return plan->dims[0].is == 1 && plan->dims[0].os == 1;
}

template <class Order> void spectrum_half_length(const plan_record* plan, void* in, void* out) {
    const r2r_view v = view_of(plan);
    real* b = v.b;
    if (has_unit_strides(plan)) {
        execute_child(v.child, in, b);
    } else {
        pack_pairs(static_cast<const real*>(in), plan->dims[0].is, v.L, b);
        execute_child(v.child, b, b);
    }
    scalar_sink<spectrum_emit<Order>> sink{{output_of(plan, out), v.n, v.L}};
    split_end_points(b, sink);
    split_pass(b, v.W, v.L, 1, v.L / 2, sink);
}

template <class Order> void spectrum_full_length(const plan_record* plan, void* in, void* out) {
    const r2r_view v = view_of(plan);
    real* b = v.b;
    pack_real(static_cast<const real*>(in), plan->dims[0].is, v.n, b);
    execute_child(v.child, b, b);
    const output_view<> y = output_of(plan, out);
    y[0] = b[0];
    for (uint64_t k = 1; 2 * k < v.n; ++k) {
        const placed_pair p = Order::place(b[2 * k], b[2 * k + 1]);
        y[k] = p.first, y[v.n - k] = p.second;
    }
}

template <class Order> void execute_spectrum(const plan_record* plan, void* in, void* out) {
    if (plan->dims[0].n % 2 == 0)
        spectrum_half_length<Order>(plan, in, out);
    else
        spectrum_full_length<Order>(plan, in, out);
}

// X[k] of a halfcomplex input: (r[k], r[n−k]) for 0 < k < n/2, X[0] = (r[0], 0).
struct halfcomplex_input {
    input_view<> r;
    complex_parts operator()(uint64_t k) const {
        if (k == 0) return {r(0), 0};
        return {r(k), r(r.n - k)};
    }
};

} // namespace

void execute_r2r_halfcomplex(const plan_record* plan, void* in, void* out) {
    execute_spectrum<halfcomplex_order>(plan, in, out);
}

void execute_r2r_hartley(const plan_record* plan, void* in, void* out) {
    execute_spectrum<hartley_order>(plan, in, out);
}

void execute_r2r_from_halfcomplex(const plan_record* plan, void* in, void* out) {
    const r2r_view v = view_of(plan);
    const halfcomplex_input X{input_of(plan, in)};
    real* b = v.b;
    if (v.n % 2 == 1) {
        fill_hermitian(v.n, X, b);
        execute_child(v.child, b, b);
        real_parts(b, v.n, static_cast<real*>(out), plan->dims[0].os);
        return;
    }
    merge_end_point(X.r(0), X.r(v.L), b);
    merge_pass(scalar_source<halfcomplex_input>{X}, v.W, b, v.L, 1, v.L / 2);
    if (has_unit_strides(plan)) {
        execute_child(v.child, b, out);
    } else {
        execute_child(v.child, b, b);
        unpack_pairs(b, v.L, static_cast<real*>(out), plan->dims[0].os);
    }
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
