// Aligned record allocation used by every object of the library: each record starts on a
// 64-byte boundary inside a larger malloc block whose start is stored just below the record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

namespace qvsip {

inline constexpr std::size_t record_alignment = 64;
inline constexpr std::size_t record_slot_size = sizeof(void*); // holds the allocation start
inline constexpr std::size_t record_overhead = record_alignment + record_slot_size;

// State tags written into every record; nothing reads them back, they mark records for
// anyone inspecting memory.
inline constexpr std::uint32_t live_tag = 0x5555;
inline constexpr std::uint32_t released_tag = 0xAAAA;

// Returns size bytes on a 64-byte boundary, or null when memory runs out or size plus the
// overhead does not fit in size_t. The bytes are not initialised.
void* allocate_record_bytes(std::size_t size);

// Frees a record made by allocate_record_bytes. Null is ignored, and so is a pointer whose
// stored start does not lie 8 to 71 bytes below it (a foreign or damaged record).
void release_record(void* record);

// The memory functions behind the records: malloc and free unless replaced. Tests swap in
// counting or failing ones to check the library's out-of-memory paths and that everything it
// allocates is released. Returns the previous pair; null members restore malloc and free.
struct record_memory {
    void* (*allocate)(std::size_t);
    void (*release)(void*);
};
record_memory exchange_record_memory(record_memory memory);

// A zero-initialised record of type T, or null.
template <class T> T* new_record() {
    static_assert(std::is_trivially_destructible_v<T>, "records are released without a destructor");
    void* bytes = allocate_record_bytes(sizeof(T));
    return bytes == nullptr ? nullptr : new (bytes) T{};
}

// Marks the record released and frees it; null is ignored.
template <class T> void retire_record(T* record) {
    if (record == nullptr) return;
    record->tag = released_tag;
    release_record(record);
}

} // namespace qvsip
