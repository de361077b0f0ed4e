// The direct kernels and the direct solver: every kernel length in every layout against the
// long-double oracle, and the plans the solver makes.
#include <gtest/gtest.h>

#include <complex>
#include <vector>

#include "common/case_names.hpp"
#include "common/engine_support.hpp"
#include "fft/kernel_set.hpp"
#include "fft/solvers/c2c_1d.hpp"
#include "fft/solvers/dft_direct.hpp"

using namespace qtx::QTX_ENGINE;
using namespace qtx::test;

namespace {

constexpr double kTransformC = 2.0;

std::vector<uint64_t> kernel_lengths() {
    std::vector<uint64_t> lengths;
    for (const direct_kernel_row& row : direct_kernel_table)
        lengths.push_back(row.n);
    return lengths;
}

// Largest error of the two sequences of an interleaved pair of length n.
double pair_error(size_t n, int sign, bool in_place) {
    const reference_signal x0 = random_signal(n, 21), x1 = random_signal(n, 22);
    reference_signal both(2 * n);
    for (size_t i = 0; i < n; ++i)
        both[2 * i] = x0[i], both[2 * i + 1] = x1[i];
    engine_array in(2 * n), out(2 * n);
    in.load(to_working<real>(both));
    complex_value* target = in_place ? in.data : out.data;
    const guru_dim dim = {static_cast<int>(n), 2, 2};
    const guru_dim pair = {2, 1, 1};
    plan_guard p{QTX_PUBLIC(plan_guru_dft)(1, &dim, 1, &pair, in.data, target, sign, 0)};
    if (p.plan == nullptr || std::string(p.record()->name) != "execute_dft_direct") return 1e9;
    QTX_PUBLIC(execute)(p.plan);
    const real* got = reinterpret_cast<real*>(target);
    return std::max(relative_rms_error(got, reference_dft(rounded<real>(x0), sign), 2),
                    relative_rms_error(got + 2, reference_dft(rounded<real>(x1), sign), 2));
}

TEST(DirectTable, RowsInSearchOrderPairColumnsOnlyInSinglePrecision) {
    const std::vector<uint64_t> order = {2,  3,  4,  5,  6,   7,   8,  9,  10,
                                         12, 16, 32, 64, 128, 256, 30, 60, 120};
    EXPECT_EQ(kernel_lengths(), order);
    for (const direct_kernel_row& row : direct_kernel_table) {
        for (int c = direct_unit_forward; c <= direct_strided_backward; ++c)
            EXPECT_NE(row.column[c], nullptr) << row.n;
        EXPECT_EQ(row.column[direct_pair_forward] == nullptr, is_double) << row.n;
        EXPECT_EQ(row.column[direct_pair_backward] == nullptr, is_double) << row.n;
    }
    EXPECT_EQ(active_kernel_set().find_direct_kernels(48), nullptr);
    EXPECT_EQ(active_kernel_set().find_direct_kernels(1), nullptr);
}

using DirectKernelLength = testing::TestWithParam<uint64_t>;

TEST_P(DirectKernelLength, EveryLengthUnitAndStridedInAndOutOfPlace) {
    const uint64_t n = GetParam();
    const double bound = transform_error_bound<real>(n, kTransformC);
    for (int sign : {-1, 1}) {
        const struct {
            int is, os;
            bool in_place;
        } layouts[] = {{1, 1, false}, {1, 1, true}, {3, 2, false}, {2, 2, true}};
        for (const auto& l : layouts) {
            const transform_outcome got = run_transform(n, sign, l.is, l.os, l.in_place, 5);
            EXPECT_EQ(got.name, "execute_dft_direct") << n;
            EXPECT_LE(got.error, bound) << "n=" << n << " sign=" << sign << " is=" << l.is
                                        << " os=" << l.os << " in place " << l.in_place;
        }
    }
}

TEST_P(DirectKernelLength, InterleavedPairsInSinglePrecision) {
    if constexpr (is_double) GTEST_SKIP() << "the double-precision table has no pair kernels";
    const uint64_t n = GetParam();
    for (int sign : {-1, 1})
        for (bool in_place : {false, true})
            EXPECT_LE(pair_error(n, sign, in_place), transform_error_bound<real>(n, kTransformC))
                << "n=" << n << " sign=" << sign << " in place " << in_place;
}

INSTANTIATE_TEST_SUITE_P(Each, DirectKernelLength, testing::ValuesIn(kernel_lengths()),
                         named_by{"n"});

TEST(DirectKernels, SizeTenImpulseAndPureTone) {
    engine_array x(10), y(10);
    plan_guard forward{QTX_PUBLIC(plan_dft_1d)(10, x.data, y.data, -1, 0)};
    plan_guard backward{QTX_PUBLIC(plan_dft_1d)(10, x.data, y.data, 1, 0)};
    ASSERT_NE(forward.plan, nullptr);
    ASSERT_NE(backward.plan, nullptr);
    const double tolerance = 8 * std::numeric_limits<real>::epsilon() * 10;

    x.load(std::vector<real>(20, 0));
    x.reals()[0] = 1;
    for (plan_handle p : {forward.plan, backward.plan}) {
        QTX_PUBLIC(execute)(p);
        for (int f = 0; f < 10; ++f) {
            EXPECT_NEAR(y.reals()[2 * f], 1, tolerance) << f;
            EXPECT_NEAR(y.reals()[2 * f + 1], 0, tolerance) << f;
        }
    }

    for (int t = 0; t < 10; ++t) {
        const std::complex<double> w = std::polar(1.0, 2 * M_PI * t / 10);
        x.reals()[2 * t] = static_cast<real>(w.real());
        x.reals()[2 * t + 1] = static_cast<real>(w.imag());
    }
    const struct {
        plan_handle plan;
        int peak;
    } tones[] = {{forward.plan, 1}, {backward.plan, 9}};
    for (const auto& tone : tones) {
        QTX_PUBLIC(execute)(tone.plan);
        for (int f = 0; f < 10; ++f) {
            EXPECT_NEAR(y.reals()[2 * f], f == tone.peak ? 10 : 0, tolerance) << f;
            EXPECT_NEAR(y.reals()[2 * f + 1], 0, tolerance) << f;
        }
    }
}

// The twiddles a plan's table holds after the 64-byte header, as real values.
std::vector<real> planned_twiddles(const plan_record* plan, size_t count) {
    const auto* at =
        reinterpret_cast<const real*>(static_cast<const char*>(plan->table) + direct_header_bytes);
    return std::vector<real>(at, at + count);
}

TEST(DirectSolver, ColumnAndTwiddleLayoutFollowTheStrides) {
    engine_array a(128);
    const direct_kernel_row* row = active_kernel_set().find_direct_kernels(64);
    ASSERT_NE(row, nullptr);
    const size_t twiddle_reals = 2 * 8 * 7; // 8 rows of 7 values
    std::vector<real> paired(twiddle_reals), plain(twiddle_reals);
    root_memo roots(64, 64);
    fill_last_twiddles(paired.data(), roots, 8, 8, 1, -1);
    fill_twiddles(plain.data(), roots, 8, 8, 1, -1);

    plan_guard unit{QTX_PUBLIC(plan_dft_1d)(64, a.data, a.data, -1, 0)};
    ASSERT_NE(unit.plan, nullptr);
    EXPECT_STREQ(unit.record()->name, "execute_dft_direct");
    EXPECT_EQ(direct_kernel_of(unit.record()), row->column[direct_unit_forward]);
    EXPECT_EQ(unit.record()->table_size, direct_table_bytes(64));
    EXPECT_EQ(unit.record()->buffer, nullptr);
    EXPECT_EQ(unit.record()->child_count, 0u);
    EXPECT_EQ(planned_twiddles(unit.record(), twiddle_reals), paired);

    const guru_dim strided_dim = {64, 2, 1};
    plan_guard strided{
        QTX_PUBLIC(plan_guru_dft)(1, &strided_dim, 0, nullptr, a.data, a.data, -1, 0)};
    ASSERT_NE(strided.plan, nullptr);
    EXPECT_EQ(direct_kernel_of(strided.record()), row->column[direct_strided_forward]);
    EXPECT_EQ(planned_twiddles(strided.record(), twiddle_reals), plain);
}

TEST(DirectSolver, OtherLengthsAndBatchesGoElsewhere) {
    engine_array a(64);
    for (int n : {1, 48}) {
        plan_guard p{QTX_PUBLIC(plan_dft_1d)(n, a.data, a.data, 1, 0)};
        ASSERT_NE(p.plan, nullptr) << n;
        EXPECT_STREQ(p.record()->name, "execute_1d") << n;
    }
    // Two interleaved transforms of length 16: the single-precision direct table takes them
    // whole; the double-precision direct solver declines every batch.
    const guru_dim dim = {16, 2, 2};
    const guru_dim pair = {2, 1, 1};
    plan_guard p{QTX_PUBLIC(plan_guru_dft)(1, &dim, 1, &pair, a.data, a.data, -1, 0)};
    if constexpr (is_double) {
        plan_record probe{};
        probe.kind = kind_c2c;
        probe.rank = 1;
        probe.dims[0] = {16, 2, 2};
        probe.howmany_rank = 1;
        probe.howmany_dims[0] = {2, 1, 1};
        probe.sign = -1;
        EXPECT_EQ(solve_problem_dft_direct(&probe), solve_declined);
        reset_plan(&probe);
    } else {
        ASSERT_NE(p.plan, nullptr);
        EXPECT_STREQ(p.record()->name, "execute_dft_direct");
    }
}

} // namespace
