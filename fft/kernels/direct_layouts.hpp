// The direct kernels, built from the stage templates: a single-radix length is one first-stage
// butterfly (all inputs loaded before any output is stored, so it runs in place); a two-radix
// length N = R0·R1 runs a first stage of radix R0 into a local work area and a last stage of
// radix R1 with the planned twiddles from there into the output, so it too runs in place.
#pragma once

#include <cstdint>
#include <type_traits>

#include "fft/kernels/direct_adapters.hpp"
#include "fft/kernels/stage_layouts.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA::stage_layout {

// Per data layout: the first pass's lanes, the last pass's layout and the work area's element
// stride in bytes.
struct direct_unit_layout {
    using first_lanes = adjacent_lanes;
    using last = last_unit_layout;
    static constexpr std::int64_t work_stride_bytes = complex_bytes;
};
struct direct_strided_layout {
    using first_lanes = spaced_lanes;
    using last = last_strided_layout;
    static constexpr std::int64_t work_stride_bytes = complex_bytes;
};
struct direct_pair_layout {
    using first_lanes = pair_lanes;
    using last = last_pair_layout;
    static constexpr std::int64_t work_stride_bytes = 2 * complex_bytes;
};

inline constexpr std::size_t work_alignment = 64;

template <int N, bool Forward, class Layout>
QTX_SIMD_INLINE void direct_transform(void* out, const void* in, std::int64_t in_stride_bytes,
                                      std::int64_t out_stride_bytes, const real* twiddles) {
    constexpr int R0 = direct_first_radix<N>, R1 = N / R0;
    auto* target = static_cast<real*>(out);
    const auto* source = static_cast<const real*>(in);
    if constexpr (R1 == 1) {
        // One butterfly: lane 0 alone, or the whole vector when it holds one transform.
        using lanes = std::conditional_t<Layout::first_lanes::width == 1,
                                         typename Layout::first_lanes, low_lane>;
        radix_group<N, Forward>(source, reals_of(in_stride_bytes), lanes{}, target,
                                reals_of(out_stride_bytes), lanes{}, no_twiddles{});
    } else {
        constexpr index work_reals = N * (Layout::work_stride_bytes / sizeof(real));
        alignas(work_alignment) real work[work_reals];
        first_stage<R0, Forward, typename Layout::first_lanes>(work, source, R1, in_stride_bytes,
                                                               Layout::work_stride_bytes);
        last_stage<R1, Forward, typename Layout::last>(target, work, twiddles, R0,
                                                       out_stride_bytes);
    }
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA::stage_layout

namespace qtx::QTX_ENGINE::inline QTX_ISA {

template <int N, bool Forward>
void direct_adapters<N, Forward>::unit(void* out, const void* in, int64_t, int64_t,
                                       const real* twiddles, const void*) {
    stage_layout::direct_transform<N, Forward, stage_layout::direct_unit_layout>(
        out, in, complex_bytes, complex_bytes, twiddles);
}

template <int N, bool Forward>
void direct_adapters<N, Forward>::strided(void* out, const void* in, int64_t in_stride_bytes,
                                          int64_t out_stride_bytes, const real* twiddles,
                                          const void*) {
    stage_layout::direct_transform<N, Forward, stage_layout::direct_strided_layout>(
        out, in, in_stride_bytes, out_stride_bytes, twiddles);
}

template <int N, bool Forward>
void direct_adapters<N, Forward>::pair(void* out, const void* in, int64_t in_stride_bytes,
                                       int64_t out_stride_bytes, const real* twiddles,
                                       const void*) requires has_pair_kernels {
    stage_layout::direct_transform<N, Forward, stage_layout::direct_pair_layout>(
        out, in, in_stride_bytes, out_stride_bytes, twiddles);
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
