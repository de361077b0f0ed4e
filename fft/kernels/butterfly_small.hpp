// Butterflies computed directly from their inputs: radix 2 and 4, the odd radices by pairing
// x[k] with x[R-k], and radix 10 by pairing around x0 and x5.
#pragma once

#include "fft/kernels/butterfly_support.hpp"

namespace qtx::kernels::inline QTX_ISA::butterfly_detail {

template <bool Forward, class V> [[gnu::always_inline]] inline void radix2(V (&x)[2]) {
    const V x0 = x[0];
    x[0] = add(x0, x[1]);
    x[1] = sub(x0, x[1]);
}

// X1 and X3 are (x0 - x2) ∓ i·(x1 - x3).
template <bool Forward, class V> [[gnu::always_inline]] inline void radix4(V (&x)[4]) {
    const V sum02 = add(x[0], x[2]), diff02 = sub(x[0], x[2]);
    const V sum13 = add(x[1], x[3]), diff13 = sub(x[1], x[3]);
    x[0] = add(sum02, sum13);
    x[2] = sub(sum02, sum13);
    x[1] = Forward ? sub_i(diff02, diff13) : add_i(diff02, diff13);
    x[3] = Forward ? add_i(diff02, diff13) : sub_i(diff02, diff13);
}

// Sine constant of a butterfly: +sin backward, -sin forward, so that every output pair is
// A + i·B and A - i·B whatever the direction.
template <int R, int K, bool Forward>
inline constexpr long_real directed_sin = (Forward ? -1 : 1) * compile_time_root(K, R).s;

// sum[j] and diff[j] = x[j+1] ± x[R-1-j]: every root's real part multiplies a sum and its
// imaginary part a difference, so X[m] and X[R-m] share all products:
//   X[m], X[R-m] = x0 + Σ_k cos(2πmk/R)·sum  ±  i·Σ_k ±sin(2πmk/R)·diff.
template <int R, bool Forward, class V> [[gnu::always_inline]] inline void odd_radix(V (&x)[R]) {
    static_assert(R % 2 == 1);
    constexpr int half = R / 2;
    V sum[half], diff[half];
    static_for<half>([&](auto j) QTX_INLINE_LAMBDA {
        sum[j] = add(x[j + 1], x[R - 1 - j]);
        diff[j] = sub(x[j + 1], x[R - 1 - j]);
    });
    const V x0 = x[0];
    V total = sum[0];
    static_for<half - 1>([&](auto j) QTX_INLINE_LAMBDA { total = add(total, sum[j + 1]); });
    x[0] = add(x0, total);

    static_for<half>([&](auto m) QTX_INLINE_LAMBDA {
        V a = x0;
        static_for<half>([&](auto k) QTX_INLINE_LAMBDA {
            a = add_product<compile_time_root((m + 1) * (k + 1), R).c>(a, sum[k]);
        });
        // sin(2π(m+1)/R) > 0, so the first product is a plain multiplication.
        V b = mul(real_constant<V>(directed_sin<R, m + 1, Forward>), diff[0]);
        static_for<half - 1>([&](auto k) QTX_INLINE_LAMBDA {
            constexpr int j = (m + 1) * (k + 2) % R; // fold onto the constant of index ≤ R/2
            constexpr long_real s =
                j <= half ? directed_sin<R, j, Forward> : -directed_sin<R, R - j, Forward>;
            b = add_product<s>(b, diff[k + 1]);
        });
        x[m + 1] = add_i(a, b);
        x[R - 1 - m] = sub_i(a, b);
    });
}

// Radix 10 pairs x[k] with x[10-k] and combines the pairs of k and 5-k, so that the products
// are shared by four outputs:
//   even outputs from a0 = x0 + x5 and the pair sums E, H; odd outputs from b0 = x0 - x5 and F, G.
template <bool Forward, class V> [[gnu::always_inline]] inline void radix10(V (&x)[10]) {
    const V c1 = real_constant<V>(compile_time_root(1, 10).c);   // cos(π/5)
    const V c2 = real_constant<V>(compile_time_root(2, 10).c);   // cos(2π/5)
    const V s1 = real_constant<V>(directed_sin<10, 1, Forward>); // ±sin(π/5)
    const V s2 = real_constant<V>(directed_sin<10, 2, Forward>); // ±sin(2π/5)

    const V a0 = add(x[0], x[5]), b0 = sub(x[0], x[5]);
    const V S1 = add(x[1], x[9]), D1 = sub(x[1], x[9]);
    const V S4 = add(x[4], x[6]), D4 = sub(x[4], x[6]);
    const V S2 = add(x[2], x[8]), D2 = sub(x[2], x[8]);
    const V S3 = add(x[3], x[7]), D3 = sub(x[3], x[7]);

    const V E1 = add(S1, S4), F1 = sub(S1, S4), G1 = add(D1, D4), H1 = sub(D1, D4);
    const V E2 = add(S2, S3), F2 = sub(S2, S3), G2 = add(D2, D3), H2 = sub(D2, D3);

    x[0] = add(a0, add(E1, E2));
    x[5] = sub(b0, sub(F1, F2));

    const V A1 = fma(c2, F2, fma(c1, F1, b0)), B1 = fma(s2, G2, mul(s1, G1));
    const V A3 = fnma(c1, F2, fnma(c2, F1, b0)), B3 = fnma(s1, G2, mul(s2, G1));
    const V A2 = fma(c2, E1, fnma(c1, E2, a0)), B2 = fma(s2, H1, mul(s1, H2));
    const V A4 = fma(c2, E2, fnma(c1, E1, a0)), B4 = fnma(s2, H2, mul(s1, H1));

    x[1] = add_i(A1, B1);
    x[9] = sub_i(A1, B1);
    x[3] = add_i(A3, B3);
    x[7] = sub_i(A3, B3);
    x[2] = add_i(A2, B2);
    x[8] = sub_i(A2, B2);
    x[4] = add_i(A4, B4);
    x[6] = sub_i(A4, B4);
}

} // namespace qtx::kernels::inline QTX_ISA::butterfly_detail
