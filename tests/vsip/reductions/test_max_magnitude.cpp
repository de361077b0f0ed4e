// Largest-magnitude searches: the argument checks, and the index (the lowest position of the
// maximum) identical on every path and thread count, with ties, NaN elements, all-NaN vectors,
// vectors longer than one slab, and a scratch table that cannot be allocated.
#include "../memory_probe.hpp"
#include "qvsip.h"
#include "reduction_fixtures.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace {

using namespace qvsip::test;
using qvsip::real_vector;
using qvsip::reductions::max_magnitude;
using qvsip::reductions::max_magnitude_squared;
using qvsip::reductions::reduction_setting;

constexpr vsip_index untouched = 0xdeadbeef;
constexpr float not_a_number = std::numeric_limits<float>::quiet_NaN();
constexpr std::uint64_t slab_length = 524288;
constexpr reduction_setting parallel_setting = {3, 2};

bool is_parallel_search(reduction_setting s) {
    return s.threads != 1 && s.profile != 1;
}

struct expected_search {
    float value = -1.0f;
    vsip_index index = untouched;
};

// First strictly greater wins; NaN never compares greater.
expected_search reference(const std::vector<float>& magnitudes) {
    expected_search e;
    for (std::uint64_t i = 0; i < magnitudes.size(); ++i)
        if (magnitudes[i] > e.value) e = {magnitudes[i], i};
    return e;
}

// A magnitude with many ties (small integers), some NaN.
float tied_value() {
    if (uniform(0, 1) < 0.1f) return not_a_number;
    return std::floor(uniform(-6, 6));
}

std::vector<float> magnitudes_of(strided_reals& a) {
    std::vector<float> m(a.length);
    for (std::uint64_t i = 0; i < a.length; ++i)
        m[i] = std::fabs(a[i]);
    return m;
}

void expect_search(const real_vector& view, reduction_setting setting,
                   const expected_search& expected) {
    vsip_index index = untouched;
    const float value = max_magnitude(view, setting, &index);
    EXPECT_EQ(value, expected.value);
    EXPECT_EQ(index, expected.index);
}

// ---------------------------------------------------------------------------------------------
// Public functions

TEST(MaxMagnitudeArguments, MissingArgumentsGiveNaNAndLeaveTheIndex) {
    float data[4] = {3, -7, 7, 1};
    vsip_vview_f* view = vsip_vbind_f(vsip_blockbind_f(data, 4, VSIP_MEM_NONE), 0, 1, 4);
    vsip_index index = untouched;
    EXPECT_TRUE(std::isnan(vsip_vmaxmgval_f(view, nullptr)));
    EXPECT_TRUE(std::isnan(vsip_vmaxmgval_f(nullptr, &index)));
    vsip_block_f_s no_data{};
    vsip_vview_f_s empty_block{};
    empty_block.block = &no_data;
    empty_block.stride = 1;
    empty_block.length = 4;
    EXPECT_TRUE(std::isnan(vsip_vmaxmgval_f(&empty_block, &index)));
    vsip_cblock_f_s no_parts{};
    vsip_cvview_f_s complex_view{};
    complex_view.block = &no_parts;
    complex_view.stride = 1;
    complex_view.length = 4;
    EXPECT_TRUE(std::isnan(vsip_vcmaxmgsqval_f(&complex_view, &index)));
    EXPECT_TRUE(std::isnan(vsip_vcmaxmgsqval_f(nullptr, &index)));
    EXPECT_EQ(index, untouched);
    vsip_valldestroy_f(view);
}

TEST(MaxMagnitudeValues, FirstOfEqualMagnitudesWithOneAndFourThreads) {
    float data[4] = {3, -7, 7, 1};
    float pairs[8] = {1, 2, -2, 1, 0, 0, 2, -1};
    vsip_vview_f* view = vsip_vbind_f(vsip_blockbind_f(data, 4, VSIP_MEM_NONE), 0, 1, 4);
    vsip_cvview_f* complex_view =
        vsip_cvbind_f(vsip_cblockbind_f(pairs, nullptr, 4, VSIP_MEM_NONE), 0, 1, 4);
    for (int threads : {1, 4}) {
        ASSERT_EQ(QVSIP_SetOmpThreadNum(threads), 0);
        vsip_index index = untouched;
        EXPECT_EQ(vsip_vmaxmgval_f(view, &index), 7.0f);
        EXPECT_EQ(index, 1u);
        index = untouched;
        EXPECT_EQ(vsip_vcmaxmgsqval_f(complex_view, &index), 5.0f);
        EXPECT_EQ(index, 0u);
    }
    QVSIP_SetOmpThreadNum(1);
    vsip_valldestroy_f(view);
    vsip_cvalldestroy_f(complex_view);
}

