// Radix-r DFT butterflies on SIMD vectors: X[q] = Σ_{q' < r} x[q'] · ω^(q·q'), in place and
// unscaled, with ω = exp(-2πi/r) forward and exp(+2πi/r) backward. Every complex lane of V is an
// independent transform, so one template serves every backend and both precisions; the
// arithmetic uses only the SIMD layer's operations, found by argument-dependent lookup.
#pragma once

#include "fft/kernels/butterfly_composite.hpp"
#include "fft/kernels/butterfly_small.hpp"
#include "fft/kernels/kernel_sizes.hpp"

namespace qtx::kernels::inline QTX_ISA {

template <int R> inline constexpr bool has_butterfly = is_dedicated_radix(R);

namespace butterfly_detail {

// First-pass radix of the composite butterflies (the second pass has radix R / factor).
template <int R> inline constexpr int first_factor = find_dedicated_radix(R).first_factor;

} // namespace butterfly_detail

template <int R, bool Forward, class V> [[gnu::always_inline]] inline void butterfly(V (&x)[R]) {
    static_assert(has_butterfly<R>, "no butterfly for this radix");
    if constexpr (R == 2)
        butterfly_detail::radix2<Forward>(x);
    else if constexpr (R == 4)
        butterfly_detail::radix4<Forward>(x);
    else if constexpr (R == 10)
        butterfly_detail::radix10<Forward>(x);
    else if constexpr (butterfly_detail::first_factor<R> == 0)
        butterfly_detail::odd_radix<R, Forward>(x);
    else
        butterfly_detail::composite_radix<butterfly_detail::first_factor<R>,
                                          R / butterfly_detail::first_factor<R>, Forward>(x);
}

} // namespace qtx::kernels::inline QTX_ISA
