// The operation skeleton: work partition, serial and parallel dense and strided runs, thread
// requests, and the load-time settings (environment parsing, processor profile).
#include "vsip/frame.hpp"
#include "vsip/processor_profile.hpp"

#include <gtest/gtest.h>
#include <omp.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

using qvsip::frame::chunk_of;
using qvsip::frame::one_region;
using qvsip::frame::range;
using qvsip::frame::region_units;
using qvsip::frame::two_regions;

// ---------------------------------------------------------------------------------------------
// Partition

TEST(ChunkOf, ContiguousChunksInThreadOrderFirstOnesLarger) {
    for (std::uint64_t units = 0; units < 40; ++units)
        for (std::uint64_t parts = 1; parts < 8; ++parts) {
            std::uint64_t next = 0;
            for (std::uint64_t t = 0; t < parts; ++t) {
                const range share = chunk_of(units, parts, t);
                ASSERT_EQ(share.begin, next);
                ASSERT_EQ(share.end - share.begin, units / parts + (t < units % parts ? 1 : 0));
                next = share.end;
            }
        }
}

TEST(RegionThreadRequest, NonPositiveAsksForTheDefaultAndLargeIsCapped) {
    EXPECT_EQ(qvsip::frame::region_thread_request(0), omp_get_max_threads());
    EXPECT_EQ(qvsip::frame::region_thread_request(-2), omp_get_max_threads());
    EXPECT_EQ(qvsip::frame::region_thread_request(3), 3);
    EXPECT_EQ(qvsip::frame::region_thread_request(99999999), qvsip::frame::max_region_threads);
}

// ---------------------------------------------------------------------------------------------
// Runs

struct recorded_call {
    std::uint64_t first, last;
    bool in_parallel;
    int thread;
    int team;
    bool operator==(const recorded_call&) const = default;
};

// A range kernel that records every call, and checks that each element is handled once.
class call_recorder {
  public:
    void operator()(std::uint64_t first, std::uint64_t last) {
        const std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(
            {first, last, omp_in_parallel() != 0, omp_get_thread_num(), omp_get_num_threads()});
    }
    const std::vector<recorded_call>& calls() const { return calls_; }
    bool covers_once(std::uint64_t count) const {
        std::vector<int> seen(count, 0);
        for (const recorded_call& call : calls_)
            for (std::uint64_t i = call.first; i < call.last; ++i) {
                if (i >= count) return false;
                ++seen[i];
            }
        return std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; });
    }

  private:
    std::mutex mutex_;
    std::vector<recorded_call> calls_;
};

TEST(RunDense, TwentyOneScalarsOnOneAndOnThreeThreads) {
    call_recorder serial;
    qvsip::frame::run_dense(1, 21, two_regions, serial);
    EXPECT_EQ(serial.calls(), (std::vector<recorded_call>{{0, 21, false, 0, 1}}));
    call_recorder two;
    qvsip::frame::run_dense(3, 21, two_regions, two);
    EXPECT_EQ(two.calls(), (std::vector<recorded_call>{
                               {0, 16, true, 0, 3}, {16, 20, true, 0, 3}, {20, 21, false, 0, 1}}));
    call_recorder one;
    qvsip::frame::run_dense(3, 21, one_region, one);
    EXPECT_EQ(one.calls(),
              (std::vector<recorded_call>{{0, 16, true, 0, 3}, {16, 21, false, 0, 1}}));
}

TEST(RunDense, ParallelChunksKeepUnitBoundariesAndCoverEveryScalar) {
    for (const int threads : {2, 3, 4})
        for (const region_units regions : {one_region, two_regions})
            for (std::uint64_t count = 0; count < 70; ++count) {
                SCOPED_TRACE(testing::Message() << count << " scalars on " << threads);
                call_recorder recorder;
                qvsip::frame::run_dense(threads, count, regions, recorder);
                ASSERT_TRUE(recorder.covers_once(count));
                const std::uint64_t unit = regions.second != 0 ? regions.second : regions.first;
                for (const recorded_call& call : recorder.calls()) {
                    if (call.in_parallel) {
                        ASSERT_EQ(call.first % unit, 0u);
                        ASSERT_EQ(call.last % unit, 0u);
                    } else {
                        ASSERT_EQ(call.first, count / unit * unit); // only the leftover
                    }
                }
            }
}

