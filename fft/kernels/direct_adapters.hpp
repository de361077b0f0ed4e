// The table entries of the direct kernels: for one length and direction, one kernel per data
// layout. Declared here so the table can take their addresses without compiling the kernels;
// the members are defined in direct_layouts.hpp and instantiated slice by slice in
// direct_kernels_*.cpp.
#pragma once

#include <cstdint>
#include <iterator>

#include "fft/kernels/kernel_sizes.hpp"
#include "fft/kernels/stage_adapters.hpp"
#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

template <int N, bool Forward> struct direct_adapters {
    static void unit(void* out, const void* in, int64_t in_stride_bytes, int64_t out_stride_bytes,
                     const real* twiddles, const void* table);
    static void strided(void* out, const void* in, int64_t in_stride_bytes,
                        int64_t out_stride_bytes, const real* twiddles, const void* table);
    static void pair(void* out, const void* in, int64_t in_stride_bytes, int64_t out_stride_bytes,
                     const real* twiddles, const void* table) requires has_pair_kernels;
};

// The placeholders an instantiation file names past its slice's end.
template <int N, bool Forward>
requires(N < 0) struct direct_adapters<N, Forward> {
};

// The first radix of length N: the general solver's first radix for it.
template <int N>
inline constexpr int direct_first_radix = kernels::find_direct_length(N)->first_radix;

// Positions of kernels::direct_lengths per instantiation file: the single butterflies, then the
// two-pass lengths in two files.
inline constexpr int single_butterfly_lengths = std::size(kernels::dedicated_radices);
inline constexpr kernels::table_slice direct_kernel_slices[] = {
    {0, single_butterfly_lengths},
    {single_butterfly_lengths, single_butterfly_lengths + 3},
    {single_butterfly_lengths + 3, static_cast<int>(kernels::direct_length_count)}};
static_assert(kernels::partitions(direct_kernel_slices, kernels::direct_lengths.size()));

constexpr int direct_kernel_length(int slice, int place) {
    return kernels::size_at_place(direct_kernel_slices, slice, place,
                                  [](std::size_t i) { return kernels::direct_lengths[i].n; });
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA

// Both directions of the length at place j of direct kernel slice k.
#define QTX_INSTANTIATE_DIRECT_ADAPTERS(k, j)                                                      \
    template struct direct_adapters<direct_kernel_length(k, j), true>;                             \
    template struct direct_adapters<direct_kernel_length(k, j), false>;
