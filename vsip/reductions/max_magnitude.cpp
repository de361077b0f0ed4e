// Largest magnitude of a real vector and largest squared magnitude of a complex vector, with the
// lowest index at which it occurs. NaN magnitudes never compare greater, so they never win.
//
// Serially the elements are screened a block at a time against the best so far and only a block
// holding a greater magnitude is scanned element by element. In parallel the search runs in two
// regions per slab: the first writes one record per group of 4 elements and finds the maximum,
// the second finds the lowest group holding it; the index is therefore independent of the split.
#include "vsip/frame.hpp"
#include "vsip/reductions/accumulate.hpp"
#include "vsip/reductions/reductions.hpp"
#include "vsip/record.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace qvsip::reductions {
namespace {

using namespace qtx::simd;

// What every path starts from: below any magnitude, so the first number found replaces it.
inline constexpr float no_magnitude = -1.0f;
// Groups per slab of the parallel search: the bound of the scratch table (524,288 elements).
inline constexpr std::uint64_t slab_groups = 131072;
// Groups screened at once by the serial dense and strided scans.
inline constexpr std::uint64_t dense_screen_groups = 2;
inline constexpr std::uint64_t strided_screen_groups = 1;

std::ptrdiff_t at(std::uint64_t i, std::ptrdiff_t stride) {
    return static_cast<std::ptrdiff_t>(i) * stride;
}

struct real_magnitudes {
    const float* p;
    std::ptrdiff_t stride;
    float one(std::uint64_t i) const { return std::fabs(p[at(i, stride)]); }
    f32x4 group(std::uint64_t i) const {
        return abs(stride == 1 ? loadu(p + i) : load_strided(p + at(i, stride), stride));
    }
};

// ar^2 + ai^2 with the second product fused, the same in lanes and one by one.
struct squared_magnitudes {
    const float *re, *im;
    std::ptrdiff_t stride;
    float one(std::uint64_t i) const {
        const float r = re[at(i, stride)], m = im[at(i, stride)];
        return std::fma(r, r, m * m);
    }
    f32x4 group(std::uint64_t i) const {
        const f32x4 r = load_strided(re + at(i, stride), stride);
        const f32x4 m = load_strided(im + at(i, stride), stride);
        return fma(r, r, mul(m, m));
    }
};

struct best_element {
    float value = no_magnitude;
    std::uint64_t index = 0;
    bool found = false; // whether index holds a result

