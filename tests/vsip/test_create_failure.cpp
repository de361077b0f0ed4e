// Every create of the library with each of its record allocations failing in turn: the create
// gives null, releases what it had made and crashes nothing; with no failure it succeeds and
// its destroy releases everything. The engine plan of an FFT object is allocated by the engine
// library, whose memory functions this program cannot reach; the engine tests fail those.
#include "memory_probe.hpp"
#include "qvsip.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using qvsip::test::memory_probe;

// Blocks and views the binds and subviews use, made before any probe so that their records are not
// counted.
struct bound_blocks {
    float reals[64] = {}, imags[64] = {};
    vsip_scalar_i integers[8] = {};
    vsip_scalar_bl booleans[8] = {};
    vsip_block_f* real_block = vsip_blockbind_f(reals, 64, VSIP_MEM_NONE);
    vsip_block_i* integer_block = vsip_blockbind_i(integers, 8, VSIP_MEM_NONE);
    vsip_block_bl* boolean_block = vsip_blockbind_bl(booleans, 8, VSIP_MEM_NONE);
    vsip_cblock_f* interleaved_block = vsip_cblockbind_f(reals, nullptr, 32, VSIP_MEM_NONE);
    vsip_cblock_f* split_block = vsip_cblockbind_f(reals, imags, 64, VSIP_MEM_NONE);
    vsip_vview_f* real_view = vsip_vbind_f(real_block, 0, 1, 64);
    vsip_cvview_f* complex_view = vsip_cvbind_f(split_block, 0, 1, 64);
    vsip_mview_f* real_matrix = vsip_mbind_f(real_block, 0, 8, 8, 1, 8);
    vsip_cmview_f* complex_matrix = vsip_cmbind_f(interleaved_block, 0, 8, 4, 1, 8);
    ~bound_blocks() {
        vsip_vdestroy_f(real_view);
        vsip_cvdestroy_f(complex_view);
        vsip_mdestroy_f(real_matrix);
        vsip_cmdestroy_f(complex_matrix);
        vsip_blockdestroy_f(real_block);
        vsip_blockdestroy_i(integer_block);
        vsip_blockdestroy_bl(boolean_block);
        vsip_cblockdestroy_f(interleaved_block);
        vsip_cblockdestroy_f(split_block);
    }
};

struct create_case {
    const char* label;
    std::function<void*()> create;
    std::function<void(void*)> destroy;
};

template <class T, class R> std::function<void(void*)> destroyer(R (*release)(T*)) {
    return [release](void* object) { release(static_cast<T*>(object)); };
}

