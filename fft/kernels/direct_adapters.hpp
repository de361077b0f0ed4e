// The table entries of the direct kernels: for one length and direction, one kernel per data
// layout. Declared here so the table can take their addresses without compiling the kernels;
// the members are defined in direct_layouts.hpp and instantiated in direct_kernels_*.cpp.
#pragma once

#include <cstdint>

#include "fft/kernels/stage_adapters.hpp"
#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE {

template <int N, bool Forward> struct direct_adapters {
    static void unit(void* out, const void* in, int64_t in_stride_bytes, int64_t out_stride_bytes,
                     const real* twiddles, const void* table);
    static void strided(void* out, const void* in, int64_t in_stride_bytes,
                        int64_t out_stride_bytes, const real* twiddles, const void* table);
    static void pair(void* out, const void* in, int64_t in_stride_bytes, int64_t out_stride_bytes,
                     const real* twiddles, const void* table) requires has_pair_kernels;
};

// The first radix of a two-radix length (the factorisation the general solver presets for it);
// a single-radix length is its own first radix.
template <int N>
inline constexpr int direct_first_radix = N == 30    ? 3
                                          : N == 60  ? 6
                                          : N == 64  ? 8
                                          : N == 120 ? 12
                                          : N == 128 ? 16
                                          : N == 256 ? 16
                                                     : N;

} // namespace qtx::QTX_ENGINE
