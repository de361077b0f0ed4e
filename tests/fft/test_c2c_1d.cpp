// One-dimensional complex transforms of 7-smooth lengths against the long-double oracle.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/case_names.hpp"
#include "common/engine_support.hpp"
#include "fft/kernel_set.hpp"
#include "fft/roots.hpp"
#include "fft/solvers/c2c_1d.hpp"
#include "fft/solvers/dft_direct.hpp"

using namespace qtx::QTX_ENGINE;
using namespace qtx::test;

namespace {

// Relative rms error allowed: kTransformC · ε · log2(n).
constexpr double kTransformC = 2.0;

// Relative rms error of a unit-stride transform, out of place or in place.
double transform_error(size_t n, int sign, bool in_place) {
    return run_transform(n, sign, 1, 1, in_place).error;
}

TEST(Factorize, PresetsAndTheGreedyRule) {
    const struct {
        uint64_t n;
        std::vector<uint64_t> radices;
    } cases[] = {
        {1000, {10, 10, 10}},
        {2048, {16, 16, 8}},
        {16384, {8, 8, 8, 8, 4}},
        {18, {6, 3}},
        {45, {5, 9}},
        {81, {9, 9}},
        {512, is_double ? std::vector<uint64_t>{8, 8, 8} : std::vector<uint64_t>{32, 16}},
        {1, {1}},
        {11 * 13 * 4, {4, 11, 13}},
        {2147483647, {2147483647}},                // prime: found without dividing up to it
        {uint64_t{65537} * 65537, {65537, 65537}}, // a square of primes
    };
    for (const auto& c : cases) {
        uint64_t radices[max_stages];
        const int count = factorize(c.n, radices);
        EXPECT_EQ(std::vector<uint64_t>(radices, radices + count), c.radices) << c.n;
    }
    uint64_t none[max_stages];
    EXPECT_EQ(factorize(0, none), 0);
}

TEST(UnitRoot, MatchesTheExponentialInEveryOctant) {
    for (int64_t N : {1, 2, 3, 7, 8, 10, 12, 1000, 4096, 65537}) {
        for (int64_t t = -2 * N; t <= 2 * N; t += std::max<int64_t>(1, N / 37)) {
            const root_value w = unit_root(t, N);
            const long double angle = 2.0L * 3.14159265358979323846264338327950288L * t / N;
            EXPECT_NEAR(w.re, std::cos(angle), 2e-16) << t << "/" << N;
            EXPECT_NEAR(w.im, std::sin(angle), 2e-16) << t << "/" << N;
        }
    }
    // The memo of a table fill returns unit_root's values bit for bit, evaluated or recalled.
    for (int64_t N : {1, 3, 8, 1000, 4096, 65537}) {
        root_memo memo(N, 4 * static_cast<uint64_t>(N));
        for (int pass = 0; pass < 2; ++pass)
            for (int64_t t = -2 * N; t <= 2 * N; t += std::max<int64_t>(1, N / 37) + pass) {
                const root_value m = memo(t), w = unit_root(t, N);
                ASSERT_TRUE(m.re == w.re && m.im == w.im) << t << "/" << N;
            }
    }
    // Past the memo's reach, products of two roots stay within about two ulps.
    for (int64_t N : {131073, 1 << 20, 3 * (1 << 19) + 7}) {
        root_memo memo(N, N);
        for (int64_t t = -3 * N; t <= 3 * N; t += N / 1001 + 1) {
            const root_value m = memo(t), w = unit_root(t, N);
            ASSERT_NEAR(m.re, w.re, 5e-16) << t << "/" << N;
            ASSERT_NEAR(m.im, w.im, 5e-16) << t << "/" << N;
        }
    }
    // Quarter turns are exact.
    EXPECT_EQ(unit_root(1, 4).re, 0.0);
    EXPECT_EQ(unit_root(1, 4).im, 1.0);
    EXPECT_EQ(unit_root(-3, 4).im, 1.0);
    EXPECT_EQ(unit_root(2, 4).re, -1.0);
    EXPECT_EQ(unit_root(5, 5).re, 1.0);
}

// One case per length, so that a failure names its length.
class EverySmoothLength : public testing::TestWithParam<uint64_t> {};

TEST_P(EverySmoothLength, BothDirections) {
    const uint64_t n = GetParam();
    for (int sign : {-1, 1})
        EXPECT_LE(transform_error(n, sign, false), transform_error_bound<real>(n, kTransformC))
            << "sign=" << sign;
}

INSTANTIATE_TEST_SUITE_P(UpTo4096, EverySmoothLength, testing::ValuesIn(smooth_lengths(4096)),
                         named_by{"n"});

using LargerSmoothLength = testing::TestWithParam<uint64_t>;

TEST_P(LargerSmoothLength, OutOfPlaceAndInPlace) {
    const uint64_t n = GetParam();
    for (bool in_place : {false, true}) {
        EXPECT_LE(transform_error(n, -1, in_place), transform_error_bound<real>(n, kTransformC))
            << "n=" << n << " in place " << in_place;
    }
}

INSTANTIATE_TEST_SUITE_P(Each, LargerSmoothLength,
                         testing::Values(1000, 2048, 3000, 5040, 8192, 10000, 16384, 32768, 6144,
                                         4802, 12288, 24576),
                         named_by{"n"});

using InPlaceStageCount = testing::TestWithParam<uint64_t>;

TEST_P(InPlaceStageCount, MatchesTheOracle) {
    const uint64_t n = GetParam();
    EXPECT_LE(transform_error(n, 1, true), transform_error_bound<real>(n, kTransformC)) << n;
}

INSTANTIATE_TEST_SUITE_P(Each, InPlaceStageCount,
                         testing::Values(1, 2, 48, 96, 360, 2048, 6000, 16384), named_by{"n"});

using SmoothRoundTrip = testing::TestWithParam<uint64_t>;

TEST_P(SmoothRoundTrip, ForwardThenBackwardScalesByN) {
    const uint64_t n = GetParam();
    EXPECT_LE(round_trip(n, 7).error, 2 * transform_error_bound<real>(n)) << n;
}

INSTANTIATE_TEST_SUITE_P(Each, SmoothRoundTrip, testing::Values(6, 48, 1000, 2187), named_by{"n"});

using Strided = testing::TestWithParam<uint64_t>;

TEST_P(Strided, GapsStayUntouchedAndInputIsKept) {
    constexpr real sentinel = real(12345.5);
    const uint64_t n = GetParam();
    const reference_signal x = random_signal(n, 3);
    const std::vector<real> in_values = to_working<real>(x, 3, 3 * n, sentinel);
    engine_array in(3 * n), out(2 * n);
    in.load(in_values);
    out.load(std::vector<real>(4 * n, sentinel));
    const guru_dim dim = {static_cast<int>(n), 3, 2};
    plan_guard p{QTX_PUBLIC(plan_guru_dft)(1, &dim, 0, nullptr, in.data, out.data, -1, 0)};
    ASSERT_NE(p.plan, nullptr);
    EXPECT_STREQ(p.record()->name, active_kernel_set().find_direct_kernels(n)
                                       ? "execute_dft_direct"
                                       : "execute_1d_discrete");
    QTX_PUBLIC(execute)(p.plan);
    EXPECT_LE(relative_rms_error(out.reals(), reference_dft(rounded<real>(x), -1), 2),
              transform_error_bound<real>(n, kTransformC))
        << n;
    for (size_t i = 0; i < n; ++i) {
        EXPECT_EQ(out.reals()[4 * i + 2], sentinel);
        EXPECT_EQ(out.reals()[4 * i + 3], sentinel);
    }
    EXPECT_EQ(std::memcmp(in.data, in_values.data(), in_values.size() * sizeof(real)), 0);
}

INSTANTIATE_TEST_SUITE_P(Each, Strided, testing::Values(6, 48, 64, 200, 1000, 2048), named_by{"n"});

TEST(Planning, TheGeneralSolverTakesUnitAndStridedProblems) {
    engine_array a(48);
    plan_guard unit{QTX_PUBLIC(plan_dft_1d)(48, a.data, a.data, -1, 0)};
    ASSERT_NE(unit.plan, nullptr);
    EXPECT_STREQ(unit.record()->name, "execute_1d");
    EXPECT_EQ(unit.record()->buffer_size, 48u * complex_bytes);
    const auto* words = static_cast<const uint64_t*>(unit.record()->table);
    EXPECT_EQ(words[0], 2u); // 48 = 12 · 4
    EXPECT_EQ(unit.record()->table_size, stage_table_bytes(48, 2));
}

// A stage of a large prime radix costs that radix per point: the solver leaves such lengths
// to the chirp method and plans none itself.
TEST(Planning, NoGenericStageOfAQuadraticRadix) {
    for (const auto& [n, accepted] : {std::pair{uint64_t{1021} * 4, true},
                                      {uint64_t{1031}, false},
                                      {uint64_t{2147483647}, false}}) {
        plan_record p{};
        p.kind = kind_c2c;
        p.sign = -1;
        p.rank = 1;
        p.dims[0] = {static_cast<int64_t>(n), 1, 1};
        EXPECT_EQ(solve_problem_c2c_1d(&p) == solve_accepted, accepted) << n;
        reset_plan(&p);
    }
}

TEST(Planning, LengthOneCopies) {
    engine_array in(1), out(1);
    in.reals()[0] = 3, in.reals()[1] = -4;
    plan_guard p{QTX_PUBLIC(plan_dft_1d)(1, in.data, out.data, 1, 0)};
    ASSERT_NE(p.plan, nullptr);
    QTX_PUBLIC(execute)(p.plan);
    EXPECT_EQ(out.reals()[0], 3);
    EXPECT_EQ(out.reals()[1], -4);
}

using InterleavedPair = testing::TestWithParam<uint64_t>;

TEST_P(InterleavedPair, TwoAlternatingTransformsInOnePlan) {
    const uint64_t n = GetParam();
    const reference_signal x0 = random_signal(n, 11), x1 = random_signal(n, 12);
    reference_signal both(2 * n);
    for (size_t i = 0; i < n; ++i)
        both[2 * i] = x0[i], both[2 * i + 1] = x1[i];
    engine_array in(2 * n), out(2 * n);
    in.load(to_working<real>(both));
    const guru_dim dim = {static_cast<int>(n), 2, 2};
    const guru_dim pair = {2, 1, 1};
    plan_guard p{QTX_PUBLIC(plan_guru_dft)(1, &dim, 1, &pair, in.data, out.data, 1, 0)};
    // The double-precision engine leaves pairs to its batch solvers, which plan them too.
    ASSERT_NE(p.plan, nullptr);
    if constexpr (!is_double) {
        EXPECT_EQ(p.record()->child_count, 0u);
    }
    QTX_PUBLIC(execute)(p.plan);
    EXPECT_LE(relative_rms_error(out.reals(), reference_dft(rounded<real>(x0), 1), 2),
              transform_error_bound<real>(n, kTransformC));
    EXPECT_LE(relative_rms_error(out.reals() + 2, reference_dft(rounded<real>(x1), 1), 2),
              transform_error_bound<real>(n, kTransformC));
}

INSTANTIATE_TEST_SUITE_P(Each, InterleavedPair, testing::Values(6, 48, 360, 1000), named_by{"n"});

} // namespace
