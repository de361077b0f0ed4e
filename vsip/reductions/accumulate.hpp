// Building blocks shared by the reductions: horizontal lane sums and the combination of
// per-thread partials into a shared accumulator.
#pragma once

#include "simd/simd.hpp"
#include "vsip/frame.hpp"

#include <atomic>
#include <cstdint>

namespace qvsip::reductions {

// (l0 + l1) + (l2 + l3).
inline float pairwise_lane_sum(qtx::simd::f32x4 v) {
    alignas(qtx::simd::vector_bytes) float lane[lane_count];
    qtx::simd::store(lane, v);
    return (lane[0] + lane[1]) + (lane[2] + lane[3]);
}

// Adds a thread's partial to the shared double by compare-and-swap on its 64-bit pattern.
inline void atomic_add(double& shared, double partial) {
    std::atomic_ref<double> target(shared);
    double seen = target.load(std::memory_order_relaxed);
    while (!target.compare_exchange_weak(seen, seen + partial, std::memory_order_relaxed)) {
    }
}

inline void atomic_add(std::uint64_t& shared, std::uint64_t partial) {
    std::atomic_ref<std::uint64_t>(shared).fetch_add(partial, std::memory_order_relaxed);
}

} // namespace qvsip::reductions
