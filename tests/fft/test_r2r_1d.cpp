// Real-to-real transforms of all eleven kinds and every length against FFTW.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "common/case_names.hpp"
#include "common/engine_support.hpp"
#include "common/real_oracle.hpp"
#include "fft/kernel_set.hpp"
#include "fft/roots.hpp"
#include "fft/solvers/r2r_1d.hpp"
#include "fft/solvers/r2r_kinds.hpp"

using namespace qtx::QTX_ENGINE;
using namespace qtx::test;

namespace {

// Relative rms error allowed: kR2rC · ε · log2(n).
constexpr double kR2rC = 2.0;

double r2r_bound(size_t n) {
    return transform_error_bound<real>(n, kR2rC);
}

struct r2r_layout {
    int is = 1, os = 1;
    bool in_place = false;
};

const r2r_layout other_layouts[] = {{2, 3, false}, {3, 1, false}, {1, 1, true}, {2, 2, true}};

struct r2r_outcome {
    double error;
    bool input_unchanged;
    std::string name;
    execute_routine execute;
};

size_t extent(size_t n, int stride) {
    return (n - 1) * static_cast<size_t>(stride) + 1;
}

std::string where(size_t n, int kind, const r2r_layout& l) {
    return "kind " + std::to_string(kind) + " n=" + std::to_string(n) + " strides " +
           std::to_string(l.is) + "," + std::to_string(l.os) + " in place " +
           std::to_string(l.in_place);
}

r2r_outcome run_r2r(size_t n, int kind, const r2r_layout& l = {}, uint32_t seed = 1) {
    const reference_reals x = rounded_reals<real>(random_reals(n, seed));
    const size_t reals = std::max(extent(n, l.is), extent(n, l.os));
    engine_array a((reals + 1) / 2), b((reals + 1) / 2);
    const std::vector<real> input = reals_at_stride<real>(x, static_cast<size_t>(l.is), reals);
    a.load(input);
    real* out = l.in_place ? a.reals() : b.reals();
    const guru_dim dim{static_cast<int>(n), l.is, l.os};
    plan_guard p{l.is == 1 && l.os == 1
                     ? QTX_PUBLIC(plan_r2r_1d)(dim.n, a.reals(), out, kind, 0)
                     : QTX_PUBLIC(plan_guru_r2r)(1, &dim, 0, nullptr, a.reals(), out, &kind, 0)};
    if (p.plan == nullptr) return {1e9, false, "no plan", nullptr};
    QTX_PUBLIC(execute)(p.plan);
    const bool unchanged = std::memcmp(a.reals(), input.data(), reals * sizeof(real)) == 0;
    return {relative_rms_error_reals(out, reference_r2r<real>(x, kind), static_cast<size_t>(l.os)),
            unchanged, p.record()->name, p.record()->execute};
}

// One case per kind and length.
using KindAndLength = testing::TestWithParam<std::tuple<int, size_t>>;
const auto every_kind = testing::Range(0, static_cast<int>(r2r_kind_count));
const named_by kind_and_length{"kind", "n"};

using KindAndShortLength = KindAndLength;

TEST_P(KindAndShortLength, MatchesTheOracle) {
    const auto [kind, n] = GetParam();
    const r2r_outcome got = run_r2r(n, kind);
    EXPECT_LE(got.error, r2r_bound(n)) << where(n, kind, {});
    EXPECT_TRUE(got.input_unchanged) << where(n, kind, {});
    EXPECT_EQ(got.name, "g_r2r_plan_solver_func[k]");
    EXPECT_EQ(got.execute, active_kernel_set().r2r_kind_routines[kind]);
}

INSTANTIATE_TEST_SUITE_P(UpTo64, KindAndShortLength,
                         testing::Combine(every_kind, testing::Range(size_t{2}, size_t{65})),
                         kind_and_length);

// Even, odd, divisible by 4 and 2 modulo 4, with large prime factors among them.
using KindAndLargerLength = KindAndLength;

TEST_P(KindAndLargerLength, MatchesTheOracle) {
    const auto [kind, n] = GetParam();
    EXPECT_LE(run_r2r(n, kind).error, r2r_bound(n)) << where(n, kind, {});
}

INSTANTIATE_TEST_SUITE_P(Each, KindAndLargerLength,
                         testing::Combine(every_kind,
                                          testing::Values(100, 101, 1000, 1024, 4097, 4098, 65536)),
                         kind_and_length);

using KindAndStridedLength = KindAndLength;

TEST_P(KindAndStridedLength, StridedAndInPlace) {
    const auto [kind, n] = GetParam();
    for (const r2r_layout& l : other_layouts) {
        const r2r_outcome got = run_r2r(n, kind, l, 3);
        EXPECT_LE(got.error, r2r_bound(n)) << where(n, kind, l);
        EXPECT_TRUE(l.in_place || got.input_unchanged) << where(n, kind, l);
    }
}

INSTANTIATE_TEST_SUITE_P(Each, KindAndStridedLength,
                         testing::Combine(every_kind,
                                          testing::Values(2, 3, 4, 6, 7, 12, 30, 31, 64, 101)),
                         kind_and_length);

// Kind a then kind b multiplies by factor(n).
const struct {
    int first, second;
    long double (*factor)(long double n);
} paired_kinds[] = {
    {0, 1, [](long double n) { return n; }},
    {2, 2, [](long double n) { return n; }},
    {5, 4, [](long double n) { return 2 * n; }},
    {9, 8, [](long double n) { return 2 * n; }},
    {3, 3, [](long double n) { return 2 * (n - 1); }},
    {7, 7, [](long double n) { return 2 * (n + 1); }},
    {6, 6, [](long double n) { return 2 * n; }},
    {10, 10, [](long double n) { return 2 * n; }},
};

// One case per pair (its index in paired_kinds) and length.
using PairedKinds = testing::TestWithParam<std::tuple<size_t, int>>;

TEST_P(PairedKinds, RoundTrip) {
    const auto& pair = paired_kinds[std::get<0>(GetParam())];
    const int n = std::get<1>(GetParam());
    const reference_reals x = rounded_reals<real>(random_reals(static_cast<size_t>(n), 7));
    engine_array a(static_cast<size_t>(n)), b(static_cast<size_t>(n));
    a.load(reals_at_stride<real>(x, 1, static_cast<size_t>(n)));
    plan_guard forward{QTX_PUBLIC(plan_r2r_1d)(n, a.reals(), b.reals(), pair.first, 0)};
    plan_guard backward{QTX_PUBLIC(plan_r2r_1d)(n, b.reals(), a.reals(), pair.second, 0)};
    ASSERT_NE(forward.plan, nullptr);
    ASSERT_NE(backward.plan, nullptr);
    QTX_PUBLIC(execute)(forward.plan);
    QTX_PUBLIC(execute)(backward.plan);
    reference_reals scaled(x);
    for (auto& v : scaled)
        v *= pair.factor(n);
    EXPECT_LE(relative_rms_error_reals(a.reals(), scaled), 2 * r2r_bound(static_cast<size_t>(n)))
        << "kinds " << pair.first << "," << pair.second << " n=" << n;
}

INSTANTIATE_TEST_SUITE_P(Each, PairedKinds,
                         testing::Combine(testing::Range(size_t{0}, std::size(paired_kinds)),
                                          testing::Values(2, 5, 16, 18, 63, 1000)),
                         (named_by{"pair", "n"}));

// Transforms of length 1, howmany of them side by side, from each planner family.
using length_one_planner = plan_handle (*)(int howmany, real* in, real* out, int kind);
const struct {
    const char* name;
    length_one_planner plan;
} length_one_families[] = {
    {"r2r_1d", [](int, real* in, real* out,
                  int kind) { return QTX_PUBLIC(plan_r2r_1d)(1, in, out, kind, 0); }},
    {"many",
     [](int howmany, real* in, real* out, int kind) {
         const int n = 1;
         return QTX_PUBLIC(plan_many_r2r)(1, &n, howmany, in, nullptr, 1, 1, out, nullptr, 1, 1,
                                          &kind, 0);
     }},
    {"guru",
     [](int howmany, real* in, real* out, int kind) {
         const guru_dim dim{1, 1, 1}, batch{howmany, 1, 1};
         return QTX_PUBLIC(plan_guru_r2r)(1, &dim, 1, &batch, in, out, &kind, 0);
     }},
    {"guru64",
     [](int howmany, real* in, real* out, int kind) {
         const guru_dim64 dim{1, 1, 1}, batch{howmany, 1, 1};
         return QTX_PUBLIC(plan_guru64_r2r)(1, &dim, 1, &batch, in, out, &kind, 0);
     }},
};

// Every kind scales a single value as FFTW does (by 1, 2 or √2), batched or not, in every
// planner family; cosine 1 has no length 1 and gets no plan.
TEST(RealToReal, LengthOneInEveryPlannerFamily) {
    for (const auto& family : length_one_families) {
        for (int howmany : {1, 40}) {
            if (family.name == std::string("r2r_1d") && howmany > 1) continue;
            const reference_reals x = rounded_reals<real>(random_reals(40, 5));
            for (int kind = 0; kind < static_cast<int>(r2r_kind_count); ++kind) {
                SCOPED_TRACE(std::string(family.name) + " kind " + std::to_string(kind) +
                             " howmany " + std::to_string(howmany));
                engine_array a(20), b(20);
                a.load(reals_at_stride<real>(x, 1, 40));
                plan_guard p{family.plan(howmany, a.reals(), b.reals(), kind)};
                if (kind == r2r_cosine_1) {
                    EXPECT_EQ(p.plan, nullptr);
                    continue;
                }
                ASSERT_NE(p.plan, nullptr);
                QTX_PUBLIC(execute)(p.plan);
                reference_reals want(static_cast<size_t>(howmany));
                for (size_t j = 0; j < want.size(); ++j)
                    want[j] = reference_r2r<real>({x[j]}, kind)[0];
                EXPECT_LE(relative_rms_error_reals(b.reals(), want), r2r_bound(1));
            }
        }
    }
}

const plan_record* planned(plan_guard& guard, engine_array& a, int n, int kind) {
    guard.plan = QTX_PUBLIC(plan_r2r_1d)(n, a.reals(), a.reals(), kind, 0);
    return guard.record();
}

// The child each length gets: n/2 (n/4 for the fold of kinds 6 and 10), n ∓ 1 for kinds 3 and
// 7, and the full length n where the half-length reductions do not fit.
TEST(RealToRealSolver, ChildLengthAndSignByPath) {
    const struct {
        int kind, n;
        int64_t child_length, child_sign;
    } cases[] = {
        {0, 64, 32, -1}, {0, 63, 63, -1}, {1, 64, 32, 1},  {1, 63, 63, 1}, {2, 10, 5, -1},
        {3, 2, 1, -1},   {3, 9, 8, -1},   {7, 2, 3, -1},   {7, 8, 9, -1},  {4, 64, 32, 1},
        {5, 64, 32, -1}, {5, 63, 63, 1},  {8, 9, 9, 1},    {9, 12, 6, -1}, {6, 64, 16, 1},
        {6, 4, 1, 1},    {6, 66, 66, 1},  {10, 63, 63, 1}, {10, 2, 2, 1},
    };
    engine_array a(64);
    for (const auto& c : cases) {
        plan_guard guard{nullptr};
        const plan_record* plan = planned(guard, a, c.n, c.kind);
        ASSERT_NE(plan, nullptr) << c.kind << " " << c.n;
        ASSERT_EQ(plan->child_count, 1u);
        EXPECT_EQ(plan->children->kind, kind_c2c);
        EXPECT_EQ(plan->children->dims[0].n, c.child_length) << c.kind << " " << c.n;
        EXPECT_EQ(plan->children->sign, c.child_sign) << c.kind << " " << c.n;
        const uint64_t buffer_values = c.kind == 3 || c.kind == 7
                                           ? 2 * static_cast<uint64_t>(c.child_length)
                                           : static_cast<uint64_t>(c.n) + 2;
        EXPECT_EQ(plan->buffer_size, buffer_values * complex_bytes) << c.kind << " " << c.n;
    }
}

void expect_root(const real* at, int64_t t, int64_t N, const char* region, int64_t j) {
    const root_value w = unit_root(t, N);
    EXPECT_EQ(at[0], static_cast<real>(w.re)) << region << "[" << j << "]";
    EXPECT_EQ(at[1], static_cast<real>(w.im)) << region << "[" << j << "]";
}

TEST(RealToRealSolver, TableRegions) {
    engine_array a(64);
    // Kind 6, n = 32: L = 8; W holds ⌈L/2⌉ twiddles of 2L, T and U n/2 = 16 rotations each.
    plan_guard guard{nullptr};
    const plan_record* plan = planned(guard, a, 32, 6);
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->table_size, (8u + 16u + 16u) * complex_bytes);
    const auto* table = static_cast<const real*>(plan->table);
    for (int64_t k = 1; k <= 4; ++k)
        expect_root(table + 2 * (k - 1), -k, 16, "W", k - 1);
    for (int64_t j = 0; j < 16; ++j)
        expect_root(table + 2 * (8 + j), -j, 64, "T", j);
    for (int64_t j = 0; j < 16; ++j)
        expect_root(table + 2 * (24 + j), 2 * j + 1, 256, "U", j);
    // Kind 5, n = 20: W of L = 10, T of n = 20 rotations exp(−πi·j/40); no U.
    plan_guard cosine_2{nullptr};
    plan = planned(cosine_2, a, 20, 5);
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->table_size, (10u + 20u) * complex_bytes);
    table = static_cast<const real*>(plan->table);
    for (int64_t j = 0; j < 20; ++j)
        expect_root(table + 2 * (10 + j), -j, 80, "T", j);
    // Kind 0 of odd length has nothing to rotate and no pass: no table at all.
    plan_guard odd{nullptr};
    plan = planned(odd, a, 21, 0);
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->table_size, 0u);
}

TEST(RealToRealSolver, DeclinesWhatItDoesNotSolve) {
    plan_record p{};
    p.kind = kind_r2r;
    p.rank = 1;
    p.dims[0] = {1, 1, 1};
    p.r2r_kinds[0] = r2r_cosine_1;
    EXPECT_EQ(solve_problem_r2r_1d(&p), solve_declined); // undefined at length 1
    p.dims[0].n = 8;
    p.r2r_kinds[0] = r2r_kind_count;
    EXPECT_EQ(solve_problem_r2r_1d(&p), solve_declined); // no such kind
    p.r2r_kinds[0] = r2r_cosine_2;
    p.howmany_rank = 1;
    p.howmany_dims[0] = {2, 8, 8};
    EXPECT_EQ(solve_problem_r2r_1d(&p), solve_declined); // a batch
    p.howmany_rank = 0;
    p.kind = kind_r2c;
    EXPECT_EQ(solve_problem_r2r_1d(&p), solve_declined);
    reset_plan(&p);
}

} // namespace
