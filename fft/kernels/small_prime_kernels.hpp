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

// The primes up to 7 have butterflies of their own. Above this limit the chirp method (two
// transforms of a 7-smooth length M ≥ 2N − 1) is faster than the quadratic sums.
inline constexpr int max_small_prime = 31;

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

// X = DFT(x) of prime length N from span x to span y (complex_span: element, load and store
// forms at unit or run-time stride). The loops unroll completely: the pairs stay in registers
// and the constants are loads from fixed addresses.
template <int N, bool Forward, class Span> QTX_SIMD_INLINE void transform(Span x, Span y) {
    using V = typename Span::V;
    using constants = block_constants<N, Forward, V>;
    constexpr int L = constants::L, half = constants::half;

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

#pragma GCC unroll 64
    for (int b = 0; b < constants::blocks; ++b) {
        const auto* cosines = constants::cosines.data() + b * constants::reals_per_block;
        const auto* sines = constants::sines.data() + b * constants::reals_per_block;
        V a = x0, s = simd::mul(simd::load(sines), diff[0]);
#pragma GCC unroll 64
        for (int j = 0; j < half; ++j)
            a = simd::fma(simd::load(cosines + 2 * L * j), sum[j], a);
#pragma GCC unroll 64
        for (int j = 1; j < half; ++j)
            s = simd::fma(simd::load(sines + 2 * L * j), diff[j], s);
        const V first = simd::add_i(a, s), second = simd::sub_i(a, s);
        const int m = b * L + 1;
        if (m + L - 1 <= half) {
            y.store(m, first);
            y.store_mirror(N - m, second);
        } else {
            y.store_one(m, first);
            y.store_one(N - m, second);
        }
    }
    y.store_one(0, total);
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA::small_prime
