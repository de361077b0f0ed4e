// What every library test shares: the complex storages, the sentinel that fills memory an
// operation must leave untouched, and the library thread count for one scope.
#pragma once

#include "qvsip.h"

#include <bit>
#include <cstdint>

namespace qvsip::test {

// Interleaved: (re, im) pairs in one array; split: the parts in two arrays.
enum class Storage { interleaved, split };

// Fills the storage around (and, until written, inside) every test view, so that a write outside
// a view shows.
inline constexpr float kSentinel = -12345.5f;

inline std::uint32_t bits(float x) {
    return std::bit_cast<std::uint32_t>(x);
}

// Sets the library thread count for one scope and restores 1.
class ThreadScope {
  public:
    explicit ThreadScope(int threads) { QVSIP_SetOmpThreadNum(threads); }
    ~ThreadScope() { QVSIP_SetOmpThreadNum(1); }
    ThreadScope(const ThreadScope&) = delete;
    ThreadScope& operator=(const ThreadScope&) = delete;
};

} // namespace qvsip::test
