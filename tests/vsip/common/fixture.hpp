// What every library test shares: the complex storages, the sentinel that fills memory an
// operation must leave untouched, and the library thread count for one scope.
#pragma once

#include "qvsip.h"

#include <bit>
#include <cstdint>

namespace qvsip::test {

// Interleaved: (re, im) pairs in one array; split: the parts in two arrays.
enum class storage_kind { interleaved, split };

// Fills the storage around (and, until written, inside) every test view, so that a write outside
// a view shows.
inline constexpr float sentinel = -12345.5f;

inline std::uint32_t bits(float x) {
    return std::bit_cast<std::uint32_t>(x);
}

// Sets the library thread count for one scope and restores 1.
class thread_scope {
  public:
    explicit thread_scope(int threads) { QVSIP_SetOmpThreadNum(threads); }
    ~thread_scope() { QVSIP_SetOmpThreadNum(1); }
    thread_scope(const thread_scope&) = delete;
    thread_scope& operator=(const thread_scope&) = delete;
};

} // namespace qvsip::test
