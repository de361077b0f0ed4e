#pragma once
// Backend-independent definitions: every vector is 128 bits of float or double lanes, with
// complex values stored interleaved as [re0, im0, re1, im1, ...].
#include <concepts>
#include <cstddef>

#include "simd/isa.hpp"

// Every SIMD operation is a handful of instructions; a call would cost more than the work.
#define QTX_SIMD_INLINE [[gnu::always_inline]] inline

namespace qtx::simd::inline QTX_ISA {

inline constexpr std::size_t vector_bytes = 16;

template <class R>
concept simd_real = std::same_as<R, float> || std::same_as<R, double>;

// Real lanes per vector: 4 floats or 2 doubles.
template <simd_real R> inline constexpr int lanes = int(vector_bytes / sizeof(R));

// Complex values per vector: 2 for float, 1 for double.
template <simd_real R> inline constexpr int complex_lanes = lanes<R> / 2;

template <class T, class... Ts>
concept one_of = (std::same_as<T, Ts> || ...);

// A backend vector type: 16 bytes holding `value_type` lanes.
template <class V>
concept simd_vec = simd_real<typename V::value_type> && sizeof(V) == vector_bytes;

// All lanes +0.
template <simd_vec V> QTX_SIMD_INLINE V zero() {
    return V{};
}

// Cache hints shared by the hardware backends (the scalar backend makes them no-ops).
namespace hardware {

// Fetches the line at p for writing and keeps it in every cache level.
QTX_SIMD_INLINE void prefetch_write(const void* p) {
    __builtin_prefetch(p, 1, 3);
}

// Fetches the line at p for writing that will not be reused soon (non-temporal).
QTX_SIMD_INLINE void prefetch_write_stream(const void* p) {
    __builtin_prefetch(p, 1, 0);
}

} // namespace hardware
} // namespace qtx::simd::inline QTX_ISA
