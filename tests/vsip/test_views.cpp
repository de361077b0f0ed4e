// Vector and matrix views: element addressing in every storage, bounds checks at binding,
// element access outside the view, and the destroy functions' hand-back of the block.
#include "memory_probe.hpp"
#include "qvsip.h"
#include "vsip/support.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>

namespace {

using qvsip::test::memory_probe;

constexpr std::uint32_t quiet_nan_bits = 0x7fc00000u;
constexpr vsip_stride huge_stride = std::numeric_limits<vsip_stride>::max();

bool is_quiet_nan(float x) {
    return std::bit_cast<std::uint32_t>(x) == quiet_nan_bits;
}

// ---------------------------------------------------------------------------------------------
// Element access

TEST(ComplexView, InterleavedAndSplitStorageGiveTheSameElements) {
    float pairs[4] = {1, 2, 3, 4};
    float re[2] = {1, 3}, im[2] = {2, 4};
    for (vsip_cblock_f* block : {vsip_cblockbind_f(pairs, nullptr, 2, VSIP_MEM_NONE),
                                 vsip_cblockbind_f(re, im, 2, VSIP_MEM_NONE)}) {
        vsip_cvview_f* view = vsip_cvbind_f(block, 0, 1, 2);
        ASSERT_NE(view, nullptr);
        const vsip_cscalar_f x = vsip_cvget_f(view, 1);
        const vsip_cscalar_f expected = vsip_cmplx_f(3.0f, 4.0f);
        EXPECT_EQ(x.r, expected.r);
        EXPECT_EQ(x.i, expected.i);
        vsip_cvalldestroy_f(view);
    }
}

TEST(RealView, NegativeStrideWalksBackwards) {
    float data[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    vsip_block_f* block = vsip_blockbind_f(data, 10, VSIP_MEM_NONE);
    vsip_vview_f* view = vsip_vbind_f(block, 9, -2, 5);
    ASSERT_NE(view, nullptr);
    for (vsip_index i = 0; i < 5; ++i)
        EXPECT_EQ(vsip_vget_f(view, i), static_cast<float>(9 - 2 * i));
    vsip_valldestroy_f(view);
}

TEST(ElementAccess, OutsideTheViewGivesQuietNaN) {
    float data[4] = {1, 2, 3, 4};
    vsip_block_f* block = vsip_blockbind_f(data, 4, VSIP_MEM_NONE);
    vsip_vview_f* view = vsip_vbind_f(block, 1, 1, 3);
    EXPECT_EQ(vsip_vget_f(view, 2), 4.0f);
    EXPECT_TRUE(is_quiet_nan(vsip_vget_f(view, 3)));
    EXPECT_TRUE(is_quiet_nan(vsip_vget_f(view, std::numeric_limits<vsip_index>::max())));
    EXPECT_TRUE(is_quiet_nan(vsip_vget_f(nullptr, 0)));
    vsip_valldestroy_f(view);

    vsip_cblock_f* complex_block = vsip_cblockbind_f(data, nullptr, 2, VSIP_MEM_NONE);
    vsip_cvview_f* complex_view = vsip_cvbind_f(complex_block, 0, 1, 2);
    for (const vsip_cscalar_f x : {vsip_cvget_f(complex_view, 2), vsip_cvget_f(nullptr, 0)}) {
        EXPECT_TRUE(is_quiet_nan(x.r));
        EXPECT_TRUE(is_quiet_nan(x.i));
    }
    vsip_cvalldestroy_f(complex_view);
}

TEST(MatrixView, RowMajorAndTransposedAddressing) {
    float data[12];
    for (int k = 0; k < 12; ++k)
        data[k] = static_cast<float>(k);
    vsip_block_f* block = vsip_blockbind_f(data, 12, VSIP_MEM_NONE);
    vsip_mview_f* rows = vsip_mbind_f(block, 0, 4, 3, 1, 4);    // 3 x 4, row-major
    vsip_mview_f* columns = vsip_mbind_f(block, 0, 1, 4, 4, 3); // its 4 x 3 transpose
    ASSERT_TRUE(rows && columns);
    const qvsip::real_matrix a = qvsip::resolve(*rows);
    const qvsip::real_matrix t = qvsip::resolve(*columns);
    EXPECT_EQ(a.col_length, 3u);
    EXPECT_EQ(a.row_length, 4u);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(a.start[r * a.col_stride + c * a.row_stride], 4.0f * r + c);
            EXPECT_EQ(t.start[c * t.col_stride + r * t.row_stride], 4.0f * r + c);
        }
    EXPECT_EQ(vsip_mdestroy_f(rows), block);
    vsip_malldestroy_f(columns);
}

TEST(MatrixView, InterleavedStridesCountScalars) {
    float pairs[12] = {};
    vsip_cblock_f* block = vsip_cblockbind_f(pairs, nullptr, 6, VSIP_MEM_NONE);
    vsip_cmview_f* view = vsip_cmbind_f(block, 1, 3, 2, 1, 2); // rows {1, 2}, {4, 5}
    ASSERT_NE(view, nullptr);
    const qvsip::complex_matrix m = qvsip::resolve(*view);
    EXPECT_EQ(m.re, pairs + 2);
    EXPECT_EQ(m.im, pairs + 3);
    EXPECT_EQ(m.row_stride, 2);
    EXPECT_EQ(m.col_stride, 6);
    EXPECT_EQ(m.element_stride, 2);
    EXPECT_EQ(vsip_cmdestroy_f(view), block);
    vsip_cblockdestroy_f(block);
}

TEST(IntegerView, ContiguousAddressing) {
    vsip_scalar_i integers[6] = {0, 10, 20, 30, 40, 50};
    vsip_block_i* block = vsip_blockbind_i(integers, 6, VSIP_MEM_NONE);
    vsip_vview_i* view = vsip_vbind_i(block, 1, 2, 3);
    ASSERT_NE(view, nullptr);
    const qvsip::integer_vector<vsip_scalar_i> v = qvsip::resolve(*view);
    EXPECT_EQ(v.start[2 * v.stride], 50);
    EXPECT_EQ(vsip_vdestroy_i(view), block);
    vsip_blockdestroy_i(block);
}

// ---------------------------------------------------------------------------------------------
// Binding

TEST(Binding, NullBlockGivesNull) {
    EXPECT_EQ(vsip_vbind_f(nullptr, 0, 1, 1), nullptr);
    EXPECT_EQ(vsip_vbind_i(nullptr, 0, 1, 1), nullptr);
    EXPECT_EQ(vsip_vbind_bl(nullptr, 0, 1, 1), nullptr);
    EXPECT_EQ(vsip_cvbind_f(nullptr, 0, 1, 1), nullptr);
    EXPECT_EQ(vsip_mbind_f(nullptr, 0, 1, 1, 1, 1), nullptr);
    EXPECT_EQ(vsip_cmbind_f(nullptr, 0, 1, 1, 1, 1), nullptr);
}

TEST(Binding, VectorsMustStayInsideTheirBlock) {
    float data[10] = {};
    vsip_block_f* block = vsip_blockbind_f(data, 10, VSIP_MEM_NONE);
    struct test_case {
        vsip_offset offset;
        vsip_stride stride;
        vsip_length length;
        bool fits;
    };
    const test_case cases[] = {
        {0, 1, 10, true},
        {8, 1, 2, true},
        {8, 1, 3, false},
        {9, -3, 4, true},
        {9, -3, 5, false},
        {10, 1, 1, false},
        {10, 1, 0, true},
        {11, 1, 0, false}, // empty: offset may end the block
        {3, 0, ~0ull, true},
        {0, huge_stride, 2, false},
        {1, -huge_stride - 1, 2, false},
        {0, 2, ~0ull, false},
    };
    for (const test_case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << ", " << c.stride << ", " << c.length);
        vsip_vview_f* view = vsip_vbind_f(block, c.offset, c.stride, c.length);
        EXPECT_EQ(view != nullptr, c.fits);
        vsip_vdestroy_f(view);
    }
    vsip_blockdestroy_f(block);
}

