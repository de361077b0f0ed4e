// Butterflies of composite radix R = R1·R2 from R2 butterflies of radix R1 followed by R1 of
// radix R2. Coprime factors use the prime-factor index maps, which need no twiddles; otherwise
// the Cooley-Tukey maps with constant twiddles ω_R^(n2·k1) between the two passes.
#pragma once

#include <numeric>

#include "fft/kernels/butterfly_support.hpp"

namespace qtx::kernels::inline QTX_ISA {

template <int R, bool Forward, class V> [[gnu::always_inline]] inline void butterfly(V (&x)[R]);

namespace butterfly_detail {

// Where input n1 of first-pass butterfly n2 comes from, which twiddle exponent its output k1
// gets, and where output k2 of second-pass butterfly k1 goes.
template <int R1, int R2> struct two_factor_map {
    static constexpr int R = R1 * R2;
    static constexpr bool coprime = std::gcd(R1, R2) == 1;

    // Prime-factor: n = (R2·n1 + R1·n2) mod R makes ω_R^(n·k) = ω_R1^(n1·k) · ω_R2^(n2·k), so
    // output k is the one with k ≡ k1 (mod R1) and k ≡ k2 (mod R2).
    // Cooley-Tukey: n = R2·n1 + n2, k = k1 + R1·k2.
    static constexpr int input(int n1, int n2) {
        return coprime ? (R2 * n1 + R1 * n2) % R : R2 * n1 + n2;
    }
    static constexpr int twiddle_exponent(int n2, int k1) { return coprime ? 0 : n2 * k1; }
    static constexpr int output(int k1, int k2) {
        if (!coprime) return k1 + R1 * k2;
        int k = k1;
        while (k % R2 != k2)
            k += R1;
        return k;
    }
};

template <int R1, int R2, bool Forward, class V>
[[gnu::always_inline]] inline void composite_radix(V (&x)[R1 * R2]) {
    using map = two_factor_map<R1, R2>;
    V column[R2][R1];
    static_for<R2>([&](auto n2) QTX_INLINE_LAMBDA {
        static_for<R1>([&](auto n1) QTX_INLINE_LAMBDA { column[n2][n1] = x[map::input(n1, n2)]; });
        butterfly<R1, Forward>(column[n2]);
        static_for<R1>([&](auto k1) QTX_INLINE_LAMBDA {
            column[n2][k1] = rotate<map::R, map::twiddle_exponent(n2, k1), Forward>(column[n2][k1]);
        });
    });
    static_for<R1>([&](auto k1) QTX_INLINE_LAMBDA {
        V row[R2];
        static_for<R2>([&](auto n2) QTX_INLINE_LAMBDA { row[n2] = column[n2][k1]; });
        butterfly<R2, Forward>(row);
        static_for<R2>([&](auto k2) QTX_INLINE_LAMBDA { x[map::output(k1, k2)] = row[k2]; });
    });
}

} // namespace butterfly_detail
} // namespace qtx::kernels::inline QTX_ISA
