// The stage kernel for radices without a dedicated kernel (11, 13, any larger prime, and 1 for
// the length-1 transform). Scalar code: it evaluates each r-point transform directly from a
// table of roots, pairing the inputs q and r - q so that each root serves two outputs.
#include <cstddef>
#include <cstdint>

#include "fft/kernels/stage_kernels.hpp"
#include "fft/planner.hpp"
#include "fft/roots.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {
namespace {

using index = std::ptrdiff_t;

struct complex_value {
    real re, im;
};

complex_value operator+(complex_value a, complex_value b) {
    return {a.re + b.re, a.im + b.im};
}
complex_value operator-(complex_value a, complex_value b) {
    return {a.re - b.re, a.im - b.im};
}
complex_value operator*(complex_value a, real s) {
    return {a.re * s, a.im * s};
}
complex_value operator*(complex_value a, complex_value b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

// Each root ω^q, q <= r/2, is kept as cosine, sine and negated sine, so that ω^(r-q) = conj(ω^q)
// is read from the same entry without a sign flip.
constexpr uint64_t reals_per_root = 3;
// Per point: its twiddled input, plus one complex value of room for the pair sums and differences.
constexpr uint64_t reals_per_point = 4;

// The scratch block: the roots, then the points of one butterfly and its pair sums and differences.
struct scratch_layout {
    real* roots;
    complex_value* points;
    complex_value* sums;
    complex_value* differences;
};

// False when the size does not fit in size_t.
bool scratch_bytes(uint64_t r, size_t* bytes) {
    uint64_t reals_of_roots = 0, reals_of_points = 0, reals = 0;
    return !__builtin_mul_overflow(r / 2 + 1, reals_per_root, &reals_of_roots) &&
           !__builtin_mul_overflow(r, reals_per_point, &reals_of_points) &&
           !__builtin_add_overflow(reals_of_roots, reals_of_points, &reals) &&
           !__builtin_mul_overflow(reals, sizeof(real), bytes);
}

scratch_layout layout_of(void* block, uint64_t r) {
    real* roots = static_cast<real*>(block);
    auto* points = reinterpret_cast<complex_value*>(roots + (r / 2 + 1) * reals_per_root);
    complex_value* sums = points + r;
    return {roots, points, sums, sums + r / 2};
}

void fill_roots(real* roots, uint64_t r, int64_t sign) {
    const int64_t direction = sign == 1 ? 1 : -1;
    for (uint64_t q = 0; q <= r / 2; ++q) {
        const root_value w =
            unit_root(static_cast<int64_t>(q) * direction, static_cast<int64_t>(r));
        real* entry = roots + q * reals_per_root;
        entry[0] = static_cast<real>(w.re);
        entry[1] = static_cast<real>(w.im);
        entry[2] = static_cast<real>(-w.im);
    }
}

// cos and sin of ω^t for 0 <= t < r.
struct cos_sin {
    real c, s;
};
cos_sin root_at(const real* roots, uint64_t r, uint64_t t) {
    if (t <= r / 2) return {roots[t * reals_per_root], roots[t * reals_per_root + 1]};
    const real* mirror = roots + (r - t) * reals_per_root;
    return {mirror[0], mirror[2]};
}

// points[q] becomes Σ points[q']·ω^(q·q'). For each pair q', r - q' (q' = 1 … (r-1)/2) with sum S
// and difference D: output q is x0 + Σ S·cos + i·Σ D·sin and output r - q the same with -i.
// An even radix also has the unpaired input r/2, whose root for output q is (-1)^q.
void transform(const scratch_layout& s, uint64_t r) {
    complex_value* x = s.points;
    const uint64_t pairs = (r - 1) / 2;
    const bool even = r % 2 == 0;
    const complex_value x0 = x[0], middle = even ? x[r / 2] : complex_value{0, 0};
    complex_value total = x0, alternating = x0;
    for (uint64_t p = 1; p <= pairs; ++p) {
        s.sums[p - 1] = x[p] + x[r - p];
        s.differences[p - 1] = x[p] - x[r - p];
        total = total + s.sums[p - 1];
        alternating = p % 2 == 0 ? alternating + s.sums[p - 1] : alternating - s.sums[p - 1];
    }
    for (uint64_t q = 1; q <= pairs; ++q) {
        complex_value a = x0, b{0, 0};
        if (even) a = q % 2 == 0 ? a + middle : a - middle;
        uint64_t t = 0;
        for (uint64_t p = 1; p <= pairs; ++p) {
            t = t + q >= r ? t + q - r : t + q;
            const cos_sin w = root_at(s.roots, r, t);
            a = a + s.sums[p - 1] * w.c;
            b = b + s.differences[p - 1] * w.s;
        }
        x[q] = {a.re - b.im, a.im + b.re};
        x[r - q] = {a.re + b.im, a.im - b.re};
    }
    if (even) {
        total = total + middle;
        x[r / 2] = (r / 2) % 2 == 0 ? alternating + middle : alternating - middle;
    }
    x[0] = total;
}

struct stage_geometry {
    index r, m, P, is, os;
};

// Loads butterfly (k, j) with its twiddles applied; the first stage has none.
void gather(const stage_record* stage, const stage_geometry& g, const complex_value* source,
            index k, index j, complex_value* points) {
    const real* row = stage->twiddles == nullptr ? nullptr : stage->twiddles + 2 * k * (g.r - 1);
    for (index q = 0; q < g.r; ++q) {
        const complex_value x = source[((k * g.r + q) * g.m + j) * g.is];
        points[q] = row == nullptr || q == 0
                        ? x
                        : x * complex_value{row[2 * (q - 1)], row[2 * (q - 1) + 1]};
    }
}

void scatter(const stage_geometry& g, const complex_value* points, index k, index j,
             complex_value* target) {
    for (index q = 0; q < g.r; ++q)
        target[((q * g.P + k) * g.m + j) * g.os] = points[q];
}

} // namespace

void generic_stage_kernel(const stage_record* stage, const void* source, void* target) {
    const uint64_t r = stage->r;
    size_t bytes = 0;
    if (r == 0 || !scratch_bytes(r, &bytes)) return;
    void* block = aligned_calloc(bytes);
    if (block == nullptr) return;
    const scratch_layout scratch = layout_of(block, r);
    fill_roots(scratch.roots, r, stage->sign);

    const stage_geometry g{static_cast<index>(r), static_cast<index>(stage->m),
                           static_cast<index>(stage->P), stage->in_stride, stage->out_stride};
    const auto* in = static_cast<const complex_value*>(source);
    auto* out = static_cast<complex_value*>(target);
    // Every butterfly is gathered completely before it is written back, so a first stage may
    // run in place.
    for (index k = 0; k < g.P; ++k)
        for (index j = 0; j < g.m; ++j) {
            gather(stage, g, in, k, j, scratch.points);
            transform(scratch, r);
            scatter(g, scratch.points, k, j, out);
        }
    aligned_free(block);
}

void generic_pair_stage_kernel(const stage_record* stage, const void* source, void* target) {
    generic_stage_kernel(stage, source, target);
    generic_stage_kernel(stage, static_cast<const complex_value*>(source) + 1,
                         static_cast<complex_value*>(target) + 1);
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
