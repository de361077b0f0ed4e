// A reduction split into chunks: serially one chunk, otherwise one parallel region (when it pays
// for its team) whose threads each reduce a contiguous chunk and fold it into the total.
#pragma once

#include "vsip/frame.hpp"

#include <cstdint>
#include <mutex>

namespace qvsip::reductions {

// chunk(first, last) -> Partial over [0, n); merge(total, partial) -> Partial must accept
// Partial{} as its neutral total and give the same result whatever order the chunks arrive in.
template <class Partial, class Chunk, class Merge>
Partial reduce_in_chunks(int threads, std::uint64_t n, const Chunk& chunk, const Merge& merge) {
    if (threads == 1) return chunk(0, n);
    Partial total{};
    std::mutex lock;
    auto kernel = [&](std::uint64_t first, std::uint64_t last) {
        const Partial partial = chunk(first, last);
        const std::lock_guard<std::mutex> guard(lock);
        total = merge(total, partial);
    };
    frame::region_if_it_pays(threads, 0, n, 1, frame::range_kernel(kernel),
                             frame::light_elements_per_thread);
    return total;
}

} // namespace qvsip::reductions
