// The engine's process-wide worker pool and thread count.
#pragma once

#include <cstdint>

#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE {

// The only argument of a work function: one chunk of a dispatch.
struct chunk_args {
    uint64_t chunk_size;  // items per chunk, the same for every chunk of a dispatch
    uint64_t chunk_index; // 0-based chunk number
    void* user_data;      // the dispatcher's context, passed through untouched
};

using work_function = void (*)(chunk_args*);

// Largest thread count a plan or a dispatch uses.
inline constexpr int64_t max_thread_count = 512;

// Public thread control; the exported C functions forward here. cleanup_threads closes the
// pool, waits for the dispatches using it to finish and stops every worker; until the next
// init_threads, dispatches run all their chunks on the caller.
int init_threads();
void plan_with_nthreads(int nthreads);
void cleanup_threads();

// Thread count new plans record.
int64_t get_thread_count();

struct chunk_plan {
    uint64_t size;  // items per chunk
    uint64_t count; // chunks
};

// The chunks thread_pool_run makes of total (non-zero) items: ⌈total / threads⌉ raised to a
// multiple of granule, with threads = max_threads clamped to 1 … 512 (a zero granule counts as 1).
chunk_plan plan_chunks(uint64_t total, uint64_t max_threads, uint64_t granule);

// Splits total items into chunks of a multiple of granule (a power of two) items, at most
// min(max_threads, 512) of them; runs the last chunk on the calling thread and the others on
// pool workers, and returns when all have finished.
void thread_pool_run(uint64_t total, uint64_t max_threads, uint64_t granule, work_function work,
                     void* user_data);

} // namespace qtx::QTX_ENGINE
