// The chirp method. With j·k = (j² + k² − (k − j)²)/2, a transform of sign s is
//   X[k] = c[k] · Σ_j (x[j]·c[j]) · conj(c[k − j]),   c[j] = exp(s·πi·j²/n),
// a cyclic convolution of the chirped input with the filter h = conj(c) / M, padded to M. The
// filter's spectrum H is computed once at planning; execution transforms the chirped input,
// multiplies by H and transforms back. Exchanging real and imaginary parts before and after the
// second transform turns the child of sign s into one of sign −s, so one child serves both.
#include "fft/solvers/c2c_1d_prime.hpp"

#include <algorithm>
#include <cstring>
#include <limits>

#include "fft/problem.hpp"
#include "fft/roots.hpp"
#include "fft/solvers/c2c_1d.hpp"
#include "fft/solvers/complex_span.hpp"
#include "simd/simd.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {
namespace {

using V = simd::vec<real>;
constexpr size_t lanes = simd::complex_lanes<real>;
// Complex values per iteration of the vector loops.
constexpr size_t values_per_step = 4;
static_assert(values_per_step % lanes == 0);

// dst[j] = combine(a[j], b[j]) for j < count, b contiguous: a vector loop over four values at
// a time and a one-value remainder. dst may be a itself.
template <bool UnitA, bool UnitDst, class Combine>
void combine_values(complex_span<UnitDst> dst, complex_span<UnitA> a, const real* b, size_t count,
                    Combine combine) {
    size_t j = 0;
    for (; j + values_per_step <= count; j += values_per_step) {
#pragma GCC unroll 4
        for (size_t v = j; v < j + values_per_step; v += lanes)
            dst.store(v, combine(a.load(v), simd::loadu(b + 2 * v)));
    }
    for (; j < count; ++j)
        simd::store_low_complex(dst.element(j), combine(simd::load_low_complex(a.element(j)),
                                                        simd::load_low_complex(b + 2 * j)));
}

struct chirp_product {
    QTX_SIMD_INLINE V operator()(V x, V c) const { return simd::cmul(x, c); }
};
// swap(a·H): the product, real and imaginary parts exchanged.
struct swapped_filter_product {
    QTX_SIMD_INLINE V operator()(V a, V h) const { return simd::swap_re_im(simd::cmul(a, h)); }
};
// swap(b)·c: undoes the exchange and applies the output chirp.
struct swapped_chirp_product {
    QTX_SIMD_INLINE V operator()(V b, V c) const { return simd::cmul(simd::swap_re_im(b), c); }
};

struct prime_view {
    uint64_t n, M;
    const real* chirp;  // n values
    const real* filter; // M values, H
    real* buffer;       // M values
};

prime_view view_of(const plan_record* plan) {
    const uint64_t n = static_cast<uint64_t>(plan->dims[0].n);
    const auto* table = static_cast<const real*>(plan->table);
    const uint64_t M = plan->buffer_size / complex_bytes;
    return {n, M, table, table + 2 * n, static_cast<real*>(plan->buffer)};
}

template <bool Unit> void execute_prime(const plan_record* plan, void* in, void* out) {
    const prime_view v = view_of(plan);
    const plan_record* child = plan->children;
    const complex_span<true> work{v.buffer, 1};
    combine_values(work, complex_span<Unit>{static_cast<real*>(in), plan->dims[0].is}, v.chirp, v.n,
                   chirp_product{});
    std::memset(v.buffer + 2 * v.n, 0, (v.M - v.n) * complex_bytes);
    execute_child(child, v.buffer, v.buffer);
    combine_values(work, work, v.filter, v.M, swapped_filter_product{});
    execute_child(child, v.buffer, v.buffer);
    combine_values(complex_span<Unit>{static_cast<real*>(out), plan->dims[0].os}, work, v.chirp,
                   v.n, swapped_chirp_product{});
}

// c[j] = exp(s·πi·j²/n), with j² mod 2n kept incrementally so it never overflows.
void fill_chirp(real* chirp, uint64_t n, int64_t sign) {
    const uint64_t period = 2 * n;
    root_memo roots(static_cast<int64_t>(period), n);
    uint64_t q = 0;
    for (uint64_t j = 0; j < n; ++j) {
        roots.store(chirp + 2 * j, sign * static_cast<int64_t>(q));
        q += 2 * j + 1;
        if (q >= period) q -= period;
    }
}

// h[j] = h[M − j] = conj(c[j]) / M for j < n, zero in between.
void fill_filter(real* filter, const real* chirp, uint64_t n, uint64_t M) {
    std::memset(filter, 0, M * complex_bytes);
    const real scale = real(1) / static_cast<real>(M);
    for (uint64_t j = 0; j < n; ++j) {
        const real re = chirp[2 * j] * scale, im = -chirp[2 * j + 1] * scale;
        filter[2 * j] = re, filter[2 * j + 1] = im;
        if (j > 0) filter[2 * (M - j)] = re, filter[2 * (M - j) + 1] = im;
    }
}

// Transforms the filter in place with a temporary forward plan of length M.
bool transform_filter(real* filter, uint64_t M) {
    plan_record* temporary = alloc_plan_records(1);
    if (temporary == nullptr) return false;
    temporary->kind = kind_c2c;
    temporary->sign = -1;
    temporary->complex_layout = layout_interleaved;
    temporary->rank = 1;
    temporary->dims[0] = {.n = static_cast<int64_t>(M), .is = 1, .os = 1};
    temporary->in = temporary->out = filter;
    const bool planned = plan_problem(temporary) == 0;
    if (planned) execute_child(temporary, filter, filter);
    destroy_plan_record(temporary);
    return planned;
}

// Lengths whose table of n + M values (M below 4n) could not be addressed are refused.
constexpr uint64_t max_prime_length = std::numeric_limits<uint64_t>::max() / 8 / complex_bytes;

} // namespace

