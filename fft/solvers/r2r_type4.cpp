// Kinds 6 and 10, the cosine and sine transforms of type 4. A length divisible by 4 folds the
// input into two sequences of n/2 whose cosine-3 transforms (sharing the child of length n/4)
// recombine through the rotations U into the result. Other lengths take the full-length
// reduction. The sine kind is the cosine one of the input with its odd positions negated,
// written in reverse order.
#include <cmath>

#include "fft/solvers/r2r_kinds.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {
namespace {

// 1/√2 in the working precision, and √2 as the scale factors of the recombination take it.
constexpr real half_sqrt2 = is_double ? real(0.7071067811865476) : real(0.70710677f);
constexpr double sqrt2 = is_double ? 1.414213562373095 : double(1.4142135381698608);

// w[N] = c·x(0), w[0] = c·x(n−1), w[N ± j] = c·(x(2j−1) ± x(2j)) for 0 < j < N.
template <class Input> void fold(const Input& x, uint64_t N, real* w) {
    w[N] = half_sqrt2 * x(0);
    w[0] = half_sqrt2 * x(2 * N - 1);
    for (uint64_t j = 1; j < N; ++j) {
        const real odd = x(2 * j - 1), even = x(2 * j);
        w[N + j] = half_sqrt2 * (odd + even);
        w[N - j] = half_sqrt2 * (odd - even);
    }
}

template <class Input, class Output>
void cosine_4_fold(const r2r_view& v, const Input& x, const Output& y) {
    const uint64_t N = v.n / 2;
    // The cosine-3 transforms use the first L + 1 complex values of the buffer; w follows.
    real* w = v.b + 2 * (v.L + 1);
    fold(x, N, w);
    const real a = w[N], d = w[0];
    cosine_3_half_length<true>(v, input_view<>{w, 1, N}, output_view<>{w, 1, N});
    cosine_3_half_length<false>(v, input_view<>{w + N, 1, N}, output_view<>{w + N, 1, N});

    const real g = static_cast<real>(sqrt2 * std::pow(static_cast<double>(N), -0.5));
    const real G = static_cast<real>(sqrt2 * std::pow(static_cast<double>(2 * N), 0.5));
    const real* f = w;
    const real* s = w + N;
    for (uint64_t i = 0; i < N; ++i) {
        const real s2 = g * (s[i] + a) / 2;
        const real f2 = g * (i % 2 == 0 ? f[i] + d : f[i] - d) / 2;
        const real* u = v.U + 2 * i;
        y[i] = G * (u[0] * s2 + u[1] * f2);
        y[v.n - 1 - i] = G * (u[1] * s2 - u[0] * f2);
    }
}

template <bool Sine> void execute_type_4(const plan_record* plan, void* in, void* out) {
    const r2r_view v = view_of(plan);
    const auto x = input_of<false, Sine>(plan, in);
    const auto y = output_of<Sine>(plan, out);
    if (path_of(plan->r2r_kinds[0], v.n) == r2r_path::fold)
        cosine_4_fold(v, x, y);
    else
        shuffled_full_length<true>(v, x, y);
}

} // namespace

void execute_r2r_cosine_4(const plan_record* plan, void* in, void* out) {
    execute_type_4<false>(plan, in, out);
}

void execute_r2r_sine_4(const plan_record* plan, void* in, void* out) {
    execute_type_4<true>(plan, in, out);
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
