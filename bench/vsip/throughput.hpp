// The throughput table of the library benchmarks: one row per operation, length and library
// thread count, the operation timed against a rival loop in the same process.
#pragma once

#include "bench/timing.hpp"
#include "qvsip.h"

#include <cstddef>
#include <cstdio>

namespace qvsip::bench {

inline double melem_per_s(std::size_t n, double ns) {
    return static_cast<double>(n) / ns * 1e3;
}

// Fewer repetitions where one call already takes milliseconds.
inline int samples_for(std::size_t n) {
    return n >= 10000000 ? 5 : 9;
}

inline void print_throughput_header(const char* rival_column) {
    std::printf("%-18s %10s %3s %12s %12s %8s\n", "operation", "n", "T", "ours Melem/s",
                rival_column, "ratio");
}

// Sets the library thread count, times both calls over n elements and prints the row; a ratio
// above 1 means ours is faster.
template <class Ours, class Rival>
void compare_throughput(const char* name, std::size_t n, int threads, Ours&& ours, Rival&& rival,
                        int samples, double target_ms = 20.0) {
    QVSIP_SetOmpThreadNum(threads);
    const double ours_ns = qtx::bench::median_ns_per_call(ours, samples, target_ms);
    const double rival_ns = qtx::bench::median_ns_per_call(rival, samples, target_ms);
    std::printf("%-18s %10zu %3d %12.1f %12.1f %8.2f\n", name, n, threads, melem_per_s(n, ours_ns),
                melem_per_s(n, rival_ns), rival_ns / ours_ns);
}

} // namespace qvsip::bench
