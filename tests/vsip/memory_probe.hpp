// Test helper: replaces the library's record memory functions with ones that count live
// allocations and can be told to fail after a number of successes.
#pragma once

#include "vsip/record.hpp"

#include <cstdlib>

namespace qvsip::test {

class memory_probe {
  public:
    memory_probe() : previous_(exchange_record_memory({&allocate, &release})) {
        live_ = 0;
        allocations_ = 0;
        fail_after_ = -1;
    }
    ~memory_probe() { exchange_record_memory(previous_); }
    memory_probe(const memory_probe&) = delete;
    memory_probe& operator=(const memory_probe&) = delete;

    // Allocations from now on succeed successes times, then fail.
    void fail_after(int successes) { fail_after_ = successes; }
    int live() const { return live_; }
    int allocations() const { return allocations_; }

  private:
    static void* allocate(std::size_t size) {
        if (fail_after_ == 0) return nullptr;
        if (fail_after_ > 0) --fail_after_;
        ++live_;
        ++allocations_;
        return std::malloc(size);
    }
    static void release(void* start) {
        --live_;
        std::free(start);
    }

    record_memory previous_;
    static inline int live_ = 0;
    static inline int allocations_ = 0;
    static inline int fail_after_ = -1;
};

} // namespace qvsip::test
