// The walk over the stages of a length split into radices, so that the stage geometry is
// computed in one place for the general solver's stage table and the direct kernels' twiddles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qtx::kernels {

// fn(s, r, P, m) for every stage s in order: r its radix, P the product of the earlier radices,
// m = n / (P·r) the columns left after it.
template <class Fn> void for_each_stage(uint64_t n, std::span<const uint64_t> radices, Fn&& fn) {
    uint64_t P = 1, m = n;
    for (std::size_t s = 0; s < radices.size(); ++s) {
        const uint64_t r = radices[s];
        m /= r;
        fn(static_cast<int>(s), r, P, m);
        P *= r;
    }
}

} // namespace qtx::kernels
