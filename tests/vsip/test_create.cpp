// Created blocks and views (storage, layout, admission, limits), release, rebind and find, and
// element access by index.
#include "memory_probe.hpp"
#include "qvsip.h"
#include "vsip/support.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

using qvsip::test::memory_probe;

constexpr vsip_length huge = ~0ull;

float value_at(vsip_index i) {
    return 0.5f + static_cast<float>(i);
}

// ---------------------------------------------------------------------------------------------
// Creates

TEST(Create, VectorsHoldWhatIsPut) {
    memory_probe probe;
    for (const vsip_length n : {vsip_length{1}, vsip_length{7}, vsip_length{100}}) {
        vsip_vview_f* real = vsip_vcreate_f(n, VSIP_MEM_NONE);
        vsip_vview_i* integer = vsip_vcreate_i(n, VSIP_MEM_NONE);
        vsip_vview_bl* boolean = vsip_vcreate_bl(n, VSIP_MEM_NONE);
        vsip_cvview_f* complex = vsip_cvcreate_f(n, VSIP_MEM_NONE);
        ASSERT_TRUE(real && integer && boolean && complex) << n;
        for (vsip_index i = 0; i < n; ++i) {
            vsip_vput_f(real, i, value_at(i));
            vsip_vput_i(integer, i, static_cast<vsip_scalar_i>(i) - 3);
            vsip_vput_bl(boolean, i, static_cast<vsip_scalar_bl>(i % 2));
            vsip_cvput_f(complex, i, vsip_cmplx_f(value_at(i), -value_at(i)));
        }
        for (vsip_index i = 0; i < n; ++i) {
            EXPECT_EQ(vsip_vget_f(real, i), value_at(i));
            EXPECT_EQ(vsip_vget_i(integer, i), static_cast<vsip_scalar_i>(i) - 3);
            EXPECT_EQ(vsip_vget_bl(boolean, i), static_cast<vsip_scalar_bl>(i % 2));
            EXPECT_EQ(vsip_cvget_f(complex, i).r, value_at(i));
            EXPECT_EQ(vsip_cvget_f(complex, i).i, -value_at(i));
        }
        EXPECT_EQ(complex->block->element_stride, qvsip::interleaved_stride);
        vsip_valldestroy_f(real);
        vsip_valldestroy_i(integer);
        vsip_valldestroy_bl(boolean);
        vsip_cvalldestroy_f(complex);
        EXPECT_EQ(probe.live(), 0) << n;
    }
}

// Block element of matrix element (i, j) in a 3 x 4 matrix of either major.
struct major_case {
    vsip_major major;
    vsip_stride col_stride, row_stride;
};

TEST(Create, MatricesLayOutRowsOrColumns) {
    const major_case cases[] = {{VSIP_ROW, 4, 1}, {VSIP_COL, 1, 3}};
    for (const major_case& c : cases) {
        vsip_mview_f* real = vsip_mcreate_f(3, 4, c.major, VSIP_MEM_NONE);
        vsip_cmview_f* complex = vsip_cmcreate_f(3, 4, c.major, VSIP_MEM_NONE);
        ASSERT_TRUE(real && complex);
        for (vsip_mview_f_s* m : {real})
            EXPECT_TRUE(m->col_stride == c.col_stride && m->row_stride == c.row_stride &&
                        m->col_length == 3 && m->row_length == 4 && m->offset == 0);
        EXPECT_TRUE(complex->col_stride == c.col_stride && complex->row_stride == c.row_stride);
        for (vsip_index i = 0; i < 3; ++i)
            for (vsip_index j = 0; j < 4; ++j) {
                vsip_mput_f(real, i, j, value_at(10 * i + j));
                vsip_cmput_f(complex, i, j, vsip_cmplx_f(value_at(i), value_at(j)));
            }
        const float* data = real->block->data;
        const float* pairs = complex->block->real->data;
        for (vsip_index i = 0; i < 3; ++i)
            for (vsip_index j = 0; j < 4; ++j) {
                const std::ptrdiff_t k = static_cast<std::ptrdiff_t>(i) * c.col_stride +
                                         static_cast<std::ptrdiff_t>(j) * c.row_stride;
                EXPECT_EQ(vsip_mget_f(real, i, j), value_at(10 * i + j));
                EXPECT_EQ(data[k], value_at(10 * i + j));
                EXPECT_EQ(vsip_cmget_f(complex, i, j).r, value_at(i));
                EXPECT_EQ(pairs[2 * k + 1], value_at(j));
            }
        vsip_malldestroy_f(real);
        vsip_cmalldestroy_f(complex);
    }
}

