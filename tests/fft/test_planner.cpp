// The plan record lifecycle: allocation helpers, the registry walk and plan release.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fft/planner.hpp"

using namespace qtx::QTX_ENGINE;

namespace {

uintptr_t address(const void* p) {
    return reinterpret_cast<uintptr_t>(p);
}

uintptr_t stored_base(const void* block) {
    uintptr_t base = 0;
    std::memcpy(&base, static_cast<const char*>(block) - sizeof(base), sizeof(base));
    return base;
}

TEST(AlignedMemory, BlocksAreAlignedZeroedAndSitAboveTheirBase) {
    for (size_t bytes : {0u, 1u, 63u, 64u, 1000u, 1u << 20}) {
        auto* block = static_cast<unsigned char*>(aligned_calloc(bytes));
        ASSERT_NE(block, nullptr) << bytes;
        EXPECT_EQ(address(block) % 64, 0u);
        const uintptr_t gap = address(block) - stored_base(block);
        EXPECT_GE(gap, 1u);
        EXPECT_LE(gap, 64u);
        for (size_t i = 0; i < bytes; ++i)
            ASSERT_EQ(block[i], 0) << i;
        aligned_free(block);
    }
}

TEST(AlignedMemory, SizesThatWouldWrapAreRefused) {
    EXPECT_EQ(aligned_calloc(SIZE_MAX), nullptr);
    EXPECT_EQ(aligned_calloc(SIZE_MAX - 71), nullptr);
}

TEST(AlignedMemory, FreeIgnoresBlocksWithoutAPlausibleBase) {
    aligned_free(nullptr);
    alignas(64) unsigned char arena[256] = {};
    unsigned char* block = arena + 128;
    // A base 73 bytes below, at the block or above it cannot come from aligned_calloc; freeing
    // any of them would hand a stack address to free and crash.
    for (intptr_t offset : {-73, -200, 0, 8}) {
        const uintptr_t fake = address(block) + offset;
        std::memcpy(block - sizeof(fake), &fake, sizeof(fake));
        aligned_free(block);
    }
}

TEST(Smoothness, FactorsAboveSevenAreFound) {
    for (uint64_t n : {0ull, 1ull, 2ull, 360ull, 2401ull, 1ull << 62, 5764801ull * 9765625ull})
        EXPECT_FALSE(has_factor_above_7(n)) << n;
    for (uint64_t n : {11ull, 22ull, 4097ull, 1000003ull, (1ull << 40) * 13})
        EXPECT_TRUE(has_factor_above_7(n)) << n;
}

TEST(ElementSizes, FollowTheKindAndPrecision) {
    const size_t r = sizeof(real), c = 2 * sizeof(real);
    const struct {
        uint32_t kind;
        size_t in, out;
    } cases[] = {{kind_c2c, c, c},
                 {kind_c2r, c, r},
                 {kind_r2c, r, c},
                 {kind_r2r, r, r},
                 {kind_large_first_pass, c, c}};
    for (const auto& k : cases) {
        size_t in = 0, out = 0;
        element_sizes(k.kind, &in, &out);
        EXPECT_EQ(in, k.in) << k.kind;
        EXPECT_EQ(out, k.out) << k.kind;
    }
}

TEST(Registry, RowsStandInPlanningOrder) {
    std::vector<std::string> names;
    for (const solver_row* row = solver_registry; row->solve != nullptr; ++row)
        names.push_back(row->name);
    const std::vector<std::string> shared_head = {
        "solve_problem_dft_split",          "solve_problem_dft_many_split",
        "solve_problem_rearrange_inplace",  "solve_problem_dft_many_multithread",
        "solve_problem_dft_many_transpose", "solve_problem_dft_many_post_transpose"};
    const std::vector<std::string> middle =
        is_double ? std::vector<std::string>{"solve_problem_r2c_direct", "solve_problem_c2r_direct"}
                  : std::vector<std::string>{"solve_problem_dft_many_parallel"};
    const std::vector<std::string> shared_tail = {"solve_problem_dft_many",
                                                  "solve_problem_dft_small_prime",
                                                  "solve_problem_c2c_1d_prime",
                                                  "solve_problem_c2c_1d_large",
                                                  "solve_problem_dft_direct",
                                                  "solve_problem_c2c_1d",
                                                  "solve_problem_r2c_1d",
                                                  "solve_problem_c2r_1d",
                                                  "solve_problem_r2r_1d",
                                                  "solve_problem_multidimension",
                                                  "solve_problem_c2r_multidimension",
                                                  "solve_problem_rearrange_outplace",
                                                  "solve_problem_rotate",
                                                  "solve_problem_transpose_rotate",
                                                  "solve_problem_dft_many_transpose_rotate"};
    std::vector<std::string> expected = shared_head;
    expected.insert(expected.end(), middle.begin(), middle.end());
    expected.insert(expected.end(), shared_tail.begin(), shared_tail.end());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(names.size(), is_double ? 23u : 22u);
}

plan_record blank_problem() {
    plan_record p{};
    p.complex_layout = layout_interleaved;
    p.thread_count = 1;
    return p;
}

void expect_no_plan_memory(const plan_record& p) {
    EXPECT_EQ(p.buffer, nullptr);
    EXPECT_EQ(p.buffer_size, 0u);
    EXPECT_EQ(p.table, nullptr);
    EXPECT_EQ(p.table_size, 0u);
    EXPECT_EQ(p.children, nullptr);
    EXPECT_EQ(p.child_count, 0u);
}

TEST(PlanProblem, NoAcceptingRowFailsWithoutLeavingMemory) {
    plan_record p = blank_problem(); // rank 0 and no batch: nothing accepts it
    EXPECT_EQ(plan_problem(&p), -1);
    expect_no_plan_memory(p);
}

TEST(PlanProblem, SplitProblemsGoOnlyToTheSplitRows) {
    // A split batch of copies: the interleaved data movers would take it and move pairs.
    float re[4] = {1, 2, 3, 4}, im[4] = {5, 6, 7, 8}, out_re[4] = {}, out_im[4] = {};
    plan_record p = blank_problem();
    p.kind = kind_c2c;
    p.complex_layout = layout_split;
    p.howmany_rank = 1;
    p.howmany_dims[0] = {4, 1, 1};
    p.in = re, p.in_imag = im, p.out = out_re, p.out_imag = out_im;
    EXPECT_EQ(plan_problem(&p), -1);
    expect_no_plan_memory(p);
    EXPECT_EQ(p.execute, nullptr);
}

TEST(PlanProblem, ABatchOfOneIsNoBatch) {
    plan_record p = blank_problem();
    p.rank = 1;
    p.dims[0] = {8, 1, 1};
    p.howmany_rank = 1;
    p.howmany_dims[0] = {1, 4, 4};
    plan_problem(&p);
    EXPECT_EQ(p.howmany_rank, 0);
    reset_plan(&p);

    // A rank-0 problem keeps it: the batch is all it moves.
    plan_record copy = blank_problem();
    copy.howmany_rank = 1;
    copy.howmany_dims[0] = {1, 4, 4};
    plan_problem(&copy);
    EXPECT_EQ(copy.howmany_rank, 1);
    reset_plan(&copy);

    plan_record deep = blank_problem();
    deep.howmany_rank = 2;
    deep.howmany_dims[0] = {1, 4, 4};
    deep.howmany_dims[1] = {3, 1, 1};
    plan_problem(&deep);
    EXPECT_EQ(deep.howmany_rank, 2);
    reset_plan(&deep);
}

TEST(PlanProblem, ZeroLengthPlansAsNothingToDo) {
    plan_record p = blank_problem();
    p.rank = 1;
    p.dims[0] = {0, 1, 1};
    ASSERT_EQ(plan_problem(&p), 0);
    EXPECT_EQ(p.execute, &noop_execute);
    EXPECT_EQ(p.name, nullptr);
    float data[2] = {1, 2};
    p.execute(&p, data, data);
    EXPECT_EQ(data[0], 1);
}

// A plan tree as solvers build it: the root owns a buffer, a table and two children; child 0
// borrows a slice of the root's table and owns grandchildren, child 1 owns a buffer.
plan_record* attach_tree(plan_record* root) {
    root->buffer = aligned_calloc(256);
    root->buffer_size = 256;
    root->table = aligned_calloc(512);
    root->table_size = 512;
    root->owns_table = 1;
    root->child_count = 2;
    root->children = alloc_plan_records(2);
    plan_record* kids = root->children;
    kids[0].table = static_cast<char*>(root->table) + 128;
    kids[0].table_size = 128;
    kids[0].owns_table = 0;
    kids[0].child_count = 3;
    kids[0].children = alloc_plan_records(3);
    kids[0].children[2].table = aligned_calloc(64);
    kids[0].children[2].table_size = 64;
    kids[0].children[2].owns_table = 1;
    kids[1].buffer = aligned_calloc(32);
    kids[1].buffer_size = 32;
    kids[1].child_count = 1; // the children block was never allocated
    return root;
}

TEST(ResetPlan, ReleasesTheWholeTreeAndKeepsTheProblem) {
    plan_record p = blank_problem();
    p.rank = 1;
    p.dims[0] = {48, 1, 1};
    attach_tree(&p);
    p.execute = noop_execute;
    p.execute_split = [](const plan_record*, void*, void*, void*, void*) {};
    p.name = "tree";
    reset_plan(&p);
    expect_no_plan_memory(p);
    EXPECT_EQ(p.owns_table, 0u);
    // The next row to try the record finds no routine of the last one.
    EXPECT_EQ(p.execute, nullptr);
    EXPECT_EQ(p.execute_split, nullptr);
    EXPECT_EQ(p.name, nullptr);
    EXPECT_EQ(p.dims[0].n, 48);
    reset_plan(&p); // a second reset finds nothing to release
}

TEST(ResetPlan, KeepsABorrowedTable) {
    alignas(64) unsigned char lent[64] = {};
    plan_record p = blank_problem();
    p.table = lent;
    p.table_size = sizeof lent;
    reset_plan(&p);
    EXPECT_EQ(p.table, lent);
}

TEST(DestroyPlanRecord, FreesTheRecordWithItsTree) {
    auto* p = static_cast<plan_record*>(calloc(1, sizeof(plan_record)));
    ASSERT_NE(p, nullptr);
    destroy_plan_record(attach_tree(p)); // leak-checked under the sanitizer build
}

TEST(ChildRecords, CopyTheProblemAndNothingElse) {
    int in = 0, in_im = 0, out = 0, out_im = 0;
    plan_record parent = blank_problem();
    parent.kind = kind_r2r;
    parent.sign = 1;
    parent.rank = 2;
    parent.dims[0] = {5, 7, 9};
    parent.dims[1] = {6, 1, 2};
    parent.r2r_kinds[0] = 4;
    parent.r2r_kinds[1] = 10;
    parent.howmany_rank = 1;
    parent.howmany_dims[0] = {3, 30, 40};
    parent.in = &in, parent.in_imag = &in_im, parent.out = &out, parent.out_imag = &out_im;
    parent.thread_count = 6;
    parent.name = "execute_parent";
    parent.buffer_size = 99;
    parent.child_count = 4;

    plan_record* child = new_child_plan(&parent);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->kind, kind_r2r);
    EXPECT_EQ(child->sign, 1);
    EXPECT_EQ(child->complex_layout, layout_interleaved);
    EXPECT_EQ(child->rank, 2);
    EXPECT_EQ(child->dims[1].os, 2);
    EXPECT_EQ(child->r2r_kinds[1], 10u);
    EXPECT_EQ(child->howmany_dims[0].os, 40);
    EXPECT_EQ(child->out_imag, &out_im);
    EXPECT_EQ(child->thread_count, 6u);
    EXPECT_EQ(child->name, nullptr);
    EXPECT_EQ(child->buffer_size, 0u);
    EXPECT_EQ(child->child_count, 0u);
    EXPECT_EQ(child->dims[2].n, 0); // slots above the rank are not copied
    free(child);

