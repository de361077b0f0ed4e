#include "fft/memory.hpp"

#include <sys/sysinfo.h>

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

uint64_t machine_memory_bytes() {
    struct sysinfo info {};
    if (sysinfo(&info) != 0) return UINT64_MAX;
    uint64_t bytes = 0;
    const uint64_t units = uint64_t{info.totalram} + info.totalswap;
    return __builtin_mul_overflow(units, uint64_t{info.mem_unit}, &bytes) ? UINT64_MAX : bytes;
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
    if (__builtin_mul_overflow(count, size, &bytes) || !memory_can_exist(bytes)) return nullptr;
    return allocate_function.load()(count, size);
}

bool memory_can_exist(uint64_t bytes) {
    static const uint64_t machine_bytes = machine_memory_bytes();
    return bytes <= machine_bytes;
}

void engine_free(void* block) {
    if (block != nullptr) release_function.load()(block);
}

} // namespace qtx::QTX_ENGINE