TEST(Create, BlocksAreAdmittedAlignedAndKeepTheHint) {
    vsip_block_f* real = vsip_blockcreate_f(5, VSIP_MEM_SHARED);
    vsip_block_i* integer = vsip_blockcreate_i(5, VSIP_MEM_RDONLY);
    vsip_block_bl* boolean = vsip_blockcreate_bl(0, VSIP_MEM_CONST);
    vsip_cblock_f* complex = vsip_cblockcreate_f(5, VSIP_MEM_SHARED_CONST);
    ASSERT_TRUE(real && integer && boolean && complex);
    EXPECT_EQ(real->admitted + integer->admitted + boolean->admitted + complex->admitted, 4);
    EXPECT_EQ(vsip_blockadmit_f(real, VSIP_TRUE) + vsip_blockadmit_i(integer, VSIP_TRUE) +
                  vsip_blockadmit_bl(boolean, VSIP_TRUE) + vsip_cblockadmit_f(complex, VSIP_TRUE),
              0);
    EXPECT_EQ(real->hint + integer->hint + boolean->hint,
              VSIP_MEM_SHARED + VSIP_MEM_RDONLY + VSIP_MEM_CONST);
    EXPECT_EQ(complex->real->hint, VSIP_MEM_SHARED_CONST);
    EXPECT_EQ(complex->imag->data, complex->real->data + 1);
    EXPECT_EQ(complex->real->parent, complex);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(real->data) % qvsip::record_alignment, 0u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(complex->real->data) % qvsip::record_alignment, 0u);
    vsip_blockdestroy_f(real);
    vsip_blockdestroy_i(integer);
    vsip_blockdestroy_bl(boolean);
    vsip_cblockdestroy_f(complex);
}

