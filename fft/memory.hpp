// The memory functions behind every allocation the planners make: plan records, work buffers
// and tables. std::calloc and std::free unless replaced; white-box tests swap in counting or
// failing ones to check that every out-of-memory path gives a null or correct plan and that
// destroying a plan releases everything. Internal to the engine: nothing here is exported.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE {

struct engine_memory {
    void* (*allocate)(size_t count, size_t size); // zero-filled, like std::calloc
    void (*release)(void* block);
};

// Installs memory and returns the previous pair; null members restore calloc and free.
engine_memory exchange_engine_memory(engine_memory memory);

// count·size zero-filled bytes, or null when they run out or the product overflows.
void* engine_calloc(size_t count, size_t size);
// Releases a block from engine_calloc; null is ignored.
void engine_free(void* block);

// False when `bytes` exceed all the memory the machine has, RAM and swap together: solvers
// refuse such plans before allocating or computing anything, and engine_calloc never asks the
// system for such a block.
bool memory_can_exist(uint64_t bytes);

} // namespace qtx::QTX_ENGINE
