// Validation of the public planners' arguments and the problem records they describe.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "fft/problem.hpp"

using namespace qtx::QTX_ENGINE;

namespace {

struct record_deleter {
    void operator()(plan_record* p) const { std::free(p); }
};
using record_ptr = std::unique_ptr<plan_record, record_deleter>;

alignas(64) real in_array[64];
alignas(64) real out_array[64];

many_layout contiguous(int rank, const int* n, int howmany = 1, int dist = 1) {
    return {rank, n, howmany, nullptr, 1, dist, nullptr, 1, dist};
}

record_ptr many(uint32_t kind, const many_layout& m, bool in_place = false,
                const int* kinds = nullptr) {
    return record_ptr(describe_many(kind, kind == kind_c2c ? -1 : 0, m, in_array,
                                    in_place ? in_array : out_array, kinds));
}

void expect_dim(const dim_record& d, int64_t n, int64_t is, int64_t os) {
    EXPECT_EQ(d.n, n);
    EXPECT_EQ(d.is, is);
    EXPECT_EQ(d.os, os);
}

TEST(ManyValidation, RefusesImpossibleShapes) {
    const int n[] = {4, 6, 8};
    const int bad_length[] = {4, 0, 8};
    const int negative_length[] = {4, 6, -8};
    EXPECT_FALSE(many(kind_c2c, contiguous(0, n)));
    EXPECT_FALSE(many(kind_c2c, contiguous(4, n)));
    EXPECT_FALSE(many(kind_c2c, contiguous(1, nullptr)));
    EXPECT_FALSE(many(kind_c2c, contiguous(3, bad_length)));
    EXPECT_FALSE(many(kind_c2c, contiguous(3, negative_length)));
    EXPECT_FALSE(many(kind_c2c, contiguous(1, n, 0)));
    EXPECT_FALSE(many(kind_c2c, contiguous(1, n, -3)));
    for (int stride : {0, -1}) {
        many_layout m = contiguous(2, n);
        m.in_stride = stride;
        EXPECT_FALSE(many(kind_c2c, m));
        m = contiguous(2, n);
        m.out_stride = stride;
        EXPECT_FALSE(many(kind_c2c, m));
    }
}

TEST(ManyValidation, DistancesMatterOnlyForRealBatches) {
    const int n[] = {16};
    for (int dist : {0, -4}) {
        EXPECT_TRUE(many(kind_c2c, contiguous(1, n, 1, dist)));
        EXPECT_FALSE(many(kind_c2c, contiguous(1, n, 2, dist)));
    }
    auto p = many(kind_c2c, contiguous(1, n, 5, 20));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->howmany_rank, 1);
    expect_dim(p->howmany_dims[0], 5, 20, 20);
    EXPECT_EQ(many(kind_c2c, contiguous(1, n, 1, 7))->howmany_rank, 0);
}

TEST(ManyValidation, EmbeddingsBoundTheInnerDimensions) {
    const int n1[] = {16};
    const int garbage[] = {-5};
    many_layout m = contiguous(1, n1);
    m.in_embed = m.out_embed = garbage; // never read for rank 1
    EXPECT_TRUE(many(kind_c2c, m));

    const int n2[] = {4, 6};
    const int first_unread[] = {0, 6};
    const int too_small[] = {4, 5};
    m = contiguous(2, n2);
    m.in_embed = first_unread;
    EXPECT_TRUE(many(kind_c2c, m));
    m.out_embed = too_small;
    EXPECT_FALSE(many(kind_c2c, m));

    const int n3[] = {2, 3, 4};
    const int middle_small[] = {2, 2, 4};
    m = contiguous(3, n3);
    m.in_embed = middle_small;
    EXPECT_FALSE(many(kind_c2c, m));
}

TEST(ManyValidation, TheComplexSideOfRealTransformsNeedsOnlyTheHalfSpectrum) {
    const int n[] = {3, 10};
    const int half[] = {0, 5};
    const int half_plus_one[] = {0, 6};
    const int real_short[] = {0, 9};
    many_layout r2c = contiguous(2, n);
    r2c.out_embed = half;
    EXPECT_FALSE(many(kind_r2c, r2c));
    r2c.out_embed = half_plus_one;
    EXPECT_TRUE(many(kind_r2c, r2c));
    r2c.in_embed = real_short;
    EXPECT_FALSE(many(kind_r2c, r2c));

    many_layout c2r = contiguous(2, n);
    c2r.in_embed = half;
    EXPECT_FALSE(many(kind_c2r, c2r));
    c2r.in_embed = half_plus_one;
    EXPECT_TRUE(many(kind_c2r, c2r));
    c2r.out_embed = real_short;
    EXPECT_FALSE(many(kind_c2r, c2r));
}

