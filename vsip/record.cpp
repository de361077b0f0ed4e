// Aligned record allocation: alignment arithmetic, the stored start address and its check.
#include "vsip/record.hpp"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace qvsip {
namespace {

void* system_allocate(std::size_t size) {
    return std::malloc(size);
}
void system_release(void* start) {
    std::free(start);
}

std::atomic<void* (*)(std::size_t)> g_allocate{&system_allocate};
std::atomic<void (*)(void*)> g_release{&system_release};

std::uintptr_t address_of(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

} // namespace

void* allocate_record_bytes(std::size_t size) {
    if (size > std::numeric_limits<std::size_t>::max() - record_overhead) return nullptr;
    auto* start = static_cast<unsigned char*>(g_allocate.load()(size + record_overhead));
    if (start == nullptr) return nullptr;
    // First 64-byte boundary at least one slot past the start: at most 71 bytes in.
    const std::uintptr_t lowest = address_of(start) + record_slot_size;
    const std::size_t skip =
        record_slot_size + (record_alignment - lowest % record_alignment) % record_alignment;
    unsigned char* record = start + skip;
    std::memcpy(record - record_slot_size, &start, sizeof start);
    return record;
}

void release_record(void* record) {
    if (record == nullptr) return;
    void* start = nullptr;
    std::memcpy(&start, static_cast<unsigned char*>(record) - record_slot_size, sizeof start);
    const std::uintptr_t distance = address_of(record) - address_of(start);
    const bool brackets = address_of(record) > address_of(start) && distance >= record_slot_size &&
                          distance < record_overhead;
    if (brackets) g_release.load()(start);
}

record_memory exchange_record_memory(record_memory memory) {
    const record_memory previous{
        g_allocate.exchange(memory.allocate != nullptr ? memory.allocate : &system_allocate),
        g_release.exchange(memory.release != nullptr ? memory.release : &system_release)};
    return previous;
}

} // namespace qvsip
