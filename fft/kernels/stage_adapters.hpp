// The table entries of the dedicated stage kernels: for one radix and direction, one adapter per
// row kind that unpacks the stage record into the kernel's arguments. Declared here so the tables
// can take their addresses without compiling the kernels; the members are defined in
// stage_layouts.hpp and instantiated radix by radix in the stage_kernels_radix_*.cpp files.
#pragma once

#include "fft/kernels/stage_kernels.hpp"
#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE {

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

} // namespace qtx::QTX_ENGINE
