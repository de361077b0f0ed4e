// Long one-dimensional transforms as two passes: the split, the length thresholds and the
// results for lengths up to 2^22 with one and four threads.
#include <gtest/gtest.h>

#include "common/case_names.hpp"
#include "common/engine_support.hpp"
#include "fft/solvers/c2c_1d_large.hpp"

using namespace qtx::QTX_ENGINE;
using namespace qtx::test;

namespace {

struct thread_scope {
    explicit thread_scope(int threads) { QTX_PUBLIC(plan_with_nthreads)(threads); }
    ~thread_scope() { QTX_PUBLIC(plan_with_nthreads)(1); }
};

TEST(LargeSplit, LargestDivisorNotAboveTheSquareRoot) {
    const struct {
        uint64_t n, P, Q;
    } cases[] = {{524288, 256, 2048},   {1048576, 1024, 1024}, {3 * 32768, 256, 384},
                 {135 * 243, 135, 243}, {4116, 49, 84},        {112 * 147, 112, 147},
                 {1029, 21, 49},        {65537, 1, 65537}};
    for (const auto& c : cases) {
        const large_split s = split_large_length(c.n);
        EXPECT_EQ(s.P, c.P) << c.n;
        EXPECT_EQ(s.Q, c.Q) << c.n;
    }
}

std::string plan_name(int n, int threads) {
    engine_array a(static_cast<size_t>(n));
    thread_scope scope(threads);
    plan_guard p{QTX_PUBLIC(plan_dft_1d)(n, a.data, a.data, -1, 0)};
    return p.plan ? p.record()->name : "no plan";
}

TEST(LargeSolver, ThresholdsDependOnPrecisionAlone) {
    const int declined = is_double ? 16384 : 32768;
    const int accepted = is_double ? 112 * 147 : 135 * 243;
    for (int threads : {1, 2}) {
        EXPECT_NE(plan_name(declined, threads), "execute_c2c_1d_large") << threads;
        EXPECT_EQ(plan_name(accepted, threads), "execute_c2c_1d_large") << threads;
    }
    EXPECT_EQ(plan_name(is_double ? 1029 : 4116, 2), "execute_1d");
}

// Relative rms error of a long transform against FFTW's double-precision transform.
double long_transform_error(size_t n, int sign, bool in_place, int threads) {
    const double_signal x = to_double(rounded<real>(random_signal(n, 31)));
    engine_array in(n), out(n);
    for (size_t i = 0; i < n; ++i)
        in.reals()[2 * i] = static_cast<real>(x[i].real()),
                       in.reals()[2 * i + 1] = static_cast<real>(x[i].imag());
    complex_value* target = in_place ? in.data : out.data;
    plan_handle plan;
    {
        thread_scope scope(threads);
        plan = QTX_PUBLIC(plan_dft_1d)(static_cast<int>(n), in.data, target, sign, 0);
    }
    plan_guard guard{plan};
    if (plan == nullptr) return 1e9;
    QTX_PUBLIC(execute)(plan);
    return relative_rms_error(reinterpret_cast<real*>(target), reference_dft_double(x, sign));
}

// One case per length and thread count.
using LargePowerOfTwo = testing::TestWithParam<std::tuple<size_t, int>>;

TEST_P(LargePowerOfTwo, ForwardOutOfPlace) {
    const auto [n, threads] = GetParam();
    EXPECT_LE(long_transform_error(n, -1, false, threads), transform_error_bound<real>(n, 4.0))
        << n << " with " << threads << " threads";
}

INSTANTIATE_TEST_SUITE_P(Each, LargePowerOfTwo,
                         testing::Combine(testing::Values(1 << 15, 1 << 16, 1 << 17, 1 << 18,
                                                          1 << 19, 1 << 20, 1 << 21, 1 << 22),
                                          testing::Values(1, 4)),
                         (named_by{"n", "threads"}));

using OtherLargeLength = testing::TestWithParam<std::tuple<size_t, int>>;

TEST_P(OtherLargeLength, InPlaceAndBackward) {
    const auto [n, threads] = GetParam();
    EXPECT_LE(long_transform_error(n, 1, true, threads), transform_error_bound<real>(n, 4.0))
        << n << " with " << threads << " threads";
}

INSTANTIATE_TEST_SUITE_P(Each, OtherLargeLength,
                         testing::Combine(testing::Values(3 * 32768, 135 * 243, 524288, 1000000),
                                          testing::Values(1, 4)),
                         (named_by{"n", "threads"}));

TEST(LargeTransforms, ForwardThenBackwardScalesByN) {
    constexpr size_t n = 1 << 16;
    const round_trip_outcome got = round_trip(n, 8);
    EXPECT_EQ(got.forward_name, "execute_c2c_1d_large");
    EXPECT_LE(got.error, 2 * transform_error_bound<real>(n, 4.0));
}

} // namespace