TEST(Create, UnaddressableSizesAreRefused) {
    memory_probe probe;
    const vsip_length longest = qvsip::max_block_length<float>();
    EXPECT_EQ(vsip_blockcreate_f(longest + 1, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_blockcreate_i(huge, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_blockcreate_bl(huge, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_cblockcreate_f(qvsip::max_block_length<float>(2) + 1, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_vcreate_f(huge, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_cvcreate_f(huge, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_mcreate_f(1ull << 32, 1ull << 32, VSIP_ROW, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_cmcreate_f(huge, 2, VSIP_COL, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(probe.live(), 0);
}

// ---------------------------------------------------------------------------------------------
// Release, rebind and find

TEST(Release, BoundRealBlockCycle) {
    float first[3] = {1, 2, 3}, second[3] = {4, 5, 6};
    vsip_block_f* block = vsip_blockbind_f(first, 3, VSIP_MEM_NONE);
    vsip_vview_f* view = vsip_vbind_f(block, 0, 1, 3);
    ASSERT_EQ(vsip_blockadmit_f(block, VSIP_TRUE), 0);
    EXPECT_EQ(vsip_blockrebind_f(block, second), nullptr); // admitted
    EXPECT_EQ(vsip_blockfind_f(block), first);
    EXPECT_EQ(vsip_blockrelease_f(block, VSIP_TRUE), first);
    EXPECT_EQ(block->admitted, 0);
    EXPECT_EQ(vsip_blockrebind_f(block, nullptr), nullptr);
    EXPECT_EQ(vsip_blockrebind_f(block, second), first);
    EXPECT_EQ(vsip_blockfind_f(block), second);
    EXPECT_EQ(vsip_vget_f(view, 2), 6.0f);
    vsip_valldestroy_f(view);
}

TEST(Release, BlocksWithoutUserArraysHandOutNothing) {
    float data[4] = {};
    vsip_block_f* created = vsip_blockcreate_f(4, VSIP_MEM_NONE);
    vsip_cblock_f* complex = vsip_cblockbind_f(data, nullptr, 2, VSIP_MEM_NONE);
    vsip_block_i* integer = vsip_blockcreate_i(4, VSIP_MEM_NONE);
    vsip_block_bl* boolean = vsip_blockcreate_bl(4, VSIP_MEM_NONE);
    for (vsip_block_f* block :
         {created, complex->real, complex->imag, static_cast<vsip_block_f*>(nullptr)}) {
        EXPECT_EQ(vsip_blockrelease_f(block, VSIP_TRUE), nullptr);
        EXPECT_EQ(vsip_blockrebind_f(block, data), nullptr);
        EXPECT_EQ(vsip_blockfind_f(block), nullptr);
    }
    EXPECT_EQ(created->admitted, 1);
    EXPECT_EQ(vsip_blockrelease_i(integer, VSIP_TRUE), nullptr);
    EXPECT_EQ(vsip_blockrelease_bl(boolean, VSIP_TRUE), nullptr);
    EXPECT_EQ(vsip_blockrelease_i(nullptr, VSIP_TRUE), nullptr);
    EXPECT_EQ(vsip_blockrelease_bl(nullptr, VSIP_TRUE), nullptr);
    vsip_blockdestroy_f(created);
    vsip_cblockdestroy_f(complex);
    vsip_blockdestroy_i(integer);
    vsip_blockdestroy_bl(boolean);
}

TEST(Release, BoundIntegerBlocksHandBackTheirArrays) {
    vsip_scalar_i integers[2] = {};
    vsip_scalar_bl booleans[2] = {};
    vsip_block_i* integer = vsip_blockbind_i(integers, 2, VSIP_MEM_NONE);
    vsip_block_bl* boolean = vsip_blockbind_bl(booleans, 2, VSIP_MEM_NONE);
    vsip_blockadmit_i(integer, VSIP_TRUE);
    EXPECT_EQ(vsip_blockrelease_i(integer, VSIP_TRUE), integers);
    EXPECT_EQ(vsip_blockrelease_bl(boolean, VSIP_TRUE), booleans);
    EXPECT_EQ(integer->admitted, 0);
    vsip_blockdestroy_i(integer);
    vsip_blockdestroy_bl(boolean);
}

// A complex block bound one way, then rebound: the arrays handed back, and the values a view
// sees afterwards.
struct complex_rebind_case {
    const char* label;
    bool split_before, split_after;
};

TEST(Release, ComplexBlocksRebindInEitherStorage) {
    const complex_rebind_case cases[] = {{"interleaved to interleaved", false, false},
                                         {"interleaved to split", false, true},
                                         {"split to interleaved", true, false},
                                         {"split to split", true, true}};
    for (const complex_rebind_case& c : cases) {
        float pairs[4] = {1, 2, 3, 4}, re[2] = {1, 3}, im[2] = {2, 4};
        float new_pairs[4] = {5, 6, 7, 8}, new_re[2] = {5, 7}, new_im[2] = {6, 8};
        vsip_cblock_f* block = c.split_before ? vsip_cblockbind_f(re, im, 2, VSIP_MEM_NONE)
                                              : vsip_cblockbind_f(pairs, nullptr, 2, VSIP_MEM_NONE);
        vsip_cvview_f* view = vsip_cvbind_f(block, 0, 1, 2);
        float* old1 = nullptr;
        float* old2 = nullptr;
        vsip_cblockfind_f(block, &old1, &old2);
        EXPECT_EQ(old1, c.split_before ? re : pairs) << c.label;
        EXPECT_EQ(old2, c.split_before ? im : nullptr) << c.label;
        vsip_cblockadmit_f(block, VSIP_TRUE);
        vsip_cblockrebind_f(block, new_re, new_im, &old1, &old2);
        EXPECT_EQ(old1, nullptr) << c.label << ": admitted";
        vsip_cblockrelease_f(block, VSIP_TRUE, &old1, &old2);
        EXPECT_EQ(old1, c.split_before ? re : pairs) << c.label;
        vsip_cblockrebind_f(block, c.split_after ? new_re : new_pairs,
                            c.split_after ? new_im : nullptr, &old1, &old2);
        EXPECT_EQ(old1, c.split_before ? re : pairs) << c.label;
        EXPECT_EQ(old2, c.split_before ? im : nullptr) << c.label;
        EXPECT_EQ(vsip_cvget_f(view, 1).r, 7.0f) << c.label;
        EXPECT_EQ(vsip_cvget_f(view, 1).i, 8.0f) << c.label;
        vsip_cvalldestroy_f(view);
    }
}

TEST(Release, ComplexBlocksWithoutUserArraysHandOutNulls) {
    float sentinel = 0;
    vsip_cblock_f* created = vsip_cblockcreate_f(2, VSIP_MEM_NONE);
    for (vsip_cblock_f* block : {created, static_cast<vsip_cblock_f*>(nullptr)}) {
        float* first = &sentinel;
        float* second = &sentinel;
        vsip_cblockrelease_f(block, VSIP_TRUE, &first, &second);
        EXPECT_TRUE(first == nullptr && second == nullptr);
        first = second = &sentinel;
        vsip_cblockfind_f(block, &first, &second);
        EXPECT_TRUE(first == nullptr && second == nullptr);
        first = second = &sentinel;
        vsip_cblockrebind_f(block, &sentinel, nullptr, &first, &second);
        EXPECT_TRUE(first == nullptr && second == nullptr);
        vsip_cblockrelease_f(block, VSIP_TRUE, nullptr, nullptr); // null outputs are skipped
    }
    EXPECT_EQ(created->admitted, 1);
    vsip_cblockdestroy_f(created);
}

// ---------------------------------------------------------------------------------------------
// Element access outside the view

TEST(ElementAccess, OutsideTheViewGetsNothingAndPutsNothing) {
    vsip_mview_f* real = vsip_mcreate_f(2, 3, VSIP_ROW, VSIP_MEM_NONE);
    vsip_cmview_f* complex = vsip_cmcreate_f(2, 3, VSIP_COL, VSIP_MEM_NONE);
    vsip_vview_i* integer = vsip_vcreate_i(2, VSIP_MEM_NONE);
    vsip_vview_bl* boolean = vsip_vcreate_bl(2, VSIP_MEM_NONE);
    vsip_vview_f* vector = vsip_vcreate_f(2, VSIP_MEM_NONE);
    vsip_cvview_f* cvector = vsip_cvcreate_f(2, VSIP_MEM_NONE);
    for (vsip_index i = 0; i < 2; ++i) {
        for (vsip_index j = 0; j < 3; ++j) {
            vsip_mput_f(real, i, j, 0);
            vsip_cmput_f(complex, i, j, vsip_cmplx_f(0, 0));
        }
        vsip_vput_i(integer, i, 0);
        vsip_vput_bl(boolean, i, 0);
        vsip_vput_f(vector, i, 0);
        vsip_cvput_f(cvector, i, vsip_cmplx_f(0, 0));
    }
    const vsip_index outside[][2] = {{2, 0}, {0, 3}, {huge, huge}};
    for (const auto& at : outside) {
        vsip_mput_f(real, at[0], at[1], 1);
        vsip_cmput_f(complex, at[0], at[1], vsip_cmplx_f(1, 1));
        EXPECT_TRUE(std::isnan(vsip_mget_f(real, at[0], at[1])));
        EXPECT_TRUE(std::isnan(vsip_cmget_f(complex, at[0], at[1]).i));
    }
    for (const vsip_index i : {vsip_index{2}, huge}) {
        vsip_vput_i(integer, i, 1);
        vsip_vput_bl(boolean, i, 1);
        vsip_vput_f(vector, i, 1);
        vsip_cvput_f(cvector, i, vsip_cmplx_f(1, 1));
        EXPECT_EQ(vsip_vget_i(integer, i) + vsip_vget_bl(boolean, i), 0);
    }
    float sum = 0;
    for (vsip_index i = 0; i < 2; ++i) {
        for (vsip_index j = 0; j < 3; ++j)
            sum += vsip_mget_f(real, i, j) + vsip_cmget_f(complex, i, j).r +
                   vsip_cmget_f(complex, i, j).i;
        sum += static_cast<float>(vsip_vget_i(integer, i) + vsip_vget_bl(boolean, i)) +
               vsip_vget_f(vector, i) + vsip_cvget_f(cvector, i).r + vsip_cvget_f(cvector, i).i;
    }
    EXPECT_EQ(sum, 0.0f); // nothing written outside
    vsip_mput_f(nullptr, 0, 0, 1);
    vsip_cmput_f(nullptr, 0, 0, vsip_cmplx_f(1, 1));
    vsip_vput_i(nullptr, 0, 1);
    vsip_vput_bl(nullptr, 0, 1);
    vsip_vput_f(nullptr, 0, 1);
    vsip_cvput_f(nullptr, 0, vsip_cmplx_f(1, 1));
    EXPECT_TRUE(std::isnan(vsip_mget_f(nullptr, 0, 0)));
    EXPECT_TRUE(std::isnan(vsip_cmget_f(nullptr, 0, 0).r));
    EXPECT_EQ(vsip_vget_i(nullptr, 0) + vsip_vget_bl(nullptr, 0), 0);
    vsip_malldestroy_f(real);
    vsip_cmalldestroy_f(complex);
    vsip_valldestroy_i(integer);
    vsip_valldestroy_bl(boolean);
    vsip_valldestroy_f(vector);
    vsip_cvalldestroy_f(cvector);
}

} // namespace
