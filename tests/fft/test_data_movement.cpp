// The rank-0 and rotation solvers: which routine a layout gets, and that executing it moves
// every element exactly where a plain loop over the batch puts it, touching nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/engine_support.hpp"
#include "fft/kernels/transpose.hpp"
#include "fft/solvers/data_movement.hpp"

using namespace qtx::QTX_ENGINE;
using namespace qtx::test;

namespace {

constexpr real marker = real(-0.5);
constexpr int64_t pad = 11; // elements after the furthest position either side reaches

enum class element { complex_value, real_value };

int64_t reals_of(element e) {
    return e == element::complex_value ? 2 : 1;
}

// Last element index a side reaches, plus one.
int64_t extent(const std::vector<guru_dim>& slots, bool input) {
    int64_t last = 0;
    for (const guru_dim& d : slots)
        last += int64_t(d.n - 1) * (input ? d.in_stride : d.out_stride);
    return last + 1;
}

// out[Σ i·os] = in[Σ i·is] over every index of the slots.
void reference_move(const std::vector<guru_dim>& slots, size_t level, const real* in, real* out,
                    int64_t element_reals) {
    if (level == slots.size()) {
        for (int64_t i = 0; i < element_reals; ++i)
            out[i] = in[i];
        return;
    }
    const guru_dim& d = slots[level];
    for (int i = 0; i < d.n; ++i)
        reference_move(slots, level + 1, in + int64_t(i) * d.in_stride * element_reals,
                       out + int64_t(i) * d.out_stride * element_reals, element_reals);
}

std::vector<real> numbered(size_t count) {
    std::vector<real> v(count);
    for (size_t i = 0; i < count; ++i)
        v[i] = real(i + 1);
    return v;
}

plan_handle plan_rank0(element e, const std::vector<guru_dim>& slots, real* in, real* out) {
    const int count = int(slots.size());
    if (e == element::real_value)
        return QTX_PUBLIC(plan_guru_r2r)(0, nullptr, count, slots.data(), in, out, nullptr, 0);
    return QTX_PUBLIC(plan_guru_dft)(0, nullptr, count, slots.data(),
                                     reinterpret_cast<complex_value*>(in),
                                     reinterpret_cast<complex_value*>(out), -1, 0);
}

// Plans and runs a public rank-0 plan, in place or between two arrays, and compares both
// arrays with the reference move of the original input.
void expect_moves(element e, const std::vector<guru_dim>& slots, bool in_place,
                  const std::string& name) {
    const int64_t er = reals_of(e);
    const size_t reals = size_t((std::max(extent(slots, true), extent(slots, false)) + pad) * er);
    engine_array in(reals), out(reals);
    const std::vector<real> original = numbered(reals);
    std::copy(original.begin(), original.end(), in.reals());
    std::fill(out.reals(), out.reals() + reals, marker);
    real* target = in_place ? in.reals() : out.reals();
    std::vector<real> want(target, target + reals);
    reference_move(slots, 0, original.data(), want.data(), er);

    plan_guard p{plan_rank0(e, slots, in.reals(), target)};
    ASSERT_NE(p.plan, nullptr) << name;
    QTX_PUBLIC(execute)(p.plan);
    EXPECT_EQ(std::string(p.record()->name), name);
    EXPECT_TRUE(std::equal(want.begin(), want.end(), target)) << name;
    EXPECT_TRUE(in_place || std::equal(original.begin(), original.end(), in.reals())) << name;
}

const char* pick(element e, const char* complex_name, const char* real_name) {
    return e == element::complex_value ? complex_name : real_name;
}

constexpr element both_kinds[] = {element::complex_value, element::real_value};

TEST(RearrangeOutOfPlace, TranspositionsWhenTheUnitStridesSwapSides) {
    for (element e : both_kinds) {
        const char* name = pick(e, "execute_trans_cpx", "execute_trans_fp");
        expect_moves(e, {{16, 16, 1}, {16, 1, 16}}, false, name);
        expect_moves(e, {{17, 5, 1}, {5, 1, 17}}, false, name);
        expect_moves(e, {{5, 40, 1}, {40, 1, 5}}, false, name);
        expect_moves(e, {{70, 23, 1}, {19, 1, 75}}, false, name); // padded rows both sides
    }
}

TEST(RearrangeOutOfPlace, CopiesForEveryOtherLayout) {
    for (element e : both_kinds) {
        const char* name = pick(e, "execute_copy_cpx", "execute_copy_fp");
        expect_moves(e, {{10, 3, 2}}, false, name);
        expect_moves(e, {{4, 6, 6}, {6, 1, 1}}, false, name); // one dense block
        expect_moves(e, {{6, 1, 1}, {4, 6, 6}}, false, name); // the same, slots swapped
        // A unit input distance without a dense block on both sides needs the strided copy.
        expect_moves(e, {{4, 9, 7}, {6, 1, 1}}, false, name);
        expect_moves(e, {{4, 1, 1}, {6, 4, 5}}, false, name);
        expect_moves(e, {{4, 6, 7}, {6, 1, 1}}, false, name);
        expect_moves(e, {{3, 40, 1}, {4, 10, 3}, {5, 1, 12}}, false, name);
        // A single slot of count 1 is still a batch: one element moves.
        expect_moves(e, {{1, 1, 1}}, false, name);
    }
}

TEST(RearrangeInPlace, SquareMatricesTransposeWithoutABuffer) {
    for (element e : both_kinds)
        for (int N : {8, 13, 16})
            for (int S : {N, N + 3}) {
                expect_moves(
                    e, {{N, S, 1}, {N, 1, S}}, true,
                    pick(e, "execute_trans_cpx_square_matrix", "execute_trans_fp_square_matrix"));
            }
}

TEST(RearrangeInPlace, OtherLayoutsGoThroughThePackedBuffer) {
    for (element e : both_kinds) {
        expect_moves(e, {{6, 11, 1}, {11, 1, 6}}, true, "execute_rearrange_inplace");
        expect_moves(e, {{9, 2, 3}}, true, "execute_rearrange_inplace");
        expect_moves(e, {{9, 3, 2}}, true, "execute_rearrange_inplace");
        // Square counts but different row strides on the two sides.
        expect_moves(e, {{8, 10, 1}, {8, 1, 8}}, true, "execute_rearrange_inplace");
        expect_moves(e, {{8, 8, 1}, {8, 1, 11}}, true, "execute_rearrange_inplace");
        expect_moves(e, {{2, 30, 1}, {3, 10, 2}, {10, 1, 6}}, true, "execute_rearrange_inplace");
        // Every element onto itself: the buffer round trip is still exact.
        expect_moves(e, {{5, 4, 4}, {4, 1, 1}}, true, "execute_rearrange_inplace");
    }
}

TEST(RearrangeInPlace, BufferHoldsExactlyThePackedBatch) {
    engine_array data(66);
    plan_guard p{
        plan_rank0(element::complex_value, {{6, 11, 1}, {11, 1, 6}}, data.reals(), data.reals())};
    ASSERT_NE(p.plan, nullptr);
    EXPECT_EQ(p.record()->buffer_size, 66u * complex_bytes);
    ASSERT_EQ(p.record()->child_count, 2u);
    EXPECT_EQ(p.record()->children[0].out, p.record()->buffer);
    EXPECT_EQ(p.record()->children[1].in, p.record()->buffer);
}

TEST(RearrangeInPlace, SquarePlanRunOnTwoArraysTransposesBetweenThem) {
    constexpr int N = 13;
    engine_array a(N * N), b(N * N);
    const std::vector<real> original = numbered(2 * N * N);
    std::copy(original.begin(), original.end(), a.reals());
    const std::vector<guru_dim> slots = {{N, N, 1}, {N, 1, N}};
    plan_guard p{plan_rank0(element::complex_value, slots, a.reals(), a.reals())};
    ASSERT_NE(p.plan, nullptr);
    QTX_PUBLIC(execute_dft)(p.plan, a.data, b.data);
    std::vector<real> want(original.size());
    reference_move(slots, 0, original.data(), want.data(), 2);
    EXPECT_TRUE(std::equal(original.begin(), original.end(), a.reals()));
    EXPECT_TRUE(std::equal(want.begin(), want.end(), b.reals()));
}

// ---- Hand-built records ------------------------------------------------------------------

plan_record rank0_record(uint32_t kind, std::vector<dim_record> slots, void* in, void* out) {
    plan_record p{};
    p.kind = kind;
    p.complex_layout = layout_interleaved;
    p.howmany_rank = int32_t(slots.size());
    for (size_t i = 0; i < slots.size(); ++i)
        p.howmany_dims[i] = slots[i];
    p.in = in;
    p.out = out;
    return p;
}

TEST(RearrangeRecords, ASlotOfCountZeroCopiesNothing) {
    std::vector<real> in = numbered(64), out(64, marker);
    const std::vector<real> untouched = out;
    for (uint32_t kind : {kind_c2c, kind_r2r}) {
        plan_record p = rank0_record(kind, {{4, 4, 4}, {0, 1, 1}}, in.data(), out.data());
        EXPECT_EQ(solve_problem_rearrange_outplace(&p), solve_accepted);
        p.execute(&p, in.data(), out.data());
        EXPECT_EQ(out, untouched);
        // In place an empty batch needs no buffer; the out-of-place row takes it.
        plan_record q = rank0_record(kind, {{0, 1, 1}, {4, 1, 4}}, in.data(), in.data());
        EXPECT_EQ(solve_problem_rearrange_inplace(&q), solve_declined);
        EXPECT_EQ(solve_problem_rearrange_outplace(&q), solve_accepted);
    }
}

TEST(RearrangeRecords, OutOfPlaceRowRefusesInPlaceMovesThatWouldOverwriteTheirInput) {
    std::vector<real> data(64);
    plan_record moving = rank0_record(kind_c2c, {{4, 4, 1}, {4, 1, 4}}, data.data(), data.data());
    EXPECT_EQ(solve_problem_rearrange_outplace(&moving), solve_declined);
    plan_record staying = rank0_record(kind_r2r, {{4, 4, 4}, {4, 1, 1}}, data.data(), data.data());
    EXPECT_EQ(solve_problem_rearrange_outplace(&staying), solve_accepted);
}

TEST(RearrangeRecords, ProblemsOutsideTheirShapeAreDeclined) {
    std::vector<real> a(8), b(8);
    plan_record split = rank0_record(kind_c2c, {{4, 1, 1}}, a.data(), b.data());
    split.complex_layout = layout_split;
    plan_record no_batch = rank0_record(kind_c2c, {}, a.data(), b.data());
    plan_record too_deep =
        rank0_record(kind_r2r, {{1, 1, 1}, {1, 1, 1}, {2, 1, 1}}, a.data(), b.data());
    too_deep.howmany_rank = 4;
    plan_record negative = rank0_record(kind_r2r, {{-3, 1, 1}}, a.data(), b.data());
    plan_record transform = rank0_record(kind_c2c, {{4, 1, 1}}, a.data(), b.data());
    transform.rank = 1;
    transform.dims[0] = {2, 1, 1};
    plan_record half_spectrum = rank0_record(kind_c2r, {{4, 1, 1}}, a.data(), b.data());
    plan_record overflowing = rank0_record(
        kind_c2c, {{int64_t(1) << 40, 1, 1}, {int64_t(1) << 30, 1, 1}}, a.data(), a.data());
    for (plan_record* p :
         {&split, &no_batch, &too_deep, &negative, &transform, &half_spectrum, &overflowing}) {
        EXPECT_EQ(solve_problem_rearrange_inplace(p), solve_declined);
        EXPECT_EQ(solve_problem_rearrange_outplace(p), solve_declined);
        reset_plan(p);
    }
}

// ---- In-place transforms ------------------------------------------------------------------

// Which in-place transforms would overwrite input still to be read: padded real rows and equal
// layouts lie on their input, a single one-dimensional transform reads it all first, and any
// other layout change does not.
TEST(InPlaceTransforms, OnlyALayoutChangeOverwritesTheInput) {
    struct in_place_case {
        const char* label;
        uint32_t kind;
        std::vector<dim_record> dims, batch;
        bool overwrites;
    };
    const std::vector<in_place_case> cases = {
        {"c2c equal layouts", kind_c2c, {{6, 10, 10}, {10, 1, 1}}, {{3, 60, 60}}, false},
        {"r2c padded rows", kind_r2c, {{4, 8, 4}, {6, 1, 1}}, {{2, 32, 16}}, false},
        {"c2r padded rows", kind_c2r, {{4, 4, 8}, {6, 1, 1}}, {}, false},
        {"single c2c, output stride 2", kind_c2c, {{16, 1, 2}}, {}, false},
        {"single r2r, input stride 3", kind_r2r, {{12, 3, 1}}, {}, false},
        {"c2c batch, distances 16 and 20", kind_c2c, {{16, 1, 1}}, {{4, 16, 20}}, true},
        {"c2c transposed", kind_c2c, {{8, 8, 1}, {8, 1, 8}}, {}, true},
        {"r2c interleaved batch", kind_r2c, {{4, 24, 12}, {6, 3, 3}}, {{3, 1, 1}}, true},
        {"c2r rows of strided reals", kind_c2r, {{4, 4, 8}, {6, 1, 2}}, {}, true},
    };
    std::vector<real> data(8);
    for (const in_place_case& c : cases) {
        plan_record p = rank0_record(c.kind, c.batch, data.data(), data.data());
        p.rank = int32_t(c.dims.size());
        for (size_t i = 0; i < c.dims.size(); ++i)
            p.dims[i] = c.dims[i];
        EXPECT_EQ(in_place_overwrites_input(&p), c.overwrites) << c.label;
        p.out = data.data() + 1;
        EXPECT_FALSE(in_place_overwrites_input(&p)) << c.label << " out of place";
    }
}

// ---- Rotation problems (kinds 5 and 6) ----------------------------------------------------

plan_record rotation_record(uint32_t kind, int64_t n, int64_t os, int64_t H) {
    plan_record p{};
    p.kind = kind;
    p.rank = 1;
    p.dims[0] = {n, 1, os};
    p.howmany_rank = 1;
    p.howmany_dims[0] = {H, n, n};
    return p;
}

// Small integers: complex products are exact whichever way a backend rounds.
std::vector<real> small_integers(size_t count, size_t seed) {
    std::vector<real> v(count);
    for (size_t i = 0; i < count; ++i)
        v[i] = real(int((i * 7 + seed) % 9) - 4);
    return v;
}

TEST(Rotate, EveryRowTimesTheDestinationRow) {
    constexpr int64_t n = 5;
    for (int64_t H : {0, 1, 3}) {
        plan_record p = rotation_record(kind_rotate, n, 1, H);
        p.howmany_rank = H == 1 ? 0 : 1; // a batch of one arrives without its slot
        ASSERT_EQ(solve_problem_rotate(&p), solve_accepted);
        EXPECT_STREQ(p.name, "execute_rotate");
        std::vector<real> in = small_integers(2 * n * 3, 1), out = small_integers(2 * n * 3, 2);
        std::vector<real> want = out;
        for (int64_t k = 0; k < 2 * n * H; k += 2) {
            want[k] = in[k] * out[k] - in[k + 1] * out[k + 1];
            want[k + 1] = in[k] * out[k + 1] + in[k + 1] * out[k];
        }
        p.execute(&p, in.data(), out.data());
        EXPECT_EQ(out, want) << H;
    }
}

TEST(TransposeRotate, RunsTheRotatingTranspositionWithTheRecordsTable) {
    constexpr int64_t n = 6, H = 3, os = 4;
    std::vector<real> in = small_integers(2 * n * H, 3), table = small_integers(2 * n * H, 5);
    plan_record p = rotation_record(kind_transpose_rotate, n, os, H);
    EXPECT_EQ(solve_problem_transpose_rotate(&p), solve_declined); // no table
    p.table = table.data();
    p.table_size = table.size() * sizeof(real) - 1;
    EXPECT_EQ(solve_problem_transpose_rotate(&p), solve_declined); // recorded too small
    p.table_size = 0; // a borrowed slice records no size
    ASSERT_EQ(solve_problem_transpose_rotate(&p), solve_accepted);
    EXPECT_STREQ(p.name, "execute_transpose_rotate");
    std::vector<real> got(2 * n * os, marker), want = got;
    transpose_rotate_cpx(in.data(), want.data(), table.data(), H, n, os);
    p.execute(&p, in.data(), got.data());
    EXPECT_EQ(got, want);
}

TEST(RotationRecords, OtherShapesAreDeclined) {
    plan_record rank0 = rotation_record(kind_rotate, 4, 1, 2);
    rank0.rank = 0;
    plan_record two_slots = rotation_record(kind_rotate, 4, 1, 2);
    two_slots.howmany_rank = 2;
    plan_record negative = rotation_record(kind_rotate, -4, 1, 2);
    plan_record overflowing = rotation_record(kind_rotate, int64_t(1) << 40, 1, int64_t(1) << 30);
    for (plan_record* p : {&rank0, &two_slots, &negative, &overflowing}) {
        EXPECT_EQ(solve_problem_rotate(p), solve_declined);
        p->kind = kind_transpose_rotate;
        p->table = p;
        EXPECT_EQ(solve_problem_transpose_rotate(p), solve_declined);
    }
    plan_record rotation = rotation_record(kind_rotate, 4, 1, 2);
    rotation.table = &rotation;
    EXPECT_EQ(solve_problem_transpose_rotate(&rotation), solve_declined);
}

} // namespace
