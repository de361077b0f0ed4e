// The worker pool: chunk arithmetic, exactly-once execution in both hand-off modes, concurrent
// dispatchers, parking of idle workers, and the init/cleanup life cycle; and plans of both
// engines (the double one through its shared library) made and run on several threads at once.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <memory>
#include <numbers>
#include <set>
#include <thread>
#include <vector>

#include <time.h>

#include "fft/threads.hpp"
#include "qtx_fft.h"

using namespace qtx::QTX_ENGINE;

namespace {

constexpr int spin_count = 4;        // new workers poll their mailbox
constexpr int semaphore_count = 100; // new workers sleep on semaphores

// What one dispatch did: runs per item, and per chunk its runs, thread, item count and size.
struct dispatch_log {
    explicit dispatch_log(uint64_t n) : total(n), item_runs(n) {}
    uint64_t total;
    std::vector<std::atomic<int>> item_runs;
    std::array<std::atomic<int>, max_thread_count> chunk_runs{};
    std::array<std::thread::id, max_thread_count> chunk_thread{};
    std::array<uint64_t, max_thread_count> chunk_items{};
    std::array<uint64_t, max_thread_count> chunk_size{};
    std::chrono::microseconds last_chunk_delay{0};
};

void log_chunk(chunk_args* a) {
    auto* log = static_cast<dispatch_log*>(a->user_data);
    const uint64_t i = a->chunk_index;
    if (i >= max_thread_count) return; // an out-of-range index shows as a missing chunk
    const uint64_t begin = std::min(log->total, i * a->chunk_size);
    const uint64_t end = begin + std::min(a->chunk_size, log->total - begin);
    for (uint64_t item = begin; item < end && log->total <= UINT32_MAX; ++item)
        log->item_runs[item]++;
    log->chunk_runs[i]++;
    log->chunk_thread[i] = std::this_thread::get_id();
    log->chunk_items[i] = end - begin;
    log->chunk_size[i] = a->chunk_size;
    if (end == log->total) std::this_thread::sleep_for(log->last_chunk_delay);
}

// Runs one dispatch; huge totals are only split, their items are not counted.
std::unique_ptr<dispatch_log> dispatch(uint64_t total, uint64_t threads, uint64_t granule = 1,
                                       std::chrono::microseconds last_chunk_delay = {}) {
    auto log = std::make_unique<dispatch_log>(total <= UINT32_MAX ? total : 0);
    log->total = total;
    log->last_chunk_delay = last_chunk_delay;
    thread_pool_run(total, threads, granule, log_chunk, log.get());
    return log;
}

// Every item ran once and exactly `chunks` chunks ran once each, the last on this thread.
void expect_exactly_once(const dispatch_log& log, uint64_t chunks) {
    for (size_t item = 0; item < log.item_runs.size(); ++item)
        ASSERT_EQ(log.item_runs[item], 1) << "item " << item << " of " << log.total;
    for (uint64_t i = 0; i < max_thread_count; ++i)
        ASSERT_EQ(log.chunk_runs[i], i < chunks ? 1 : 0) << "chunk " << i;
    if (chunks > 0) {
        EXPECT_EQ(log.chunk_thread[chunks - 1], std::this_thread::get_id());
    }
}

// Chunks a dispatch of total items over at most threads workers is split into (granule 1).
uint64_t chunks_for(uint64_t total, uint64_t threads) {
    const uint64_t size = (total + threads - 1) / threads;
    return (total + size - 1) / size;
}

size_t live_threads() {
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return static_cast<size_t>(std::distance(begin(tasks), end(tasks)));
}

double process_cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

class Pool : public ::testing::Test {
  protected:
    void SetUp() override { plan_with_nthreads(spin_count); }
};

TEST_F(Pool, SplitsIntoGranuleMultiplesAndRunsTheLastChunkOnTheCaller) {
    const struct {
        uint64_t total, threads, granule, size, chunks, last_items;
    } cases[] = {{10, 4, 1, 3, 4, 1},
                 {100, 4, 16, 32, 4, 4},
                 {10, 4, 16, 16, 1, 10},
                 {7, 1, 1, 7, 1, 7},
                 {7, 0, 1, 7, 1, 7},
                 {5, 9, 0, 1, 5, 1},
                 {1000, 600, 1, 2, 500, 2},
                 {UINT64_MAX, 4, 1, uint64_t{1} << 62, 4, UINT64_MAX >> 2},
                 {UINT64_MAX, 1, 16, UINT64_MAX, 1, UINT64_MAX},
                 {UINT64_MAX, 2, uint64_t{1} << 63, uint64_t{1} << 63, 2, UINT64_MAX >> 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.total << " items, " << c.threads << " threads");
        const auto log = dispatch(c.total, c.threads, c.granule);
        expect_exactly_once(*log, c.chunks);
        std::set<std::thread::id> threads;
        for (uint64_t i = 0; i < c.chunks; ++i) {
            EXPECT_EQ(log->chunk_size[i], c.size);
            threads.insert(log->chunk_thread[i]);
        }
        EXPECT_EQ(threads.size(), c.chunks); // one chunk per worker, none doubled on the caller
        EXPECT_EQ(log->chunk_items[c.chunks - 1], c.last_items);
    }
}

TEST_F(Pool, TrivialJobsStartNoThread) {
    const size_t before = live_threads();
    expect_exactly_once(*dispatch(1000, 1), 1);
    expect_exactly_once(*dispatch(0, 8), 0);
    thread_pool_run(100, 8, 1, nullptr, nullptr);
    EXPECT_LE(live_threads(), before);
}

TEST_F(Pool, ReusesIdleWorkers) {
    dispatch(64, 8);
    const size_t before = live_threads();
    for (int round = 0; round < 50; ++round)
        expect_exactly_once(*dispatch(64, 1 + round % 8), chunks_for(64, 1 + round % 8));
    EXPECT_LE(live_threads(), before);
}

TEST_F(Pool, EveryItemRunsOnceInBothModesAndAfterTheModeChanges) {
    for (int count : {spin_count, semaphore_count, spin_count, 48, 49}) {
        plan_with_nthreads(count); // idle workers of the previous mode stay on the list
        for (uint64_t total : {1, 2, 7, 100, 4097})
            for (uint64_t threads : {2, 3, 8, 48, 49, 64})
                expect_exactly_once(*dispatch(total, threads), chunks_for(total, threads));
    }
    expect_exactly_once(*dispatch(max_thread_count, max_thread_count), max_thread_count);
}

TEST_F(Pool, ParkedWorkersWakeForWork) {
    // Gaps around the spin budget hit both a spinning worker and one just going to sleep.
    for (int round = 0; round < 200; ++round) {
        std::this_thread::sleep_for(std::chrono::microseconds(round % 7 * 40));
        expect_exactly_once(*dispatch(40, 4), 4);
    }
    // Workers that finish and park while the caller still runs its own chunk count as done.
    for (int count : {spin_count, semaphore_count}) {
        plan_with_nthreads(count);
        expect_exactly_once(*dispatch(40, 4, 1, std::chrono::milliseconds(2)), 4);
    }
}

TEST_F(Pool, IdleWorkersSleep) {
    dispatch(40, 4);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const double start = process_cpu_seconds();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_LT(process_cpu_seconds() - start, 0.05);
}

TEST_F(Pool, SeveralThreadsDispatchAtOnce) {
    std::atomic<bool> stop{false};
    std::thread mode_flipper([&] {
        for (int i = 0; !stop; ++i) {
            plan_with_nthreads(i % 2 ? semaphore_count : spin_count);
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    });
    std::vector<std::thread> dispatchers;
    for (uint64_t d = 0; d < 3; ++d)
        dispatchers.emplace_back([d] {
            for (uint64_t round = 0; round < 60; ++round) {
                const uint64_t total = 97 + round, threads = 2 + (d * 7 + round) % 10;
                expect_exactly_once(*dispatch(total, threads), chunks_for(total, threads));
            }
        });
    for (auto& t : dispatchers)
        t.join();
    stop = true;
    mode_flipper.join();
}

TEST_F(Pool, CleanupStopsWorkersAndInitRestartsThePool) {
    EXPECT_EQ(init_threads(), 1);
    EXPECT_EQ(init_threads(), 1);
    for (auto gap : {std::chrono::milliseconds(0), std::chrono::milliseconds(5)}) {
        plan_with_nthreads(spin_count);
        dispatch(40, 8); // spin-mode workers, still polling or parked after the gap
        plan_with_nthreads(semaphore_count);
        dispatch(40, 16);
        std::this_thread::sleep_for(gap);
        cleanup_threads();
        cleanup_threads(); // without init: nothing to do
        EXPECT_EQ(get_thread_count(), semaphore_count);
        // Without a pool the caller runs every chunk itself.
        const auto alone = dispatch(100, 4);
        expect_exactly_once(*alone, 4);
        EXPECT_EQ(alone->chunk_thread[0], std::this_thread::get_id());
        EXPECT_EQ(init_threads(), 1);
        const auto pooled = dispatch(100, 4);
        expect_exactly_once(*pooled, 4);
        EXPECT_NE(pooled->chunk_thread[0], std::this_thread::get_id());
    }
}

// Live threads once stopped workers have ended (each acknowledges just before its end), waiting
// at most `patience` for the count to fall to `expected`.
size_t threads_after_cleanup(size_t expected, std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (live_threads() > expected && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return live_threads();
}

// Outside the contract, but it must neither hang nor strand workers: every dispatch still runs
// each item once, and after the last cleanup no worker thread is left.
TEST_F(Pool, CleanupAndInitDuringDispatchesNeitherHangNorLeakWorkers) {
    cleanup_threads();
    const size_t baseline = threads_after_cleanup(1, std::chrono::milliseconds(200));
    init_threads();
    std::atomic<bool> stop{false};
    std::vector<std::thread> dispatchers;
    for (uint64_t d = 0; d < 3; ++d)
        dispatchers.emplace_back([d, &stop] {
            for (uint64_t round = 0; !stop; ++round) {
                const uint64_t threads = 2 + (d + round) % 7;
                expect_exactly_once(*dispatch(64, threads), chunks_for(64, threads));
            }
        });
    for (int round = 0; round < 200; ++round) {
        plan_with_nthreads(round % 3 == 0 ? semaphore_count : spin_count);
        std::this_thread::yield();
        cleanup_threads();
        if (round % 2 == 0) std::this_thread::yield();
        init_threads();
    }
    stop = true;
    for (auto& t : dispatchers)
        t.join();
    cleanup_threads();
    EXPECT_LE(threads_after_cleanup(baseline, std::chrono::seconds(5)), baseline);
    init_threads();
}

// The public calls of one engine that the concurrency test uses.
template <class Real, class Plan, class Complex> struct public_engine {
    Plan (*plan_dft_1d)(int, Complex*, Complex*, int, unsigned);
    void (*execute)(Plan);
    void (*destroy_plan)(Plan);
    void (*plan_with_nthreads)(int);
};

constexpr public_engine<float, qtx_fftf_plan, qtx_fftf_complex> single_engine{
    qtx_fftf_plan_dft_1d, qtx_fftf_execute, qtx_fftf_destroy_plan, qtx_fftf_plan_with_nthreads};
constexpr public_engine<double, qtx_fft_plan, qtx_fft_complex> double_engine{
    qtx_fft_plan_dft_1d, qtx_fft_execute, qtx_fft_destroy_plan, qtx_fft_plan_with_nthreads};

// Plans, runs and destroys forward transforms of a unit impulse at index 1, whose spectrum is
// X[k] = exp(−2πik/n); returns the largest deviation seen.
template <class Real, class Plan, class Complex>
double run_own_plans(const public_engine<Real, Plan, Complex>& e, int rounds, int seed) {
    // Prime, large (two passes with threads), batched and kernel lengths.
    constexpr int lengths[] = {1009, 4096, 8192, 1000, 64};
    double worst = 0;
    for (int round = 0; round < rounds; ++round) {
        const int n = lengths[(round + seed) % std::size(lengths)];
        std::vector<Real> in(2 * n), out(2 * n);
        in[2] = 1;
        Plan plan = e.plan_dft_1d(n, reinterpret_cast<Complex*>(in.data()),
                                  reinterpret_cast<Complex*>(out.data()), -1, 0);
        if (plan == nullptr) return 1e9;
        e.execute(plan);
        e.destroy_plan(plan);
        for (int k = 0; k < n; ++k) {
            const double angle = -2 * std::numbers::pi * k / n;
            worst = std::max({worst, std::abs(out[2 * k] - std::cos(angle)),
                              std::abs(out[2 * k + 1] - std::sin(angle))});
        }
    }
    return worst;
}

TEST(Engines, ThreadsPlanRunAndDestroyOwnPlansWhileTheCountChanges) {
    std::atomic<bool> stop{false};
    std::thread count_changer([&stop] {
        constexpr int counts[] = {1, 2, 4, 49, 0, 3};
        for (int i = 0; !stop; ++i) {
            single_engine.plan_with_nthreads(counts[i % std::size(counts)]);
            double_engine.plan_with_nthreads(counts[(i + 1) % std::size(counts)]);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    std::array<double, 4> worst{};
    std::vector<std::thread> users;
    for (int t = 0; t < 4; ++t)
        users.emplace_back([t, &worst] {
            worst[t] = t % 2 == 0 ? run_own_plans(single_engine, 25, t)
                                  : run_own_plans(double_engine, 25, t);
        });
    for (auto& t : users)
        t.join();
    stop = true;
    count_changer.join();
    single_engine.plan_with_nthreads(1);
    double_engine.plan_with_nthreads(1);
    for (int t = 0; t < 4; ++t)
        EXPECT_LE(worst[t], t % 2 == 0 ? 1e-4 : 1e-10) << "thread " << t;
}

TEST_F(Pool, PlansClampTheThreadCount) {
    const struct {
        int requested;
        int64_t recorded;
    } cases[] = {{1000, 512}, {512, 512}, {513, 512}, {0, 0}, {-3, -3}, {INT32_MIN, INT32_MIN}};
    for (const auto& c : cases) {
        plan_with_nthreads(c.requested);
        EXPECT_EQ(get_thread_count(), c.recorded);
        expect_exactly_once(*dispatch(50, 5), 5); // a zero or negative count still dispatches
    }
}

} // namespace
