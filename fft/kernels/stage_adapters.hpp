// The table entries of the dedicated stage kernels: for one radix and direction, one adapter per
// row kind that unpacks the stage record into the kernel's arguments. Declared here so the tables
// can take their addresses without compiling the kernels; the members are defined in
// stage_layouts.hpp and instantiated slice by slice in the stage_kernels_radix_*.cpp files.
#pragma once

#include <iterator>

#include "fft/kernels/kernel_sizes.hpp"
#include "fft/kernels/stage_kernels.hpp"
#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

// Only the single-precision engine, whose vectors hold two complex values, has pair kernels.
inline constexpr bool has_pair_kernels = !is_double;

template <int R, bool Forward> struct radix_adapters {
    static void first_unit(const stage_record* stage, const void* source, void* target);
    static void first_strided(const stage_record* stage, const void* source, void* target);
    static void first_pair(const stage_record* stage, const void* source,
                           void* target) requires has_pair_kernels;
    static void middle(const stage_record* stage, const void* source, void* target);
    static void middle_pair(const stage_record* stage, const void* source,
                            void* target) requires has_pair_kernels;
    static void last_unit(const stage_record* stage, const void* source, void* target);
    static void last_strided(const stage_record* stage, const void* source, void* target);
    static void last_pair(const stage_record* stage, const void* source,
                          void* target) requires has_pair_kernels;
};

// The placeholders an instantiation file names past its slice's end.
template <int R, bool Forward>
requires(R < 0) struct radix_adapters<R, Forward> {
};

// Positions of kernels::dedicated_radices per instantiation file: radices 2 to 6, 7 to 12, and
// 16 and 32, whose butterflies take longest to compile.
inline constexpr kernels::table_slice stage_kernel_slices[] = {{0, 5}, {5, 10}, {10, 12}};
static_assert(kernels::partitions(stage_kernel_slices, std::size(kernels::dedicated_radices)));

constexpr int stage_kernel_radix(int slice, int place) {
    return kernels::size_at_place(stage_kernel_slices, slice, place, [](std::size_t i) {
        return kernels::dedicated_radices[i].radix;
    });
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA

// Both directions of the radix at place j of stage kernel slice k.
#define QTX_INSTANTIATE_RADIX_ADAPTERS(k, j)                                                       \
    template struct radix_adapters<stage_kernel_radix(k, j), true>;                                \
    template struct radix_adapters<stage_kernel_radix(k, j), false>;