TEST(Binding, ComplexViewsCountComplexElements) {
    float pairs[4] = {};
    vsip_cblock_f* block = vsip_cblockbind_f(pairs, nullptr, 2, VSIP_MEM_NONE);
    vsip_cvview_f* last = vsip_cvbind_f(block, 1, 1, 1);
    EXPECT_NE(last, nullptr);
    EXPECT_EQ(vsip_cvbind_f(block, 2, 1, 1), nullptr);
    EXPECT_EQ(vsip_cvbind_f(block, 0, 1, 3), nullptr);
    vsip_cvdestroy_f(last);
    vsip_cblockdestroy_f(block);
}

TEST(Binding, MatricesCheckAllFourCorners) {
    float data[12] = {};
    vsip_block_f* block = vsip_blockbind_f(data, 12, VSIP_MEM_NONE);
    vsip_mview_f* reversed = vsip_mbind_f(block, 11, -4, 3, -1, 4);
    EXPECT_NE(reversed, nullptr);
    vsip_mdestroy_f(reversed);
    EXPECT_EQ(vsip_mbind_f(block, 1, 4, 3, 1, 4), nullptr);  // last corner at 12
    EXPECT_EQ(vsip_mbind_f(block, 3, 4, 3, -1, 5), nullptr); // corner below 0
    EXPECT_EQ(vsip_mbind_f(block, 0, huge_stride, 2, huge_stride, 2), nullptr);
    vsip_mview_f* empty = vsip_mbind_f(block, 12, 4, 0, 1, 4);
    EXPECT_NE(empty, nullptr);
    vsip_mdestroy_f(empty);
    vsip_blockdestroy_f(block);
}

