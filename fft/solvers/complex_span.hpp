// Complex values in a real array at a stride counted in complex values, the one accessor the
// solvers' vector loops read and write them through.
#pragma once

#include <cstdint>

#include "fft/precision.hpp"
#include "simd/simd.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

// Complex lanes in reverse order ([a1, a0] for two lanes; nothing to do for one).
template <class Vec> QTX_SIMD_INLINE Vec reverse_lanes(Vec v) {
    if constexpr (simd::complex_lanes<typename Vec::value_type> == 2)
        return simd::swap_complex(v);
    else
        return v;
}

// Complex values at a stride counted in complex values, or at unit stride known at compile time.
// `mirror` forms read or write lanes X[j], X[j − 1], …: the second elements of the pairs.
template <bool Unit> struct complex_span {
    using V = simd::vec<real>;
    static constexpr uint64_t lanes = simd::complex_lanes<real>;

    real* at;
    int64_t stride;

    QTX_SIMD_INLINE real* element(uint64_t k) const {
        return at + reals_per_complex * static_cast<int64_t>(k) * (Unit ? 1 : stride);
    }
    QTX_SIMD_INLINE V load(uint64_t k) const {
        if constexpr (Unit)
            return simd::loadu(element(k));
        else
            return simd::load_complex_strided(element(k), reals_per_complex * stride);
    }
    QTX_SIMD_INLINE V load_mirror(uint64_t j) const {
        if constexpr (Unit)
            return reverse_lanes(simd::loadu(element(j + 1 - lanes)));
        else
            return simd::load_complex_strided(element(j), -reals_per_complex * stride);
    }
    QTX_SIMD_INLINE void store(uint64_t k, V v) const {
        if constexpr (Unit)
            simd::storeu(element(k), v);
        else
            simd::store_complex_strided(element(k), reals_per_complex * stride, v);
    }
    QTX_SIMD_INLINE void store_mirror(uint64_t j, V v) const {
        if constexpr (Unit)
            simd::storeu(element(j + 1 - lanes), reverse_lanes(v));
        else
            simd::store_complex_strided(element(j), -reals_per_complex * stride, v);
    }
    QTX_SIMD_INLINE V load_one(uint64_t k) const { return simd::load_low_complex(element(k)); }
    QTX_SIMD_INLINE void store_one(uint64_t k, V v) const {
        simd::store_low_complex(element(k), v);
    }
};

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