// The smallest 7-smooth length of at least 2n − 1, found among the products 3^b·5^c·7^d below
// it, each doubled up to it: a few thousand candidates at most, where counting up one length at
// a time could take billions of steps.
uint64_t padded_length(uint64_t n) {
    const uint64_t target = n == 0 ? 0 : 2 * n - 1;
    uint64_t best = UINT64_MAX;
    for (uint64_t p7 = 1; p7 < best; p7 *= 7)
        for (uint64_t p5 = p7; p5 < best; p5 *= 5)
            for (uint64_t p3 = p5; p3 < best; p3 *= 3) {
                uint64_t m = p3;
                while (m < target)
                    m *= 2;
                best = std::min(best, m);
            }
    return best;
}

uint32_t solve_problem_c2c_1d_prime(plan_record* p) {
    if (p->kind != kind_c2c || p->howmany_rank != 0 || p->rank != 1) return solve_declined;
    const uint64_t n = static_cast<uint64_t>(p->dims[0].n);
    if (!has_factor_above_7(n) || n > max_prime_length) return solve_declined;
    // Table and buffer hold n + 2M values, M >= 2n - 1: refuse before searching for M.
    if (!memory_can_exist((5 * n - 2) * complex_bytes)) return solve_declined;
    const uint64_t M = padded_length(n);

    if (!attach_buffer(p, M * complex_bytes) || !attach_table(p, (n + M) * complex_bytes))
        return solve_declined;

    auto* chirp = static_cast<real*>(p->table);
    fill_chirp(chirp, n, p->sign);
    fill_filter(chirp + 2 * n, chirp, n, M);
    if (!transform_filter(chirp + 2 * n, M)) return solve_declined;

    set_execute(p, has_unit_strides(p) ? QTX_ROUTINE(execute_1d_prime)
                                       : QTX_ROUTINE(execute_1d_prime_discrete));
    return plan_children(p, 1, [&](plan_record& c, int) {
        c.dims[0] = {.n = static_cast<int64_t>(M), .is = 1, .os = 1};
    });
}

void execute_1d_prime(const plan_record* plan, void* in, void* out) {
    execute_prime<true>(plan, in, out);
}

void execute_1d_prime_discrete(const plan_record* plan, void* in, void* out) {
    execute_prime<false>(plan, in, out);
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
