// The engine's worker pool: detached threads kept on an idle list and reused by every dispatch.
// A dispatch hands each worker one chunk through the worker's mailbox. Spin-mode workers poll
// the mailbox for the lowest hand-off latency and sleep on their go semaphore once idle for a
// while; semaphore-mode workers (large thread counts, where spinning threads would starve each
// other of cores) always sleep on it.
#include "fft/threads.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <new>

#include <pthread.h>
#include <sched.h>
#include <semaphore.h>

namespace qtx::QTX_ENGINE {
namespace {

// Thread counts above this make new workers semaphore-mode workers.
constexpr uint64_t spin_mode_max_threads = 48;

// Mailbox values. Any other value is the owning record's own address: work posted.
constexpr uint64_t mailbox_idle = 0;
constexpr uint64_t mailbox_running = 1;
constexpr uint64_t mailbox_parked = 2;
constexpr uint64_t mailbox_exit = ~uint64_t{0};

// An idle spin-mode worker polls this long before sleeping, reading the clock once per
// polls_per_clock_read polls to keep the poll loop cheap.
constexpr auto spin_budget = std::chrono::microseconds(100);
constexpr unsigned polls_per_clock_read = 64;

// A dispatcher joining a spin-mode worker gives up its core this often, so that on an
// oversubscribed machine the worker it waits for gets to run.
constexpr unsigned join_polls_per_yield = 1024;

// Chunks one dispatch hands to workers at most; the last chunk always runs on the caller.
constexpr uint64_t max_handed_chunks = max_thread_count - 1;

// Records of different workers never share a line pair (Arm server cores prefetch 128 bytes).
constexpr size_t record_alignment = 128;

enum class handoff_mode : unsigned char { spin, semaphore };

// One worker thread. Owned by the pool; freed only by cleanup_threads().
struct alignas(record_alignment) worker_record {
    sem_t go;   // wakes a semaphore-mode or parked spin-mode worker
    sem_t done; // a semaphore-mode worker finished its chunk
    work_function work;
    chunk_args args;
    worker_record* next; // idle list link
    // Every access is sequentially consistent: the hand-off's store releases work and args
    // to the worker, its final idle store releases the chunk's results to the dispatcher.
    std::atomic<uint64_t> mailbox;
    handoff_mode mode; // fixed at creation; both sides of every hand-off read it from here
};

std::atomic<int64_t> global_thread_count{1};
sem_t exit_ack; // posted once by each worker as its last act
pthread_mutex_t init_mutex = PTHREAD_MUTEX_INITIALIZER;
sem_t idle_lock; // guards idle_workers
worker_record* idle_workers = nullptr;
std::atomic<bool> threads_initialised{false};
// Dispatches using pool workers. Cleanup closes the pool (threads_initialised) and then waits
// for this to drain, so that every worker is back on the idle list when it stops them.
std::atomic<uint64_t> dispatches_in_flight{0};

void wait_for(sem_t* semaphore) {
    // Retried only when a signal interrupted it; any other failure ends the wait.
    while (sem_wait(semaphore) != 0 && errno == EINTR) {
    }
}

void cpu_relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    // isb stalls for a while on cores where yield retires as a no-op.
    asm volatile("isb" ::: "memory");
#endif
}

uint64_t posted_value(const worker_record* record) {
    return reinterpret_cast<uintptr_t>(record);
}

handoff_mode mode_for_new_workers() {
    const auto count = static_cast<uint64_t>(global_thread_count.load(std::memory_order_relaxed));
    return count > spin_mode_max_threads ? handoff_mode::semaphore : handoff_mode::spin;
}

// ---- Worker side ---------------------------------------------------------------------------

void run_posted_work(worker_record* record) {
    record->mailbox.store(mailbox_running);
    record->work(&record->args);
    record->mailbox.store(mailbox_idle);
}

// Sleeps until a dispatcher or cleanup replaces the parked mark. The mark is set only from
// idle, and every exchange that replaces it is followed by a go post, so the wake-up cannot be
// lost; a stray post merely repeats the wait.
void park(worker_record* record) {
    uint64_t expected = mailbox_idle;
    if (!record->mailbox.compare_exchange_strong(expected, mailbox_parked)) return;
    do {
        wait_for(&record->go);
    } while (record->mailbox.load() == mailbox_parked);
}

class idle_timer {
  public:
    idle_timer() { restart(); }
    void restart() {
        polls_ = 0;
        since_ = std::chrono::steady_clock::now();
    }
    bool expired() {
        if (++polls_ % polls_per_clock_read != 0) return false;
        return std::chrono::steady_clock::now() - since_ >= spin_budget;
    }

