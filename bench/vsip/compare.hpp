// Library benchmarks: an operation timed against a rival loop in the same process, one row per
// operation, length and library thread count. QTX_BENCH_MAX_N=<n> in the environment skips
// the rows longer than n, for a quick run.
#pragma once

#include "bench/ratio_table.hpp"
#include "bench/timing.hpp"
#include "qvsip.h"

#include <cstddef>
#include <cstdlib>
#include <string>

namespace qvsip::bench {

template <std::size_t Rivals> using comparison_table_of = qtx::bench::ratio_table<3, Rivals>;
using comparison_table = comparison_table_of<1>;

// The table of a program whose rival loops are named `rivals` (plain, libm, ...).
template <std::size_t Rivals>
comparison_table_of<Rivals> comparison_table_against(const char* const (&rivals)[Rivals]) {
    return comparison_table_of<Rivals>({{"operation", -18}, {"n", 10}, {"T", 3}}, rivals);
}
inline comparison_table comparison_table_against(const char* rival) {
    const char* const rivals[] = {rival};
    return comparison_table_against(rivals);
}

// Fewer repetitions where one call already takes milliseconds.
inline int samples_for(std::size_t n) {
    return n >= 10000000 ? 5 : 9;
}

inline bool within_length_limit(std::size_t n) {
    const char* limit = std::getenv("QTX_BENCH_MAX_N");
    return !limit || !*limit || n <= std::strtoull(limit, nullptr, 10);
}

// Sets the library thread count, times ours and each rival and adds the row.
template <std::size_t Rivals, class Ours, class... Rival>
void compare_all(comparison_table_of<Rivals>& table, const char* name, std::size_t n, int threads,
                 int samples, double target_ms, Ours&& ours, Rival&&... rival) {
    static_assert(sizeof...(Rival) == Rivals);
    if (!within_length_limit(n)) return;
    QVSIP_SetOmpThreadNum(threads);
    const double ours_ns = qtx::bench::median_ns_per_call(ours, samples, target_ms);
    table.add({name, std::to_string(n), std::to_string(threads)}, ours_ns,
              {qtx::bench::median_ns_per_call(rival, samples, target_ms)...});
}

template <class Ours, class Rival>
void compare(comparison_table& table, const char* name, std::size_t n, int threads, Ours&& ours,
             Rival&& rival, int samples, double target_ms = 20.0) {
    compare_all(table, name, n, threads, samples, target_ms, ours, rival);
}

} // namespace qvsip::bench
