// Direct transforms of the small prime lengths, in the symmetric-pair form: with the pairs
// s[j] = x[j] + x[N−j] and d[j] = x[j] − x[N−j], j = 1 … H = (N−1)/2,
//   X[m], X[N−m] = A[m] ± i·B[m],   A[m] = x[0] + Σ_j cos(2πmj/N)·s[j],
//                                   B[m] = Σ_j ∓sin(2πmj/N)·d[j]   (−sin forward),
// 2·H² real-by-complex multiply-adds whose constants are folded into the code. Every pair is
// broadcast to all complex lanes and each vector accumulates the outputs m, m+1, … of one block,
// so one transform fills the two lanes of a float vector. Every input is read before the first
// output is written: the kernels run in place, at any strides.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "fft/kernels/butterfly_support.hpp"
#include "fft/precision.hpp"
#include "simd/simd.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA::small_prime {

using kernels::butterfly_detail::compile_time_root;
using kernels::butterfly_detail::long_real;

// The primes up to 7 have butterflies of their own; the longer primes go to the chirp method
// (two transforms of a 7-smooth length M ≥ 2N − 1). On x86-64 the kernels still took 0.5 to
// 0.9 of the chirp method's time at 59 to 101, but their code grows as N² (about 2 MB per
// engine up to 101): the limit holds the growth to a few hundred kilobytes.
inline constexpr int max_small_prime = 61;

constexpr bool is_prime(int n) {
    if (n < 2) return false;
    for (int d = 2; d * d <= n; ++d)
        if (n % d == 0) return false;
    return true;
}

inline constexpr std::size_t small_prime_count = [] {
    std::size_t count = 0;
    for (int n = 8; n <= max_small_prime; ++n)
        count += is_prime(n) ? 1 : 0;
    return count;
}();

// The lengths with a kernel, ascending.
inline constexpr std::array<int, small_prime_count> small_primes = [] {
    std::array<int, small_prime_count> primes{};
    std::size_t i = 0;
    for (int n = 8; n <= max_small_prime; ++n)
        if (is_prime(n)) primes[i++] = n;
    return primes;
}();

// The constants of output block b for pair j (1 … H), in the lane layout of V: complex lane l
// serves output m = b·L + l + 1 and holds its constant in both parts. Lanes past the last
// output H hold 0 and are never stored.
template <int N, bool Forward, class V> struct block_constants {
    using R = typename V::value_type;
    static constexpr int L = simd::complex_lanes<R>;
    static constexpr int half = N / 2;
    static constexpr int blocks = (half + L - 1) / L;
    static constexpr int reals_per_block = 2 * L * half;

    // cos(2πmj/N) for the sums, or ∓sin(2πmj/N) (−sin forward) for the differences.
    static constexpr std::array<R, blocks * reals_per_block> table(bool sine) {
        std::array<R, blocks * reals_per_block> t{};
        for (int b = 0; b < blocks; ++b)
            for (int j = 1; j <= half; ++j)
                for (int l = 0; l < L; ++l) {
                    const int m = b * L + l + 1;
                    if (m > half) continue;
                    const auto root = compile_time_root(m * j, N);
                    const long_real c = sine ? (Forward ? -1 : 1) * root.s : root.c;
                    R* at = t.data() + b * reals_per_block + 2 * L * (j - 1) + 2 * l;
                    at[0] = at[1] = static_cast<R>(c);
                }
        return t;
    }
    alignas(simd::vector_bytes) static constexpr auto cosines = table(false);
    alignas(simd::vector_bytes) static constexpr auto sines = table(true);
};

// Output blocks accumulated together: each pair is read once per group of blocks (it may have
// been spilled), and the group's independent sums hide the latency of the multiply-adds.
inline constexpr int blocks_per_group = 4;

// X = DFT(x) of prime length N from span x to span y (complex_span: element, load and store
// forms at unit or run-time stride). The loops unroll completely: the pairs and sums are
// registers or stack slots, and the constants are loads from fixed addresses.
template <int N, bool Forward, class Span> QTX_SIMD_INLINE void transform(Span x, Span y) {
    using V = typename Span::V;
    using constants = block_constants<N, Forward, V>;
    constexpr int L = constants::L, half = constants::half, blocks = constants::blocks;
    constexpr int G = blocks_per_group;

    V sum[half], diff[half];
    const V x0 = simd::load_complex_dup(x.element(0));
#pragma GCC unroll 64
    for (int j = 0; j < half; ++j) {
        const V a = simd::load_complex_dup(x.element(j + 1));
        const V b = simd::load_complex_dup(x.element(N - 1 - j));
        sum[j] = simd::add(a, b);
        diff[j] = simd::sub(a, b);
    }
    V total = x0;
#pragma GCC unroll 64
    for (int j = 0; j < half; ++j)
        total = simd::add(total, sum[j]);

    // The constants of block b for pair j (from 0).
    const auto cosine = [](int b, int j) QTX_INLINE_LAMBDA {
        return simd::load(constants::cosines.data() + b * constants::reals_per_block + 2 * L * j);
    };
    const auto sine = [](int b, int j) QTX_INLINE_LAMBDA {
        return simd::load(constants::sines.data() + b * constants::reals_per_block + 2 * L * j);
    };
#pragma GCC unroll 64
    for (int g = 0; g < blocks; g += G) {
        V a[G], s[G];
#pragma GCC unroll 64
        for (int q = 0; q < G; ++q)
            if (g + q < blocks) a[q] = x0, s[q] = simd::mul(sine(g + q, 0), diff[0]);
#pragma GCC unroll 64
        for (int j = 0; j < half; ++j)
#pragma GCC unroll 64
            for (int q = 0; q < G; ++q)
                if (g + q < blocks) a[q] = simd::fma(cosine(g + q, j), sum[j], a[q]);
#pragma GCC unroll 64
        for (int j = 1; j < half; ++j)
#pragma GCC unroll 64
            for (int q = 0; q < G; ++q)
                if (g + q < blocks) s[q] = simd::fma(sine(g + q, j), diff[j], s[q]);
#pragma GCC unroll 64
        for (int q = 0; q < G; ++q) {
            if (g + q >= blocks) continue;
            const V first = simd::add_i(a[q], s[q]), second = simd::sub_i(a[q], s[q]);
            const int m = (g + q) * L + 1;
            if (m + L - 1 <= half) {
                y.store(m, first);
                y.store_mirror(N - m, second);
            } else {
                y.store_one(m, first);
                y.store_one(N - m, second);
            }
        }
    }
    y.store_one(0, total);
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA::small_prime