    plan_record* many = alloc_plan_records(3);
    ASSERT_NE(many, nullptr);
    copy_problem(&parent, &many[2]);
    EXPECT_EQ(many[2].dims[0].is, 7);
    EXPECT_EQ(many[1].kind, 0u);
    free(many);
    EXPECT_EQ(alloc_plan_records(0), nullptr);
    EXPECT_EQ(alloc_plan_records(-2), nullptr);
}

TEST(ChildRecords, CopiesOfNothingWriteNothing) {
    dim_record dims[1] = {{1, 2, 3}};
    const dim_record src[1] = {{7, 7, 7}};
    copy_dims(dims, src, 0);
    copy_dims(dims, src, -1);
    EXPECT_EQ(dims[0].n, 1);
    uint32_t kinds[1] = {5};
    const uint32_t src_kinds[1] = {9};
    copy_kinds(kinds, src_kinds, 0);
    EXPECT_EQ(kinds[0], 5u);
}

struct split_call {
    void *in_re, *in_im, *out_re, *out_im;
};
split_call last_split_call;

void record_split(const plan_record*, void* a, void* b, void* c, void* d) {
    last_split_call = {a, b, c, d};
}

TEST(SplitForwarding, PassesTheStoredImaginaryParts) {
    int re_in = 0, im_in = 0, re_out = 0, im_out = 0;
    plan_record p = blank_problem();
    p.in_imag = &im_in;
    p.out_imag = &im_out;
    p.execute_split = record_split;
    execute_split_forward(&p, &re_in, &re_out);
    EXPECT_EQ(last_split_call.in_re, &re_in);
    EXPECT_EQ(last_split_call.in_im, &im_in);
    EXPECT_EQ(last_split_call.out_re, &re_out);
    EXPECT_EQ(last_split_call.out_im, &im_out);
}

} // namespace