TEST(ManyValidation, RealToRealKindsAreCodesZeroToTen) {
    const int n[] = {8, 8};
    const int ok[] = {0, 10};
    const int eleven[] = {3, 11};
    const int negative[] = {-1, 2};
    EXPECT_TRUE(many(kind_r2r, contiguous(2, n), false, ok));
    EXPECT_FALSE(many(kind_r2r, contiguous(2, n), false, eleven));
    EXPECT_FALSE(many(kind_r2r, contiguous(2, n), false, negative));
    EXPECT_FALSE(many(kind_r2r, contiguous(2, n), false, nullptr));
    auto p = many(kind_r2r, contiguous(2, n), false, ok);
    EXPECT_EQ(p->r2r_kinds[1], 10u);
}

TEST(ManyDims, RealRowsArePaddedInPlace) {
    const int n[] = {4, 6};
    auto in_place = many(kind_r2c, contiguous(2, n), true);
    ASSERT_TRUE(in_place);
    expect_dim(in_place->dims[0], 4, 8, 4);
    expect_dim(in_place->dims[1], 6, 1, 1);
    auto out_of_place = many(kind_r2c, contiguous(2, n));
    expect_dim(out_of_place->dims[0], 4, 6, 4);

    const int odd[] = {2, 7};
    auto c2r = many(kind_c2r, contiguous(2, odd), true);
    expect_dim(c2r->dims[0], 2, 4, 8);
    EXPECT_EQ(c2r->kind, kind_c2r);
}

TEST(ManyDims, StridesGrowOutwardThroughEmbeddings) {
    const int n[] = {2, 3, 4};
    const int in_embed[] = {0, 5, 7};
    many_layout m = contiguous(3, n);
    m.in_embed = in_embed;
    m.in_stride = 2;
    m.out_stride = 3;
    auto p = many(kind_c2c, m);
    ASSERT_TRUE(p);
    expect_dim(p->dims[2], 4, 2, 3);
    expect_dim(p->dims[1], 3, 14, 12);
    expect_dim(p->dims[0], 2, 70, 36);
    EXPECT_EQ(p->rank, 3);
    EXPECT_EQ(p->sign, -1);
    EXPECT_EQ(p->complex_layout, layout_interleaved);
}

TEST(ManyDims, StrideProductsThatOverflowAreRefused) {
    const int n[] = {2, 2, 2};
    const int huge[] = {0, 1 << 30, 1 << 30};
    many_layout m = contiguous(3, n);
    m.in_embed = huge;
    m.in_stride = 1 << 30;
    EXPECT_FALSE(many(kind_c2c, m));
}

record_ptr guru(const guru_family& f, int rank, const guru_dim* dims, int howmany_rank = 0,
                const guru_dim* howmany = nullptr, const int* kinds = nullptr) {
    return record_ptr(describe_guru(f, rank, dims, howmany_rank, howmany,
                                    {in_array, in_array + 1, out_array, out_array + 1}, kinds));
}

record_ptr guru64(const guru_family& f, int rank, const guru_dim64* dims, int howmany_rank = 0,
                  const guru_dim64* howmany = nullptr, const int* kinds = nullptr) {
    return record_ptr(describe_guru(f, rank, dims, howmany_rank, howmany,
                                    {in_array, in_array + 1, out_array, out_array + 1}, kinds));
}

TEST(GuruValidation, RanksAndBatchRanks) {
    const guru_dim d[] = {{4, 1, 1}, {4, 1, 1}, {4, 1, 1}, {4, 1, 1}};
    const guru_family dft = guru_dft_family(-1, true);
    EXPECT_FALSE(guru(dft, -1, d));
    EXPECT_FALSE(guru(dft, 4, d));
    EXPECT_FALSE(guru(dft, 1, nullptr));
    EXPECT_TRUE(guru(dft, 0, nullptr, 1, d));
    EXPECT_FALSE(guru(split_dft_family, 0, nullptr, 1, d));
    EXPECT_FALSE(guru(r2c_family, 0, nullptr, 1, d));
    EXPECT_FALSE(guru(dft, 1, d, -1, d));
    EXPECT_FALSE(guru(dft, 1, d, 4, d));
    EXPECT_FALSE(guru(dft, 1, d, 2, nullptr));
    EXPECT_TRUE(guru(dft, 3, d, 3, d));
}

TEST(GuruValidation, EveryStrideMustBePositive) {
    const guru_dim good = {4, 1, 1};
    for (const guru_dim bad : {guru_dim{0, 1, 1}, guru_dim{4, 0, 1}, guru_dim{4, 1, -2}}) {
        const guru_dim dims[] = {good, bad};
        EXPECT_FALSE(guru(guru_dft_family(-1, true), 2, dims));
        EXPECT_FALSE(guru(guru_dft_family(-1, true), 1, &good, 1, &bad));
        const guru_dim64 wide[] = {{4, 1, 1}, {bad.n, bad.in_stride, bad.out_stride}};
        EXPECT_FALSE(guru64(c2r_family, 2, wide));
    }
}