// ---------------------------------------------------------------------------------------------
// Destruction

TEST(Destruction, ViewHandsBackABlockOtherViewsStillUse) {
    memory_probe probe;
    float data[4] = {1, 2, 3, 4};
    vsip_block_f* block = vsip_blockbind_f(data, 4, VSIP_MEM_NONE);
    vsip_vview_f* first = vsip_vbind_f(block, 0, 1, 4);
    vsip_vview_f* second = vsip_vbind_f(block, 3, -1, 4);
    EXPECT_EQ(vsip_vdestroy_f(first), block);
    EXPECT_EQ(vsip_vget_f(second, 0), 4.0f);
    vsip_valldestroy_f(second);
    EXPECT_EQ(probe.live(), 0);
    EXPECT_EQ(vsip_vdestroy_f(nullptr), nullptr);
    EXPECT_EQ(vsip_vdestroy_i(nullptr), nullptr);
    EXPECT_EQ(vsip_vdestroy_bl(nullptr), nullptr);
    EXPECT_EQ(vsip_cvdestroy_f(nullptr), nullptr);
    EXPECT_EQ(vsip_mdestroy_f(nullptr), nullptr);
    EXPECT_EQ(vsip_cmdestroy_f(nullptr), nullptr);
}

TEST(Destruction, DestroyAllReleasesViewAndBlockOfEveryType) {
    memory_probe probe;
    vsip_scalar_i integers[2] = {};
    vsip_scalar_bl booleans[2] = {};
    float reals[4] = {};
    vsip_valldestroy_i(vsip_vbind_i(vsip_blockbind_i(integers, 2, VSIP_MEM_NONE), 0, 1, 2));
    vsip_valldestroy_bl(vsip_vbind_bl(vsip_blockbind_bl(booleans, 2, VSIP_MEM_NONE), 0, 1, 2));
    vsip_malldestroy_f(vsip_mbind_f(vsip_blockbind_f(reals, 4, VSIP_MEM_NONE), 0, 2, 2, 1, 2));
    vsip_cmalldestroy_f(
        vsip_cmbind_f(vsip_cblockbind_f(reals, nullptr, 2, VSIP_MEM_NONE), 0, 1, 1, 1, 2));
    EXPECT_EQ(probe.allocations(), 10);
    EXPECT_EQ(probe.live(), 0);
    vsip_valldestroy_f(nullptr);
    vsip_valldestroy_i(nullptr);
    vsip_valldestroy_bl(nullptr);
    vsip_cvalldestroy_f(nullptr);
    vsip_malldestroy_f(nullptr);
    vsip_cmalldestroy_f(nullptr);
}

TEST(Destruction, DestroyAllOnAComponentViewKeepsTheComplexBlock) {
    memory_probe probe;
    float pairs[4] = {1, 2, 3, 4};
    vsip_cblock_f* block = vsip_cblockbind_f(pairs, nullptr, 2, VSIP_MEM_NONE);
    vsip_valldestroy_f(vsip_vbind_f(block->imag, 0, 1, 2));
    EXPECT_EQ(probe.live(), 3);
    vsip_cvview_f* view = vsip_cvbind_f(block, 0, 1, 2);
    EXPECT_EQ(vsip_cvget_f(view, 1).i, 4.0f);
    vsip_cvalldestroy_f(view);
    EXPECT_EQ(probe.live(), 0);
}

TEST(Destruction, OutOfMemoryGivesNullView) {
    float data[2] = {};
    vsip_block_f* block = vsip_blockbind_f(data, 2, VSIP_MEM_NONE);
    {
        memory_probe probe;
        probe.fail_after(0);
        EXPECT_EQ(vsip_vbind_f(block, 0, 1, 2), nullptr);
        EXPECT_EQ(vsip_mbind_f(block, 0, 1, 1, 1, 2), nullptr);
    }
    vsip_blockdestroy_f(block);
}

} // namespace
