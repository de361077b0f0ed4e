// The OpenMP side of the operation skeleton; the only place the library opens parallel regions.
#include "vsip/frame.hpp"

#include <omp.h>

#include <algorithm>

namespace qvsip::frame {

range chunk_of(std::uint64_t units, std::uint64_t parts, std::uint64_t index) {
    const std::uint64_t base = units / parts;
    const std::uint64_t larger = units % parts; // threads taking base + 1 units
    if (index < larger) return {index * (base + 1), (index + 1) * (base + 1)};
    const std::uint64_t begin = larger + index * base;
    return {begin, begin + base};
}

int region_thread_request(int threads) {
    if (threads <= 0) return omp_get_max_threads();
    return std::min(threads, max_region_threads);
}

namespace {

// The team size a region of the thread count gets, or 0 when the runtime may choose another.
int foreseen_team_size(int threads) {
    if (omp_get_active_level() >= omp_get_max_active_levels()) return 1;
    if (omp_in_parallel() || omp_get_dynamic()) return 0;
    return std::max(1, std::min(region_thread_request(threads), omp_get_thread_limit()));
}

} // namespace

std::uint64_t inline_region(int threads, std::uint64_t first, std::uint64_t last,
                            std::uint64_t unit, range_kernel kernel) {
    const std::uint64_t units = (last - first) / unit;
    const auto team = static_cast<std::uint64_t>(std::max(1, foreseen_team_size(threads)));
    for (std::uint64_t index = 0; index < team; ++index) {
        const range share = chunk_of(units, team, index);
        if (!share.empty()) kernel(first + share.begin * unit, first + share.end * unit);
    }
    return first + units * unit;
}

bool region_pays(int threads, std::uint64_t count, std::uint64_t per_thread) {
    if (per_thread == 0) return true;
    const int team = foreseen_team_size(threads);
    return team == 0 || count / static_cast<std::uint64_t>(team) >= per_thread;
}

std::uint64_t parallel_region(int threads, std::uint64_t first, std::uint64_t last,
                              std::uint64_t unit, range_kernel kernel) {
    const std::uint64_t units = (last - first) / unit;
#pragma omp parallel num_threads(region_thread_request(threads))
    {
        const range share = chunk_of(units, static_cast<std::uint64_t>(omp_get_num_threads()),
                                     static_cast<std::uint64_t>(omp_get_thread_num()));
        if (!share.empty()) kernel(first + share.begin * unit, first + share.end * unit);
    }
    return first + units * unit;
}

} // namespace qvsip::frame