TEST(GuruValidation, UnitLengthRankBecomesRankZeroForComplexAndRealToReal) {
    const guru_dim unit = {1, 0, -3}; // its strides are never examined
    const guru_dim batch = {5, 2, 2};
    auto p = guru(guru_dft_family(-1, true), 1, &unit, 1, &batch);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->rank, 0);
    expect_dim(p->howmany_dims[0], 5, 2, 2);
    auto r = guru(r2r_family(true), 1, &unit, 1, &batch, nullptr); // no kinds needed
    ASSERT_TRUE(r);
    EXPECT_EQ(r->rank, 0);
    // With kinds the dimension stays: most kinds scale a single value.
    const guru_dim unit_strides = {1, 1, 1};
    const int cosine_2[] = {5};
    auto kept = guru(r2r_family(true), 1, &unit_strides, 1, &batch, cosine_2);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->rank, 1);

    const guru_dim64 unit64 = {1, 1, 1};
    auto wide = guru64(guru_dft_family(-1, false), 1, &unit64);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->rank, 1);
}

TEST(GuruValidation, SignIsStoredUnchecked) {
    const guru_dim d = {8, 1, 1};
    for (int sign : {0, 2, -7}) {
        auto p = guru(guru_dft_family(sign, true), 1, &d);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->sign, sign);
    }
}

TEST(GuruValidation, RealToRealNeedsKnownKinds) {
    const guru_dim d[] = {{8, 1, 1}, {8, 1, 1}};
    const int kinds[] = {10, 0};
    const int bad[] = {1, 11};
    EXPECT_TRUE(guru(r2r_family(true), 2, d, 0, nullptr, kinds));
    EXPECT_FALSE(guru(r2r_family(true), 2, d, 0, nullptr, bad));
    EXPECT_FALSE(guru(r2r_family(true), 2, d, 0, nullptr, nullptr));
    const guru_dim64 d64[] = {{8, 1, 1}};
    EXPECT_FALSE(guru64(r2r_family(false), 1, d64, 0, nullptr, nullptr));
    EXPECT_FALSE(guru64(r2r_family(false), 0, d64, 0, nullptr, kinds));
    auto p = guru64(r2r_family(false), 1, d64, 0, nullptr, kinds);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->r2r_kinds[0], 10u);
    EXPECT_EQ(p->sign, 0);
}

TEST(GuruRecords, FamiliesFixKindSignAndLayout) {
    const guru_dim d = {8, 2, 3};
    const struct {
        guru_family family;
        uint32_t kind;
        int64_t sign, layout;
    } cases[] = {{split_dft_family, kind_c2c, -1, layout_split},
                 {r2c_family, kind_r2c, -1, layout_interleaved},
                 {split_r2c_family, kind_r2c, -1, layout_split},
                 {c2r_family, kind_c2r, 1, layout_interleaved},
                 {split_c2r_family, kind_c2r, 1, layout_split}};
    for (const auto& c : cases) {
        auto p = guru(c.family, 1, &d);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->kind, c.kind);
        EXPECT_EQ(p->sign, c.sign);
        EXPECT_EQ(p->complex_layout, c.layout);
        expect_dim(p->dims[0], 8, 2, 3);
        EXPECT_EQ(p->in_imag, in_array + 1);
        EXPECT_EQ(p->thread_count, 1u);
    }
}

TEST(ProblemFits, SizesThatOverflowAreRefused) {
    const guru_dim64 big[] = {{int64_t{1} << 40, 1, 1}, {int64_t{1} << 40, 1, 1}};
    auto p = guru64(guru_dft_family(-1, false), 2, big);
    ASSERT_TRUE(p);
    EXPECT_FALSE(problem_fits(*p));
    const guru_dim64 far[] = {{4, int64_t{1} << 62, 1}};
    auto q = guru64(guru_dft_family(-1, false), 1, far);
    EXPECT_FALSE(problem_fits(*q));
    const guru_dim64 fine[] = {{1 << 20, 3, 1}};
    EXPECT_TRUE(problem_fits(*guru64(guru_dft_family(-1, false), 1, fine)));
    // No machine holds the tables of 2^46 points; a large server holds those of 2^27.
    const guru_dim64 beyond_memory[] = {{int64_t{1} << 46, 1, 1}};
    EXPECT_FALSE(problem_fits(*guru64(guru_dft_family(-1, false), 1, beyond_memory)));
    const guru_dim64 large[] = {{int64_t{1} << 27, 1, 1}};
    EXPECT_EQ(problem_fits(*guru64(guru_dft_family(-1, false), 1, large)),
              memory_can_exist((uint64_t{1} << 27) * complex_bytes));
}

} // namespace
