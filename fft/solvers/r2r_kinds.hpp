// What the real-to-real planner and the per-kind execute routines share: the reduction each
// length takes, the table regions, the plan as the routines read it, and the ways a kind reads
// its input and writes its output.
#pragma once

#include <cstdint>

#include "fft/planner.hpp"
#include "fft/solvers/r2r_1d.hpp"
#include "fft/solvers/real_passes.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

enum class r2r_path {
    // Even n: the real transform of length n through a complex child of length n/2 and the
    // split or merge pass.
    half_length,
    // Kinds 3 and 7: the symmetric extension of length 2L (L = n − 1 or n + 1) through a
    // complex child of length L and the split pass.
    extension,
    // Kinds 6 and 10 with n divisible by 4: the input folded into two cosine-3 transforms of
    // length n/2, which share a complex child of length n/4.
    fold,
    // Every other length: one complex child of length n with a pass before and after it.
    full_length,
};

r2r_path path_of(uint32_t kind, uint64_t n);
// Length of the complex child.
uint64_t child_length_of(uint32_t kind, uint64_t n);

// Complex entries of the three table regions, in table order:
//   W  the half-length twiddles for the child length L (paths with a split or merge pass),
//   T  T[j] = exp(−πi·j/(2·N_T)), j < N_T: the rotations of the cosine and sine transforms of
//      types 2, 3 and 4, for N_T = n (n/2 for the two halves of the fold),
//   U  U[j] = exp(πi·(2j+1)/(4n)): the further rotations of type 4 (kinds 6 and 10).
struct r2r_regions {
    uint64_t w, t, u;
};
r2r_regions regions_of(uint32_t kind, uint64_t n);

// A planned real-to-real transform as its execute routine reads it.
struct r2r_view {
    uint64_t n;
    uint64_t L; // child length
    const real* W;
    const real* T;
    const real* U;
    real* b; // work buffer
    const plan_record* child;
};
r2r_view view_of(const plan_record* plan);

// x[j] as a kind reads it: at a stride, in reverse order (x[n−1−j]) when Reversed, with the odd
// positions negated when Alternating.
template <bool Reversed = false, bool Alternating = false> struct input_view {
    const real* at;
    int64_t stride;
    uint64_t n;
    real operator()(uint64_t j) const {
        const real x = at[static_cast<int64_t>(Reversed ? n - 1 - j : j) * stride];
        return Alternating && j % 2 == 1 ? -x : x;
    }
};

// y[i] at a stride, in reverse order (y[n−1−i]) when Reversed.
template <bool Reversed = false> struct output_view {
    real* at;
    int64_t stride;
    uint64_t n;
    real& operator[](uint64_t i) const {
        return at[static_cast<int64_t>(Reversed ? n - 1 - i : i) * stride];
    }
};

template <bool Reversed = false, bool Alternating = false>
input_view<Reversed, Alternating> input_of(const plan_record* plan, void* in) {
    return {static_cast<const real*>(in), plan->dims[0].is, static_cast<uint64_t>(plan->dims[0].n)};
}

template <bool Reversed = false>
output_view<Reversed> output_of(const plan_record* plan, void* out) {
    return {static_cast<real*>(out), plan->dims[0].os, static_cast<uint64_t>(plan->dims[0].n)};
}

// (s + i·t)·conj(T): the rotation that starts the cosine-3 reductions.
inline void rotate_into(real s, real t, const real* T, real* b) {
    b[0] = s * T[0] + t * T[1];
    b[1] = t * T[0] - s * T[1];
}

// The cosine-3 transform of length N = 2·v.L through the child: b[k] = (x(k) − i·x(N−k))·
// conj T[k], the merge pass in place, the child in place, and the unshuffle of its real
// sequence into y (odd positions negated when NegateOdd). The input is read before y is
// written, so y may be the input's storage.
template <bool NegateOdd, class Input, class Output>
void cosine_3_half_length(const r2r_view& v, const Input& x, const Output& y) {
    const uint64_t L = v.L, N = 2 * L;
    real* b = v.b;
    b[0] = x(0), b[1] = 0;
    for (uint64_t k = 1; k <= L; ++k)
        rotate_into(x(k), -x(N - k), v.T + 2 * k, b + 2 * k);
    merge_end_point(b[0], b[2 * L], b);
    merge_pass(complex_span<true>{b, 1}, v.W, b, L, 1, L / 2);
    execute_child(v.child, b, b);
    for (uint64_t j = 0; j < L; ++j) {
        y[2 * j] = b[j];
        y[2 * j + 1] = NegateOdd ? -b[N - 1 - j] : b[N - 1 - j];
    }
}

// The full-length reduction of kinds 5, 6, 9 and 10, for any n: b[p(j)] = x(j)·phase(j) with
// p(j) = j/2 for even j and n − 1 − j/2 for odd j, phase 1 or (when Phased) U[j] for even j
// and conj U[j] for odd j; the backward child of length n; y[k] = 2·Re(conj T[k]·b[k]).
template <bool Phased, class Input, class Output>
void shuffled_full_length(const r2r_view& v, const Input& x, const Output& y) {
    const uint64_t n = v.n;
    real* b = v.b;
    for (uint64_t j = 0; j < n; ++j) {
        real* at = b + 2 * (j % 2 == 0 ? j / 2 : n - 1 - j / 2);
        const real value = x(j);
        if constexpr (Phased) {
            const real* u = v.U + 2 * j;
            at[0] = value * u[0];
            at[1] = value * (j % 2 == 0 ? u[1] : -u[1]);
        } else {
            at[0] = value;
            at[1] = 0;
        }
    }
    execute_child(v.child, b, b);
    for (uint64_t k = 0; k < n; ++k)
        y[k] = 2 * (v.T[2 * k] * b[2 * k] + v.T[2 * k + 1] * b[2 * k + 1]);
}

// The execute routines of g_r2r_plan_solver_func, one per kind.
void execute_r2r_halfcomplex(const plan_record* plan, void* in, void* out);
void execute_r2r_from_halfcomplex(const plan_record* plan, void* in, void* out);
void execute_r2r_hartley(const plan_record* plan, void* in, void* out);
void execute_r2r_cosine_1(const plan_record* plan, void* in, void* out);
void execute_r2r_cosine_2(const plan_record* plan, void* in, void* out);
void execute_r2r_cosine_3(const plan_record* plan, void* in, void* out);
void execute_r2r_cosine_4(const plan_record* plan, void* in, void* out);
void execute_r2r_sine_1(const plan_record* plan, void* in, void* out);
void execute_r2r_sine_2(const plan_record* plan, void* in, void* out);
void execute_r2r_sine_3(const plan_record* plan, void* in, void* out);
void execute_r2r_sine_4(const plan_record* plan, void* in, void* out);

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
