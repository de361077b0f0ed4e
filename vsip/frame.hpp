// The frame every operation of the library stands in: the process-wide thread count and
// processor profile, and the fork-join skeleton that runs a range kernel serially when the
// thread count is 1 and in OpenMP parallel regions otherwise.
//
// A range kernel is any callable kernel(first, last) that processes the elements (or scalars)
// [first, last) and may be called with any sub-range: the skeleton calls it once on the calling
// thread for a serial run, and once per thread and region with that thread's contiguous chunk
// otherwise. Chunks of a dense region start and end on multiples of the region's unit, so a
// kernel that handles 16-scalar groups, then 4-scalar groups, then single scalars computes
// every element with the same instruction sequence on both paths.
#pragma once

#include "simd/common.hpp"

#include <bit>
#include <cstdint>
#include <memory>

namespace qvsip {

// Floats per SIMD vector: the width of every group on the operations' vector paths.
inline constexpr std::uint64_t lane_count = qtx::simd::lanes<float>;

// Result of an operation returning a scalar when an argument is missing.
inline constexpr float quiet_nan = std::bit_cast<float>(0x7fc00000u);

// Processor profiles: under profile_serial_reductions the profile-dependent reductions run
// serially; profile_default applies wherever no other profile was chosen.
inline constexpr std::uint64_t profile_serial_reductions = 1;
inline constexpr std::uint64_t profile_default = 2;

// The library thread count T that each operation reads once at its start (the value
// QVSIP_GetOmpThreadNum returns, read directly).
int thread_count();
std::uint64_t processor_profile();

// Load-time set-up, run once by the library's initialiser (a second run does nothing): fixes
// the processor profile, takes the thread count from OMP_NUM_THREADS and starts the FFT engines'
// threading.
void initialise_library();

// Thread count for an OMP_NUM_THREADS value: 1 when unset (null) or 10 or more characters
// long, else its decimal value as strtol reads it, unchecked ("abc" gives 0).
int thread_count_from_environment(const char* value);

namespace frame {

// Scalars per unit of the first dense region: four vectors.
inline constexpr std::uint64_t dense_unit = 4 * lane_count;

// A parallel region never asks for more threads than this (the FFT engines' plan ceiling).
inline constexpr int max_region_threads = 512;

struct range {
    std::uint64_t begin, end;
    bool empty() const { return begin == end; }
};

// The contiguous share of [0, units) taken by thread index of a team of parts threads: the
// first units % parts threads take one unit more than the others.
range chunk_of(std::uint64_t units, std::uint64_t parts, std::uint64_t index);

// Team size requested for the thread count: counts of 0 or less ask for the OpenMP runtime's
// default, larger ones are capped at max_region_threads.
int region_thread_request(int threads);

// A range kernel behind a plain function pointer, so that the OpenMP regions live in one
// translation unit whatever the kernel's type. Refers to the kernel; does not copy it.
class range_kernel {
  public:
    template <class Kernel>
    explicit range_kernel(Kernel& kernel)
        : context_(const_cast<void*>(static_cast<const void*>(std::addressof(kernel)))),
          call_([](void* context, std::uint64_t first, std::uint64_t last) {
              (*static_cast<Kernel*>(context))(first, last);
          }) {}
    void operator()(std::uint64_t first, std::uint64_t last) const { call_(context_, first, last); }

  private:
    void* context_;
    void (*call_)(void*, std::uint64_t, std::uint64_t);
};

// Opens one parallel region over the whole units of unit elements in [first, last); each
// thread of the team passes its chunk (as element indices) to the kernel, threads with an empty
// chunk do nothing. The region is opened even when it has no whole unit. Returns the end of the
// covered part; the rest, less than one unit, is the caller's.
std::uint64_t parallel_region(int threads, std::uint64_t first, std::uint64_t last,
                              std::uint64_t unit, range_kernel kernel);

// The chunks parallel_region(threads, first, last, unit, kernel) would give its team, run one
// after the other on the calling thread: the same kernel calls without waking a team.
std::uint64_t inline_region(int threads, std::uint64_t first, std::uint64_t last,
                            std::uint64_t unit, range_kernel kernel);

// Whether a region over count elements is worth opening for work that needs per_thread elements
// per thread to pay for waking the team (0: always). When it is not, inline_region makes the
// region's calls; it is always worth opening when the runtime's team size cannot be foreseen
// (dynamic team sizes, or nested in an active region where nesting is allowed).
bool region_pays(int threads, std::uint64_t count, std::uint64_t per_thread);

// Elements per thread that light per-element work (element-wise operations) needs before a
// region pays: below it, waking the team costs more than splitting saves, and on a busy
// machine a team member that is not running holds the region for a scheduler time slice.
inline constexpr std::uint64_t light_elements_per_thread = 65536;

// Units (in elements) of a dense run's first parallel region and of its second; second == 0
// leaves everything after the first region to the calling thread.
struct region_units {
    std::uint64_t first, second;
};
inline constexpr region_units two_regions{dense_unit, lane_count};
inline constexpr region_units one_region{dense_unit, 0};

// A region over [first, last), opened only when region_pays(threads, last - first, per_thread);
// otherwise its calls are made inline.
inline std::uint64_t region_if_it_pays(int threads, std::uint64_t first, std::uint64_t last,
                                       std::uint64_t unit, range_kernel kernel,
                                       std::uint64_t per_thread) {
    if (region_pays(threads, last - first, per_thread))
        return parallel_region(threads, first, last, unit, kernel);
    return inline_region(threads, first, last, unit, kernel);
}

// Dense path over count elements: serially the caller kernel alone; otherwise the region kernel
// in the regions, then the caller kernel on the calling thread for the rest. With per_thread
// set (see region_pays), a region that does not pay (the second one never does: it has less
// than one first-region unit per thread) runs inline; the kernel calls, and so the results,
// are those of the parallel regions.
template <class RegionKernel, class CallerKernel>
void run_dense(int threads, std::uint64_t count, region_units units, RegionKernel&& region,
               CallerKernel&& caller, std::uint64_t per_thread = 0) {
    if (count == 0) return;
    if (threads == 1) {
        caller(0, count);
        return;
    }
    std::uint64_t done =
        region_if_it_pays(threads, 0, count, units.first, range_kernel(region), per_thread);
    if (units.second != 0)
        done =
            region_if_it_pays(threads, done, count, units.second, range_kernel(region), per_thread);
    if (done < count) caller(done, count);
}

template <class Kernel>
void run_dense(int threads, std::uint64_t count, region_units units, Kernel&& kernel) {
    run_dense(threads, count, units, kernel, kernel);
}

// Strided path (and the outer dimension of a matrix): one region over count elements in units
// of unit consecutive elements, the calling thread finishing the leftover. per_thread as for
// region_pays, in elements of count.
template <class Kernel>
void run_in_units(int threads, std::uint64_t count, std::uint64_t unit, Kernel&& kernel,
                  std::uint64_t per_thread = 0) {
    if (count == 0) return;
    if (threads == 1) {
        kernel(0, count);
        return;
    }
    const std::uint64_t done =
        region_if_it_pays(threads, 0, count, unit, range_kernel(kernel), per_thread);
    if (done < count) kernel(done, count);
}

} // namespace frame
} // namespace qvsip
