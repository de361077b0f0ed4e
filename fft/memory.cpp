#include "fft/memory.hpp"

#include <atomic>
#include <cstdlib>

namespace qtx::QTX_ENGINE {
namespace {

void* system_allocate(size_t count, size_t size) {
    return std::calloc(count, size);
}
void system_release(void* block) {
    std::free(block);
}

std::atomic<void* (*)(size_t, size_t)> allocate_function{&system_allocate};
std::atomic<void (*)(void*)> release_function{&system_release};

} // namespace

engine_memory exchange_engine_memory(engine_memory memory) {
    return {
        allocate_function.exchange(memory.allocate != nullptr ? memory.allocate : &system_allocate),
        release_function.exchange(memory.release != nullptr ? memory.release : &system_release)};
}

void* engine_calloc(size_t count, size_t size) {
    size_t bytes = 0;
    if (__builtin_mul_overflow(count, size, &bytes)) return nullptr;
    return allocate_function.load()(count, size);
}

void engine_free(void* block) {
    if (block != nullptr) release_function.load()(block);
}

} // namespace qtx::QTX_ENGINE
