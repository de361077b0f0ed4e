// The passes that turn a complex transform into a transform of real data.
//
// A real sequence of even length 2m read as m complex values z[j] = x[2j] + i·x[2j+1] has the
// length-m transform Z; the split pass recovers the half spectrum X of the real sequence from
// Z, and the merge pass is its inverse (unscaled, so merge then a backward transform gives 2·x).
// Both walk the pairs (k, m − k) for k = 1 … ⌊m/2⌋, read both elements of a pair before writing
// either, and so run in place. They are written once and serve the r2c, c2r and r2r solvers:
// what differs between them is where X comes from or goes to, which a source or sink object
// supplies. The vector loops take four pairs per step, k walking up and m − k down; the
// one-pair tail uses the same lane arithmetic on one complex lane, so a pair gives the same
// bits whichever loop handles it (the threaded split relies on that).
#pragma once

#include <cstdint>

#include "fft/precision.hpp"
#include "fft/solvers/complex_span.hpp"
#include "simd/simd.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

namespace real_pass {

using V = simd::vec<real>;
inline constexpr uint64_t lanes = simd::complex_lanes<real>;
// Pairs per step of the vector loops.
inline constexpr uint64_t pairs_per_step = 4;
static_assert(pairs_per_step % lanes == 0);

// The two results of one pair: lane j of `low` belongs to element k + j, lane j of `high` to
// element m − k − j.
struct pair_values {
    V low, high;
};

// X[k] and X[m−k] from A = Z[k], B = Z[m−k] and w = w_k. With E = A + conj B, F = A − conj B
// and p + i·q = (−i·F)·w:  X[k] = (E + (p + i·q))/2,  X[m−k] = conj(E − (p + i·q))/2.
QTX_SIMD_INLINE pair_values split_lanes(V a, V b, V w) {
    const V b_conj = simd::conj(b);
    const V e = simd::add(a, b_conj), f = simd::sub(a, b_conj);
    const V pq = simd::cmul(simd::mul_neg_i(f), w);
    const V half = simd::set1(real(0.5));
    return {simd::mul(half, simd::add(e, pq)), simd::mul(half, simd::conj(simd::sub(e, pq)))};
}

// Z[k] and Z[m−k] from A = X[k], B = X[m−k] and w = w_k. With E and F as above and
// u + i·v = F·conj(w):  Z[k] = E + i·(u + i·v),  Z[m−k] = conj(E − i·(u + i·v)).
QTX_SIMD_INLINE pair_values merge_lanes(V a, V b, V w) {
    const V b_conj = simd::conj(b);
    const V e = simd::add(a, b_conj), f = simd::sub(a, b_conj);
    const V iuv = simd::mul_i(simd::cmul_conj(f, w));
    return {simd::add(e, iuv), simd::conj(simd::sub(e, iuv))};
}

// Runs step(k) for every vector of lanes pairs and tail(k) for every remaining pair of
// first … last, four pairs per vector step.
template <class Step, class Tail>
QTX_SIMD_INLINE void for_each_pair(uint64_t first, uint64_t last, Step step, Tail tail) {
    uint64_t k = first;
    for (; k + pairs_per_step <= last + 1; k += pairs_per_step) {
#pragma GCC unroll 4
        for (uint64_t v = k; v < k + pairs_per_step; v += lanes)
            step(v);
    }
    for (; k <= last; ++k)
        tail(k);
}

} // namespace real_pass

// Entries a half-length twiddle table of m pairs fills: w_k for k = 1 … ⌈m/2⌉ (at least one).
uint64_t half_twiddle_count(uint64_t m);
// Fills entry k − 1 with w_k = unit_root(−k, 2m) = exp(−πi·k/m) for k = 1 … half_twiddle_count(m).
void fill_half_twiddles(real* table, uint64_t m);

// The split pass for the pairs first … last (1 ≤ first, last ≤ m/2) from Z (m contiguous
// complex values) with the half-length twiddles w. The sink receives the halved spectrum:
//   sink.store(k, X[k …], X[m−k …])      lanes pairs from k on, as pair_values lanes,
//   sink.store_one(k, X[k], X[m−k])      one pair, lane 0.
// The end points X[0] and X[m] come from Z[0] alone: see split_end_points.
template <class Sink>
void split_pass(const real* Z, const real* w, uint64_t m, uint64_t first, uint64_t last,
                Sink& sink) {
    const complex_span<true> z{const_cast<real*>(Z), 1};
    real_pass::for_each_pair(
        first, last,
        [&](uint64_t k) {
            const real_pass::pair_values x = real_pass::split_lanes(z.load(k), z.load_mirror(m - k),
                                                                    simd::loadu(w + 2 * (k - 1)));
            sink.store(k, x.low, x.high);
        },
        [&](uint64_t k) {
            const real_pass::pair_values x = real_pass::split_lanes(
                z.load_one(k), z.load_one(m - k), simd::load_low_complex(w + 2 * (k - 1)));
            sink.store_one(k, x.low, x.high);
        });
}