// ---------------------------------------------------------------------------------------------
// Every path

TEST(MaxMagnitude, LeadingTieGivesIndexZeroOnEveryPath) {
    std::vector<float> data = {5, 5, 0, 0, 0, 0, 0, 0};
    for (const reduction_setting& setting : all_settings)
        expect_search({data.data(), 1, data.size()}, setting, {5.0f, 0});
}

TEST(MaxMagnitude, TiesAndNaNGiveTheReferenceIndexOnEveryPath) {
    for (int trial = 0; trial < 4; ++trial)
        for (std::ptrdiff_t stride : strides)
            for (std::uint64_t n : test_lengths) {
                strided_reals a(n, stride);
                for (std::uint64_t i = 0; i < n; ++i)
                    a[i] = tied_value();
                const std::vector<float> m = magnitudes_of(a);
                expected_search expected = reference(m);
                for (const reduction_setting& setting : all_settings) {
                    SCOPED_TRACE("T=" + std::to_string(setting.threads) +
                                 " profile=" + std::to_string(setting.profile) +
                                 " n=" + std::to_string(n) + " stride=" + std::to_string(stride));
                    if (expected.index != untouched) expect_search(a.view(), setting, expected);
                }
            }
}

TEST(MaxMagnitudeSquared, TiesAndNaNGiveTheReferenceIndexInEveryStorage) {
    for (int trial = 0; trial < 4; ++trial)
        for (const complex_layout& layout : complex_layouts)
            for (std::uint64_t n : test_lengths) {
                complex_data a(n, layout);
                std::vector<float> m(n);
                for (std::uint64_t i = 0; i < n; ++i) {
                    a.re(i) = tied_value();
                    a.im(i) = std::floor(uniform(-3, 3));
                    m[i] = std::fma(a.re(i), a.re(i), a.im(i) * a.im(i));
                }
                const expected_search expected = reference(m);
                if (expected.index == untouched) continue;
                for (const reduction_setting& setting : all_settings) {
                    vsip_index index = untouched;
                    EXPECT_EQ(max_magnitude_squared(a.vector, setting, &index), expected.value);
                    EXPECT_EQ(index, expected.index) << "n=" << n << " storage " << layout.name;
                }
            }
}

TEST(MaxMagnitude, AllNaNGivesMinusOneSerialLeavesIndexParallelTakesLastGroup) {
    constexpr std::uint64_t n = 13; // three groups of 4 and one element
    std::vector<float> data(n, not_a_number);
    for (const reduction_setting& setting : all_settings) {
        vsip_index index = untouched;
        EXPECT_EQ(max_magnitude({data.data(), 1, n}, setting, &index), -1.0f);
        EXPECT_EQ(index, is_parallel_search(setting) ? 8u : untouched);
    }
}

// ---------------------------------------------------------------------------------------------
// Slabs

std::vector<float> small_values(std::uint64_t n) {
    std::vector<float> data(n);
    for (float& x : data)
        x = uniform(-1, 1);
    return data;
}

TEST(MaxMagnitudeSlabs, EarlierSlabWinsTies) {
    std::vector<float> data = small_values(slab_length + 1);
    data[0] = 9;
    data[slab_length] = -9;
    for (const reduction_setting& setting : all_settings)
        expect_search({data.data(), 1, data.size()}, setting, {9.0f, 0});
}

TEST(MaxMagnitudeSlabs, LaterSlabsAndTheTailReplaceOnlyWhenGreater) {
    const std::uint64_t n = 2 * slab_length + 7;
    std::vector<float> data = small_values(n);
    data[100] = 4;
    data[slab_length + 1000] = 6;  // second slab, greater
    data[2 * slab_length + 1] = 6; // last partial slab, a tie
    data[n - 1] = -6;              // final tail, a tie
    for (const reduction_setting& setting : {reduction_setting{1, 2}, parallel_setting})
        expect_search({data.data(), 1, n}, setting, {6.0f, slab_length + 1000});
    data[n - 2] = 6.5f; // final tail, greater
    for (const reduction_setting& setting : {reduction_setting{1, 2}, parallel_setting})
        expect_search({data.data(), 1, n}, setting, {6.5f, n - 2});
}

TEST(MaxMagnitude, UnallocatableScratchTableFallsBackToTheSerialSearch) {
    std::vector<float> data = small_values(1000);
    data[777] = 3;
    memory_probe probe;
    probe.fail_after(0);
    expect_search({data.data(), 1, data.size()}, parallel_setting, {3.0f, 777});
    EXPECT_EQ(probe.live(), 0);
}

} // namespace