  private:
    unsigned polls_ = 0;
    std::chrono::steady_clock::time_point since_;
};

void spin_mode_loop(worker_record* record) {
    idle_timer idle;
    for (;;) {
        const uint64_t value = record->mailbox.load();
        if (value == mailbox_exit) return;
        if (value == posted_value(record)) {
            run_posted_work(record);
            idle.restart();
            continue;
        }
        cpu_relax();
        if (idle.expired()) {
            park(record);
            idle.restart();
        }
    }
}

// The mailbox, not the post, says what to do: a stray post finds no work and is ignored.
void semaphore_mode_loop(worker_record* record) {
    for (;;) {
        wait_for(&record->go);
        const uint64_t value = record->mailbox.load();
        if (value == mailbox_exit) return;
        if (value != posted_value(record)) continue;
        run_posted_work(record);
        sem_post(&record->done);
    }
}

void* worker_main(void* argument) {
    auto* record = static_cast<worker_record*>(argument);
    if (record->mode == handoff_mode::spin)
        spin_mode_loop(record);
    else
        semaphore_mode_loop(record);
    sem_post(&exit_ack);
    return nullptr;
}

// ---- Worker records ------------------------------------------------------------------------

void destroy_record(worker_record* record) {
    sem_destroy(&record->done);
    sem_destroy(&record->go);
    record->~worker_record();
    std::free(record);
}

bool start_detached_thread(worker_record* record) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return false;
    pthread_attr_setscope(&attributes, PTHREAD_SCOPE_SYSTEM);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    const bool started = pthread_create(&thread, &attributes, worker_main, record) == 0;
    pthread_attr_destroy(&attributes);
    return started;
}

// A new worker waiting for its first chunk, or null when memory or a thread is unavailable.
worker_record* start_worker() {
    void* memory = std::aligned_alloc(alignof(worker_record), sizeof(worker_record));
    if (memory == nullptr) return nullptr;
    auto* record = new (memory) worker_record{};
    record->mode = mode_for_new_workers();
    const bool go_ready = sem_init(&record->go, 0, 0) == 0;
    const bool done_ready = sem_init(&record->done, 0, 0) == 0;
    if (go_ready && done_ready && start_detached_thread(record)) return record;
    destroy_record(record);
    return nullptr;
}

worker_record* pop_idle_worker() {
    wait_for(&idle_lock);
    worker_record* record = idle_workers;
    if (record != nullptr) idle_workers = record->next;
    sem_post(&idle_lock);
    return record;
}

void push_idle_worker(worker_record* record) {
    wait_for(&idle_lock);
    record->next = idle_workers;
    idle_workers = record;
    sem_post(&idle_lock);
}

worker_record* acquire_worker() {
    if (worker_record* record = pop_idle_worker()) return record;
    return start_worker();
}

// Counts the caller in unless the pool is closed. The count is raised before the flag is read
// again and cleanup clears the flag before it reads the count (both sequentially consistent),
// so either cleanup waits for this dispatch or this dispatch sees the pool closed. The first
// read keeps dispatches from touching the count while cleanup waits for it to drain.
bool enter_pool() {
    if (!threads_initialised.load()) return false;
    dispatches_in_flight.fetch_add(1);
    if (threads_initialised.load()) return true;
    dispatches_in_flight.fetch_sub(1);
    return false;
}

void leave_pool() {
    dispatches_in_flight.fetch_sub(1);
}

void wait_until_no_dispatch_in_flight() {
    while (dispatches_in_flight.load() != 0)
        sched_yield();
}

// Tells an idle worker to leave, waits until it has, and frees its record.
void stop_worker(worker_record* record) {
    record->mailbox.exchange(mailbox_exit);
    record->work = nullptr;
    sem_post(&record->go);
    wait_for(&exit_ack);
    destroy_record(record);
}

// ---- Dispatcher side -----------------------------------------------------------------------

