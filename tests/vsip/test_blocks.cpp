// Aligned record allocation and the blocks built on it: binding limits, admission, complex
// storage in both layouts, destruction rules and clean failure when memory runs out.
#include "memory_probe.hpp"
#include "qvsip.h"
#include "vsip/record.hpp"
#include "vsip/support.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

using qvsip::test::memory_probe;

std::uintptr_t address(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

TEST(Record, AlignedAboveItsStoredStart) {
    memory_probe probe;
    for (std::size_t size : {0, 1, 63, 64, 65, 200}) {
        void* record = qvsip::allocate_record_bytes(size);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(address(record) % 64, 0u);
        void* start = nullptr;
        std::memcpy(&start, static_cast<char*>(record) - sizeof start, sizeof start);
        EXPECT_GE(address(record) - address(start), 8u);
        EXPECT_LT(address(record) - address(start), 72u);
        std::memset(record, 0xff, size); // the whole record is usable
        qvsip::release_record(record);
    }
    EXPECT_EQ(probe.live(), 0);
}

TEST(Record, OverflowingSizeIsRefusedWithoutAllocating) {
    memory_probe probe;
    constexpr std::size_t largest_size = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(qvsip::allocate_record_bytes(largest_size), nullptr);
    EXPECT_EQ(qvsip::allocate_record_bytes(largest_size - qvsip::record_overhead + 1), nullptr);
    EXPECT_EQ(probe.allocations(), 0);
}

TEST(Record, ForeignPointersAreNotFreed) {
    memory_probe probe; // a call of its release would free a stack address and crash
    qvsip::release_record(nullptr);
    alignas(64) std::array<unsigned char, 256> foreign{};
    unsigned char* record = foreign.data() + 128;
    for (const std::intptr_t distance : {0, 7, 72, 4096, -8}) {
        const void* start = reinterpret_cast<void*>(address(record) - distance);
        std::memcpy(record - sizeof start, &start, sizeof start);
        qvsip::release_record(record);
    }
    EXPECT_EQ(probe.live(), 0);
}

TEST(Block, NullArrayOrUnaddressableLengthIsRefused) {
    float reals[1] = {};
    vsip_scalar_i integers[1] = {};
    vsip_scalar_bl booleans[1] = {};
    const vsip_length longest = qvsip::max_block_length<float>();
    EXPECT_EQ(vsip_blockbind_f(nullptr, 10, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_blockbind_i(nullptr, 10, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_blockbind_bl(nullptr, 10, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_blockbind_f(reals, longest + 1, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_blockbind_i(integers, ~0ull, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_blockbind_bl(booleans, longest + 1, VSIP_MEM_NONE), nullptr);
    vsip_block_f* block = vsip_blockbind_f(reals, longest, VSIP_MEM_SHARED);
    ASSERT_NE(block, nullptr); // binding never touches the array
    EXPECT_EQ(block->hint, VSIP_MEM_SHARED);
    vsip_blockdestroy_f(block);
}

TEST(Block, AdmissionOfBoundBlocksAndOfNull) {
    float reals[4] = {};
    vsip_scalar_i integers[4] = {};
    vsip_scalar_bl booleans[4] = {};
    vsip_block_f* real = vsip_blockbind_f(reals, 4, VSIP_MEM_NONE);
    vsip_block_i* integer = vsip_blockbind_i(integers, 4, VSIP_MEM_NONE);
    vsip_block_bl* boolean = vsip_blockbind_bl(booleans, 4, VSIP_MEM_NONE);
    ASSERT_TRUE(real && integer && boolean);
    EXPECT_EQ(real->admitted + integer->admitted + boolean->admitted, 0);
    EXPECT_EQ(vsip_blockadmit_f(real, VSIP_TRUE), 0);
    EXPECT_EQ(vsip_blockadmit_i(integer, VSIP_TRUE), 0);
    EXPECT_EQ(vsip_blockadmit_bl(boolean, VSIP_FALSE), 0);
    EXPECT_EQ(real->admitted + integer->admitted + boolean->admitted, 3);
    EXPECT_EQ(vsip_blockadmit_f(nullptr, VSIP_TRUE) + vsip_blockadmit_i(nullptr, VSIP_TRUE) +
                  vsip_blockadmit_bl(nullptr, VSIP_TRUE) + vsip_cblockadmit_f(nullptr, VSIP_TRUE),
              0);
    vsip_blockdestroy_f(real);
    vsip_blockdestroy_i(integer);
    vsip_blockdestroy_bl(boolean);
    vsip_blockdestroy_f(nullptr);
    vsip_blockdestroy_i(nullptr);
    vsip_blockdestroy_bl(nullptr);
    vsip_cblockdestroy_f(nullptr);
}

TEST(ComplexBlock, PartsOfBothLayouts) {
    float pairs[8] = {}, re[4] = {}, im[4] = {};
    vsip_cblock_f* interleaved = vsip_cblockbind_f(pairs, nullptr, 4, VSIP_MEM_RDONLY);
    vsip_cblock_f* split = vsip_cblockbind_f(re, im, 4, VSIP_MEM_RDONLY);
    ASSERT_TRUE(interleaved && split);
    EXPECT_EQ(interleaved->real->data, pairs);
    EXPECT_EQ(interleaved->imag->data, pairs + 1);
    EXPECT_EQ(split->real->data, re);
    EXPECT_EQ(split->imag->data, im);
    for (vsip_cblock_f* block : {interleaved, split})
        for (vsip_block_f* part : {block->real, block->imag}) {
            EXPECT_EQ(part->parent, block);
            EXPECT_EQ(part->kind, qvsip::complex_component);
            EXPECT_EQ(part->element_stride, block->element_stride);
            EXPECT_EQ(part->length, 4u);
            EXPECT_EQ(part->hint, VSIP_MEM_RDONLY);
        }
    EXPECT_EQ(interleaved->element_stride, qvsip::interleaved_stride);
    EXPECT_EQ(split->element_stride, qvsip::split_stride);
    vsip_cblockdestroy_f(interleaved);
    vsip_cblockdestroy_f(split);
}

TEST(ComplexBlock, MissingFirstArrayOrUnaddressableLengthIsRefused) {
    float data[2] = {};
    const vsip_length interleaved_limit = qvsip::max_block_length<float>(2);
    EXPECT_EQ(vsip_cblockbind_f(nullptr, data, 1, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_cblockbind_f(nullptr, nullptr, 1, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_cblockbind_f(data, nullptr, interleaved_limit + 1, VSIP_MEM_NONE), nullptr);
    vsip_cblock_f* split = vsip_cblockbind_f(data, data + 1, interleaved_limit + 1, VSIP_MEM_NONE);
    EXPECT_NE(split, nullptr); // split parts need one scalar per element
    vsip_cblockdestroy_f(split);
}

TEST(ComplexBlock, ComponentsCannotBeAdmittedOrDestroyedAlone) {
    memory_probe probe;
    float pairs[4] = {1, 2, 3, 4};
    vsip_cblock_f* block = vsip_cblockbind_f(pairs, nullptr, 2, VSIP_MEM_NONE);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(vsip_blockadmit_f(block->real, VSIP_TRUE), 1);
    EXPECT_EQ(block->real->admitted, 0);
    EXPECT_EQ(vsip_cblockadmit_f(block, VSIP_TRUE), 0);
    EXPECT_EQ(block->admitted, 1);

    vsip_blockdestroy_f(block->real);
    vsip_blockdestroy_f(block->imag);
    EXPECT_EQ(probe.live(), 3);
    vsip_cvview_f* view = vsip_cvbind_f(block, 0, 1, 2); // the block is still usable
    EXPECT_EQ(vsip_cvget_f(view, 1).i, 4.0f);
    vsip_cvalldestroy_f(view);
    EXPECT_EQ(probe.live(), 0);
    EXPECT_EQ(pairs[3], 4.0f); // the caller's array is untouched
}

TEST(ComplexBlock, OutOfMemoryAtAnyStepLeavesNothingAllocated) {
    float a[4] = {}, b[4] = {};
    for (float* second : {static_cast<float*>(nullptr), b})
        for (int successes = 0; successes < 3; ++successes) {
            SCOPED_TRACE(testing::Message() << (second ? "split" : "interleaved") << ", "
                                            << successes << " allocations succeed");
            memory_probe probe;
            probe.fail_after(successes);
            EXPECT_EQ(vsip_cblockbind_f(a, second, 4, VSIP_MEM_NONE), nullptr);
            EXPECT_EQ(probe.live(), 0);
        }
}

} // namespace
