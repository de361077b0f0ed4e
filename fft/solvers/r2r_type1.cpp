// Kinds 3 and 7, the cosine and sine transforms of type 1: the even (odd) extension of the
// input to 2L reals, L = n − 1 (n + 1), is a real sequence whose transform has the result in
// its real (imaginary) parts; it runs as the complex child of length L and the split pass.
#include "fft/solvers/r2r_kinds.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {
namespace {

// y[k] = Re X[k] for k = 0 … L.
struct cosine_1_emit {
    output_view<> y;
    uint64_t L;
    void end_points(real sum, real difference) {
        y[0] = sum;
        y[L] = difference;
    }
    void pair(uint64_t k, real re, real, real mirror_re, real) {
        y[k] = re;
        y[L - k] = mirror_re;
    }
};

// y[k−1] = −Im X[k] for k = 1 … L − 1; X[0] and X[L] carry nothing.
struct sine_1_emit {
    output_view<> y;
    uint64_t L;
    void end_points(real, real) {}
    void pair(uint64_t k, real, real im, real, real mirror_im) {
        y[k - 1] = -im;
        y[L - k - 1] = -mirror_im;
    }
};

template <class Emit> void split_extension(const r2r_view& v, const Emit& emit) {
    execute_child(v.child, v.b, v.b);
    scalar_sink<Emit> sink{emit};
    split_end_points(v.b, sink);
    split_pass(v.b, v.W, v.L, 1, v.L / 2, sink);
}

} // namespace

void execute_r2r_cosine_1(const plan_record* plan, void* in, void* out) {
    const r2r_view v = view_of(plan);
    const input_view<> x = input_of(plan, in);
    const uint64_t L = v.L;
    real* e = v.b;
    for (uint64_t j = 0; j <= L; ++j)
        e[j] = x(j);
    for (uint64_t j = 1; j < L; ++j)
        e[2 * L - j] = x(j);
    split_extension(v, cosine_1_emit{output_of(plan, out), L});
}

void execute_r2r_sine_1(const plan_record* plan, void* in, void* out) {
    const r2r_view v = view_of(plan);
    const input_view<> x = input_of(plan, in);
    const uint64_t L = v.L;
    real* e = v.b;
    e[0] = e[L] = 0;
    for (uint64_t j = 1; j < L; ++j) {
        const real value = x(j - 1);
        e[j] = value;
        e[2 * L - j] = -value;
    }
    split_extension(v, sine_1_emit{output_of(plan, out), L});
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