void hand_over(worker_record* record, work_function work, const chunk_args& args) {
    record->work = work;
    record->args = args;
    const uint64_t previous = record->mailbox.exchange(posted_value(record));
    if (record->mode == handoff_mode::semaphore || previous == mailbox_parked)
        sem_post(&record->go);
}

// A worker that finished may already have parked before a slow dispatcher looks.
bool finished(uint64_t mailbox) {
    return mailbox == mailbox_idle || mailbox == mailbox_parked;
}

void join(worker_record* record) {
    if (record->mode == handoff_mode::semaphore) {
        wait_for(&record->done);
        return;
    }
    for (unsigned polls = 1;; ++polls) {
        const uint64_t mailbox = record->mailbox.load();
        if (finished(mailbox)) return;
        // A worker that has not started yet is waking up or waiting for a core, possibly this
        // one: spinning would only delay it.
        if (mailbox == posted_value(record) || polls % join_polls_per_yield == 0)
            sched_yield();
        else
            cpu_relax();
    }
}

uint64_t divide_rounding_up(uint64_t value, uint64_t divisor) {
    return value / divisor + (value % divisor != 0);
}

// Smallest multiple of granule not below value, or 0 when that does not fit in 64 bits.
uint64_t round_up_to_multiple(uint64_t value, uint64_t granule) {
    const uint64_t excess = value % granule;
    if (excess == 0) return value;
    const uint64_t step = granule - excess;
    return value > UINT64_MAX - step ? 0 : value + step;
}

} // namespace

chunk_plan plan_chunks(uint64_t total, uint64_t max_threads, uint64_t granule) {
    const uint64_t threads = std::clamp<uint64_t>(max_threads, 1, max_thread_count);
    uint64_t size =
        round_up_to_multiple(divide_rounding_up(total, threads), std::max<uint64_t>(granule, 1));
    // A rounded size beyond 64 bits exceeds total: one chunk holds everything.
    if (size == 0) size = total;
    return {size, divide_rounding_up(total, size)};
}

int init_threads() {
    if (threads_initialised.load()) return 1;
    pthread_mutex_lock(&init_mutex);
    if (!threads_initialised.load()) {
        sem_init(&idle_lock, 0, 1);
        sem_init(&exit_ack, 0, 0);
        wait_for(&idle_lock);
        idle_workers = nullptr;
        sem_post(&idle_lock);
        threads_initialised.store(true);
    }
    pthread_mutex_unlock(&init_mutex);
    return 1;
}

void plan_with_nthreads(int nthreads) {
    init_threads();
    global_thread_count.store(std::min<int64_t>(nthreads, max_thread_count));
}

void cleanup_threads() {
    pthread_mutex_lock(&init_mutex);
    if (threads_initialised.load()) {
        threads_initialised.store(false);
        wait_until_no_dispatch_in_flight();
        wait_for(&idle_lock);
        while (worker_record* record = idle_workers) {
            idle_workers = record->next;
            stop_worker(record);
        }
        sem_post(&idle_lock);
        sem_destroy(&idle_lock);
        sem_destroy(&exit_ack);
    }
    pthread_mutex_unlock(&init_mutex);
}

int64_t get_thread_count() {
    return global_thread_count.load();
}

void thread_pool_run(uint64_t total, uint64_t max_threads, uint64_t granule, work_function work,
                     void* user_data) {
    if (total == 0 || work == nullptr) return;
    const chunk_plan plan = plan_chunks(total, max_threads, granule);
    // Without a pool the caller runs every chunk itself.
    const bool pooled = plan.count > 1 && enter_pool();
    worker_record* workers[max_handed_chunks];
    uint64_t handed = 0;
    while (pooled && handed + 1 < plan.count) {
        worker_record* record = acquire_worker();
        if (record == nullptr) break; // the caller runs this chunk and all later ones
        hand_over(record, work, {plan.size, handed, user_data});
        workers[handed++] = record;
    }
    for (uint64_t index = handed; index < plan.count; ++index) {
        chunk_args args{plan.size, index, user_data};
        work(&args);
    }
    for (uint64_t slot = 0; slot < handed; ++slot) {
        join(workers[slot]);
        push_idle_worker(workers[slot]);
    }
    if (pooled) leave_pool();
}

} // namespace qtx::QTX_ENGINE