std::vector<create_case> cases(bound_blocks& b) {
    return {
        {"blockbind_f", [&] { return vsip_blockbind_f(b.reals, 64, VSIP_MEM_NONE); },
         destroyer(vsip_blockdestroy_f)},
        {"blockbind_i", [&] { return vsip_blockbind_i(b.integers, 8, VSIP_MEM_NONE); },
         destroyer(vsip_blockdestroy_i)},
        {"blockbind_bl", [&] { return vsip_blockbind_bl(b.booleans, 8, VSIP_MEM_NONE); },
         destroyer(vsip_blockdestroy_bl)},
        {"vbind_f", [&] { return vsip_vbind_f(b.real_block, 1, 2, 20); },
         destroyer(vsip_vdestroy_f)},
        {"vbind_i", [&] { return vsip_vbind_i(b.integer_block, 0, 1, 8); },
         destroyer(vsip_vdestroy_i)},
        {"vbind_bl", [&] { return vsip_vbind_bl(b.boolean_block, 7, -1, 8); },
         destroyer(vsip_vdestroy_bl)},
        {"cvbind_f interleaved", [&] { return vsip_cvbind_f(b.interleaved_block, 0, 1, 32); },
         destroyer(vsip_cvdestroy_f)},
        {"cvbind_f split", [&] { return vsip_cvbind_f(b.split_block, 2, 3, 20); },
         destroyer(vsip_cvdestroy_f)},
        {"mbind_f", [&] { return vsip_mbind_f(b.real_block, 0, 8, 8, 1, 8); },
         destroyer(vsip_mdestroy_f)},
        {"cmbind_f interleaved", [&] { return vsip_cmbind_f(b.interleaved_block, 0, 1, 4, 4, 8); },
         destroyer(vsip_cmdestroy_f)},
        {"cmbind_f split", [&] { return vsip_cmbind_f(b.split_block, 0, 8, 8, 1, 8); },
         destroyer(vsip_cmdestroy_f)},
        {"blockcreate_f", [] { return vsip_blockcreate_f(64, VSIP_MEM_NONE); },
         destroyer(vsip_blockdestroy_f)},
        {"blockcreate_i", [] { return vsip_blockcreate_i(8, VSIP_MEM_NONE); },
         destroyer(vsip_blockdestroy_i)},
        {"blockcreate_bl", [] { return vsip_blockcreate_bl(8, VSIP_MEM_NONE); },
         destroyer(vsip_blockdestroy_bl)},
        {"cblockcreate_f", [] { return vsip_cblockcreate_f(32, VSIP_MEM_NONE); },
         destroyer(vsip_cblockdestroy_f)},
        {"vcreate_f", [] { return vsip_vcreate_f(20, VSIP_MEM_NONE); },
         destroyer(vsip_valldestroy_f)},
        {"vcreate_i", [] { return vsip_vcreate_i(20, VSIP_MEM_NONE); },
         destroyer(vsip_valldestroy_i)},
        {"vcreate_bl", [] { return vsip_vcreate_bl(20, VSIP_MEM_NONE); },
         destroyer(vsip_valldestroy_bl)},
        {"cvcreate_f", [] { return vsip_cvcreate_f(20, VSIP_MEM_NONE); },
         destroyer(vsip_cvalldestroy_f)},
        {"mcreate_f", [] { return vsip_mcreate_f(3, 5, VSIP_ROW, VSIP_MEM_NONE); },
         destroyer(vsip_malldestroy_f)},
        {"cmcreate_f", [] { return vsip_cmcreate_f(3, 5, VSIP_COL, VSIP_MEM_NONE); },
         destroyer(vsip_cmalldestroy_f)},
        {"vsubview_f", [&] { return vsip_vsubview_f(b.real_view, 2, 5); },
         destroyer(vsip_vdestroy_f)},
        {"cvrealview_f", [&] { return vsip_cvrealview_f(b.complex_view); },
         destroyer(vsip_vdestroy_f)},
        {"cmtransview_f", [&] { return vsip_cmtransview_f(b.complex_matrix); },
         destroyer(vsip_cmdestroy_f)},
        {"mdiagview_f", [&] { return vsip_mdiagview_f(b.real_matrix, -1); },
         destroyer(vsip_vdestroy_f)},
        {"ccfftip_create_f",
         [] { return vsip_ccfftip_create_f(48, 1, VSIP_FFT_FWD, 1, VSIP_ALG_TIME); },
         destroyer(vsip_fft_destroy_f)},
        {"ccfftop_create_f space",
         [] { return vsip_ccfftop_create_f(1000, 0.5f, VSIP_FFT_INV, 2, VSIP_ALG_SPACE); },
         destroyer(vsip_fft_destroy_f)},
    };
}

TEST(CreateFailure, EveryFailedAllocationGivesNullAndLeavesNothing) {
    bound_blocks blocks;
    for (const create_case& c : cases(blocks)) {
        int allocations = 0;
        {
            memory_probe probe;
            void* object = c.create();
            ASSERT_NE(object, nullptr) << c.label;
            allocations = probe.allocations();
            c.destroy(object);
            EXPECT_EQ(probe.live(), 0) << c.label;
        }
        EXPECT_GT(allocations, 0) << c.label;
        for (int successes = 0; successes < allocations; ++successes) {
            memory_probe probe;
            probe.fail_after(successes);
            EXPECT_EQ(c.create(), nullptr) << c.label << ", " << successes << " succeed";
            EXPECT_EQ(probe.live(), 0) << c.label << ", " << successes << " succeed";
        }
    }
}

} // namespace