    // Strictly greater replaces, so the earliest occurrence of the maximum stays.
    void consider(float magnitude, std::uint64_t i) {
        if (magnitude > value) {
            value = magnitude;
            index = i;
            found = true;
        }
    }
};

// Serial search: blocks of screen_groups groups of 4 are compared with the best in lanes; a
// block holding a greater magnitude is scanned one by one, then the tail.
template <class Magnitudes>
best_element serial_search(const Magnitudes& source, std::uint64_t n, std::uint64_t screen_groups) {
    best_element best;
    const std::uint64_t block = screen_groups * lane_count;
    const std::uint64_t blocks_end = n - n % block;
    for (std::uint64_t b = 0; b < blocks_end; b += block) {
        const f32x4 best_lanes = set1(best.value);
        bool greater = false;
        for (std::uint64_t g = 0; g < screen_groups; ++g)
            greater = greater || any(less(best_lanes, source.group(b + g * lane_count)));
        if (!greater) continue;
        for (std::uint64_t i = b; i < b + block; ++i)
            best.consider(source.one(i), i);
    }
    for (std::uint64_t i = blocks_end; i < n; ++i)
        best.consider(source.one(i), i);
    return best;
}

// Scratch record of one group of 4 elements.
struct group_record {
    float max;           // largest non-NaN magnitude of the group, -infinity if none
    std::uint64_t first; // index of the group's first element
    float magnitude[lane_count];
};
static_assert(sizeof(group_record) == 32);

struct record_releaser {
    void operator()(group_record* records) const { release_record(records); }
};
using group_table = std::unique_ptr<group_record[], record_releaser>;

group_table allocate_table(std::uint64_t groups) {
    return group_table(static_cast<group_record*>(
        allocate_record_bytes(std::min(groups, slab_groups) * sizeof(group_record))));
}

// IEEE maxNum into a shared float: a NaN or smaller candidate leaves it.
void atomic_max(float& shared, float candidate) {
    std::atomic_ref<float> target(shared);
    float seen = target.load(std::memory_order_relaxed);
    while (candidate > seen &&
           !target.compare_exchange_weak(seen, candidate, std::memory_order_relaxed)) {
    }
}

void atomic_min(std::uint64_t& shared, std::uint64_t candidate) {
    std::atomic_ref<std::uint64_t> target(shared);
    std::uint64_t seen = target.load(std::memory_order_relaxed);
    while (candidate < seen &&
           !target.compare_exchange_weak(seen, candidate, std::memory_order_relaxed)) {
    }
}

// Phase 1 for groups [g0, g1) of the slab starting at element origin: writes their records and
// returns the largest group maximum.
template <class Magnitudes>
float fill_records(const Magnitudes& source, std::uint64_t origin, group_record* table,
                   std::uint64_t g0, std::uint64_t g1) {
    float chunk_max = -std::numeric_limits<float>::infinity();
    for (std::uint64_t g = g0; g < g1; ++g) {
        group_record& record = table[g];
        record.first = origin + g * lane_count;
        storeu(record.magnitude, source.group(record.first));
        record.max = -std::numeric_limits<float>::infinity();
        for (float m : record.magnitude)
            if (m > record.max) record.max = m;
        if (record.max > chunk_max) chunk_max = record.max;
    }
    return chunk_max;
}

// Both regions over one slab of groups; the result's index is the first element of the lowest
// group holding the maximum, refined to the first of its magnitudes equal to it.
template <class Magnitudes>
best_element search_slab(const Magnitudes& source, std::uint64_t origin, std::uint64_t groups,
                         group_record* table, int threads) {
    float max = no_magnitude;
    auto phase1 = [&](std::uint64_t g0, std::uint64_t g1) {
        atomic_max(max, fill_records(source, origin, table, g0, g1));
    };
    frame::parallel_region(threads, 0, groups, 1, frame::range_kernel(phase1));

    std::uint64_t lowest = groups - 1;
    auto phase2 = [&](std::uint64_t g0, std::uint64_t g1) {
        for (std::uint64_t g = g0; g < g1; ++g)
            if (table[g].max == max) {
                atomic_min(lowest, g);
                return;
            }
    };
    frame::parallel_region(threads, 0, groups, 1, frame::range_kernel(phase2));

    const group_record& record = table[lowest];
    const float* hit = std::find(record.magnitude, record.magnitude + lane_count, max);
    const std::uint64_t offset = hit == record.magnitude + lane_count ? 0 : hit - record.magnitude;
    return {max, record.first + offset, true};
}

// Slab by slab; a later slab replaces the running result only if strictly greater. Returns
// false, doing nothing, when the scratch table cannot be allocated.
template <class Magnitudes>
bool parallel_search(const Magnitudes& source, std::uint64_t n, int threads, best_element& best) {
    const std::uint64_t groups = n / lane_count;
    if (groups > 0) {
        group_table table = allocate_table(groups);
        if (table == nullptr) return false;
        for (std::uint64_t g = 0; g < groups; g += slab_groups) {
            const std::uint64_t slab = std::min(slab_groups, groups - g);
            const best_element found =
                search_slab(source, g * lane_count, slab, table.get(), threads);
            if (g == 0 || found.value > best.value) best = found;
        }
    }
    for (std::uint64_t i = groups * lane_count; i < n; ++i)
        best.consider(source.one(i), i);
    return true;
}

template <class Magnitudes>
float search(const Magnitudes& source, std::uint64_t n, bool dense, reduction_setting setting,
             vsip_index* index) {
    best_element best;
    const bool serial =
        !dense || setting.threads == 1 || setting.profile == profile_serial_reductions;
    if (serial || !parallel_search(source, n, setting.threads, best))
        best = serial_search(source, n, dense ? dense_screen_groups : strided_screen_groups);
    if (best.found) *index = best.index;
    return best.value;
}

bool has_data(const vsip_block_f* block) {
    return block != nullptr && block->data != nullptr;
}

} // namespace

float max_magnitude(const real_vector& a, reduction_setting setting, vsip_index* index) {
    return search(real_magnitudes{a.start, a.stride}, a.length, a.stride == 1, setting, index);
}

float max_magnitude_squared(const complex_vector& a, reduction_setting setting, vsip_index* index) {
    return search(squared_magnitudes{a.re, a.im, a.stride}, a.length, dense_interleaved(a), setting,
                  index);
}

} // namespace qvsip::reductions

vsip_scalar_f vsip_vmaxmgval_f(const vsip_vview_f* a, vsip_index* index) {
    using namespace qvsip::reductions;
    if (a == nullptr || !has_data(a->block) || index == nullptr || a->length == 0)
        return qvsip::quiet_nan;
    return max_magnitude(qvsip::resolve(*a), current_setting(), index);
}

vsip_scalar_f vsip_vcmaxmgsqval_f(const vsip_cvview_f* a, vsip_index* index) {
    using namespace qvsip::reductions;
    if (a == nullptr || a->block == nullptr || !has_data(a->block->real) ||
        !has_data(a->block->imag) || index == nullptr || a->length == 0)
        return qvsip::quiet_nan;
    return max_magnitude_squared(qvsip::resolve(*a), current_setting(), index);
}