TEST(RunInUnits, LeftoverOfPartialUnitsIsTheCallers) {
    call_recorder recorder;
    qvsip::frame::run_in_units(2, 10, 4, recorder);
    std::vector<recorded_call> calls = recorder.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls.back(), (recorded_call{8, 10, false, 0, 1})); // after the region has ended
    calls.pop_back();
    std::sort(calls.begin(), calls.end(),
              [](const recorded_call& a, const recorded_call& b) { return a.first < b.first; });
    EXPECT_EQ(calls, (std::vector<recorded_call>{{0, 4, true, 0, 2}, {4, 8, true, 1, 2}}));
}

TEST(RunInUnits, EmptyRangeRunsNothing) {
    call_recorder recorder;
    qvsip::frame::run_in_units(3, 0, 1, recorder);
    qvsip::frame::run_dense(3, 0, two_regions, recorder);
    EXPECT_TRUE(recorder.calls().empty());
}

TEST(RunInUnits, NonPositiveCountUsesTheDefaultTeam) {
    for (const int threads : {0, -2}) {
        call_recorder recorder;
        qvsip::frame::run_in_units(threads, 1000, 1, recorder);
        ASSERT_FALSE(recorder.calls().empty());
        EXPECT_EQ(recorder.calls().front().team, omp_get_max_threads());
        EXPECT_TRUE(recorder.covers_once(1000));
    }
}

// ---------------------------------------------------------------------------------------------
// Load-time settings

TEST(ThreadCountFromEnvironment, ParsedUncheckedUpToNineCharacters) {
    using qvsip::thread_count_from_environment;
    EXPECT_EQ(thread_count_from_environment(nullptr), 1);
    EXPECT_EQ(thread_count_from_environment("4"), 4);
    EXPECT_EQ(thread_count_from_environment(" 6"), 6);
    EXPECT_EQ(thread_count_from_environment("abc"), 0);
    EXPECT_EQ(thread_count_from_environment(""), 0);
    EXPECT_EQ(thread_count_from_environment("-2"), -2);
    EXPECT_EQ(thread_count_from_environment("123456789"), 123456789);
    EXPECT_EQ(thread_count_from_environment("1234567890"), 1);
    EXPECT_EQ(thread_count_from_environment("4         "), 1);
}

TEST(LoadTimeSetUp, SecondRunChangesNothing) {
    const int before = qvsip::thread_count();
    ASSERT_EQ(setenv("OMP_NUM_THREADS", "7", 1), 0);
    qvsip::initialise_library();
    EXPECT_EQ(qvsip::thread_count(), before);
    unsetenv("OMP_NUM_THREADS");
}

TEST(ProcessorProfile, LittleCoresRunReductionsSerially) {
    EXPECT_EQ(qvsip::profile_for_processor_id(0x410fd034), qvsip::profile_serial_reductions);
    EXPECT_EQ(qvsip::profile_for_processor_id(0x411fd050), qvsip::profile_serial_reductions);
    EXPECT_EQ(qvsip::profile_for_processor_id(0x410fd0c1), qvsip::profile_default); // big core
    EXPECT_EQ(qvsip::profile_for_processor_id(0x510fd034), qvsip::profile_default); // other vendor
    EXPECT_EQ(qvsip::profile_for_processor_id(0), qvsip::profile_default);
    EXPECT_EQ(qvsip::processor_profile(), qvsip::detect_processor_profile());
}

} // namespace