// X[0] and X[m] are real: Re Z[0] + Im Z[0] and Re Z[0] − Im Z[0], handed to
// sink.end_points(sum, difference).
template <class Sink> void split_end_points(const real* Z, Sink& sink) {
    sink.end_points(Z[0] + Z[1], Z[0] - Z[1]);
}

// The merge pass for the pairs first … last into Z (m contiguous complex values, which may be
// the source's own storage). The source supplies X the way complex_span does: load(k) and
// load_mirror(m − k) for lanes pairs, load_one(k) and load_one(m − k) for one.
template <class Source>
void merge_pass(const Source& source, const real* w, real* Z, uint64_t m, uint64_t first,
                uint64_t last) {
    const complex_span<true> z{Z, 1};
    real_pass::for_each_pair(
        first, last,
        [&](uint64_t k) {
            const real_pass::pair_values r = real_pass::merge_lanes(
                source.load(k), source.load_mirror(m - k), simd::loadu(w + 2 * (k - 1)));
            z.store(k, r.low);
            z.store_mirror(m - k, r.high);
        },
        [&](uint64_t k) {
            const real_pass::pair_values r =
                real_pass::merge_lanes(source.load_one(k), source.load_one(m - k),
                                       simd::load_low_complex(w + 2 * (k - 1)));
            z.store_one(k, r.low);
            z.store_one(m - k, r.high);
        });
}

// Z[0] = (Re X[0] + Re X[m], Re X[0] − Re X[m]); the imaginary parts of X[0] and X[m] are
// never read.
inline void merge_end_point(real x0, real xm, real* Z) {
    const real sum = x0 + xm, difference = x0 - xm;
    Z[0] = sum;
    Z[1] = difference;
}

// One complex value as two reals, for the passes' scalar sources and sinks.
struct complex_parts {
    real re, im;
};

// A sink for kinds that write reals: the pass's vectors are taken apart and every pair goes to
// emit.pair(k, X[k], X[m−k]) as four reals; end points to emit.end_points(sum, difference).
template <class Emit> struct scalar_sink {
    Emit emit;
    QTX_SIMD_INLINE void store(uint64_t k, real_pass::V low, real_pass::V high) {
        constexpr uint64_t lanes = real_pass::lanes;
        real a[2 * lanes], b[2 * lanes];
        simd::storeu(a, low);
        simd::storeu(b, high);
        for (uint64_t j = 0; j < lanes; ++j)
            emit.pair(k + j, a[2 * j], a[2 * j + 1], b[2 * j], b[2 * j + 1]);
    }
    QTX_SIMD_INLINE void store_one(uint64_t k, real_pass::V low, real_pass::V high) {
        real a[2 * real_pass::lanes], b[2 * real_pass::lanes];
        simd::storeu(a, low);
        simd::storeu(b, high);
        emit.pair(k, a[0], a[1], b[0], b[1]);
    }
    void end_points(real sum, real difference) { emit.end_points(sum, difference); }
};

// A source for kinds whose X is spread over reals: fetch(k) returns X[k] as complex_parts.
template <class Fetch> struct scalar_source {
    Fetch fetch;
    QTX_SIMD_INLINE real_pass::V load(uint64_t k) const { return gather(k, true); }
    QTX_SIMD_INLINE real_pass::V load_mirror(uint64_t j) const { return gather(j, false); }
    QTX_SIMD_INLINE real_pass::V load_one(uint64_t k) const {
        const auto [re, im] = fetch(k);
        return simd::set_complex(re, im);
    }

  private:
    QTX_SIMD_INLINE real_pass::V gather(uint64_t k, bool upward) const {
        real values[2 * real_pass::lanes];
        for (uint64_t j = 0; j < real_pass::lanes; ++j) {
            const auto [re, im] = fetch(upward ? k + j : k - j);
            values[2 * j] = re;
            values[2 * j + 1] = im;
        }
        return simd::loadu(values);
    }
};

// ---- Odd lengths: the real sequence runs as a full-length complex transform ----------------

// b[t] = (x[t·stride], 0) for t < n.
void pack_real(const real* x, int64_t stride, uint64_t n, real* b);
// b[j] = (x[2j·stride], x[(2j+1)·stride]) for j < m.
void pack_pairs(const real* x, int64_t stride, uint64_t m, real* b);
// y[2j·stride] = Re b[j], y[(2j+1)·stride] = Im b[j] for j < m.
void unpack_pairs(const real* b, uint64_t m, real* y, int64_t stride);
// y[t·stride] = Re b[t] for t < n.
void real_parts(const real* b, uint64_t n, real* y, int64_t stride);

// The full spectrum b[0 … n−1] of a real sequence of odd length n from its half X[0 … n/2]:
// b[0] = X[0], b[k] = X[k] and b[n−k] = conj X[k]; fetch(k) returns X[k] as complex_parts.
template <class Fetch> void fill_hermitian(uint64_t n, Fetch fetch, real* b) {
    const auto [re0, im0] = fetch(0);
    b[0] = re0, b[1] = im0;
    for (uint64_t k = 1; 2 * k < n; ++k) {
        const auto [re, im] = fetch(k);
        b[2 * k] = re, b[2 * k + 1] = im;
        b[2 * (n - k)] = re, b[2 * (n - k) + 1] = -im;
    }
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
