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
