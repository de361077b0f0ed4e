// Lengths with a prime factor above 7 other than the small primes (test_dft_small_prime), by the
// chirp method, against the long-double oracle.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "common/case_names.hpp"
#include "common/engine_support.hpp"
#include "fft/roots.hpp"
#include "fft/solvers/c2c_1d_prime.hpp"

using namespace qtx::QTX_ENGINE;
using namespace qtx::test;

namespace {

// The convolution runs at length M > 2n, with two transforms and three complex products.
double prime_error_bound(size_t n) {
    return transform_error_bound<real>(padded_length(n), 4.0);
}

TEST(PaddedLength, SmallestSevenSmoothLengthNotBelowTwiceN) {
    const struct {
        uint64_t n, M;
    } cases[] = {{11, 21}, {13, 25},  {17, 35},   {22, 45},
                 {23, 45}, {97, 196}, {101, 210}, {1009, 2025}};
    for (const auto& c : cases)
        EXPECT_EQ(padded_length(c.n), c.M) << c.n;
}

using PrimeLength = testing::TestWithParam<uint64_t>;

TEST_P(PrimeLength, BothDirectionsAgainstTheOracle) {
    const uint64_t n = GetParam();
    for (int sign : {-1, 1}) {
        const transform_outcome got = run_transform(n, sign);
        EXPECT_EQ(got.name, "execute_1d_prime") << n;
        EXPECT_LE(got.error, prime_error_bound(n)) << "n=" << n << " sign=" << sign;
    }
}

INSTANTIATE_TEST_SUITE_P(Each, PrimeLength,
                         testing::Values(22, 26, 33, 34, 46, 97, 101, 1009, 2 * 3 * 683, 4099,
                                         65537),
                         named_by{"n"});

using StridedPrimeLength = testing::TestWithParam<uint64_t>;

TEST_P(StridedPrimeLength, StridedAndInPlace) {
    const uint64_t n = GetParam();
    const transform_outcome strided = run_transform(n, -1, 3, 2);
    EXPECT_EQ(strided.name, "execute_1d_prime_discrete");
    EXPECT_LE(strided.error, prime_error_bound(n)) << n;
    const transform_outcome strided_in_place = run_transform(n, 1, 2, 2, true);
    EXPECT_LE(strided_in_place.error, prime_error_bound(n)) << n;
    // The same arithmetic either way: in place equals out of place exactly.
    EXPECT_EQ(run_transform(n, 1, 1, 1, true).error, run_transform(n, 1, 1, 1, false).error) << n;
}

INSTANTIATE_TEST_SUITE_P(Each, StridedPrimeLength, testing::Values(22, 97, 1009), named_by{"n"});

TEST(PrimeLengths, ForwardThenBackwardScalesByN) {
    for (uint64_t n : {26u, 1009u})
        EXPECT_LE(round_trip(n, 4).error, 2 * prime_error_bound(n)) << n;
}

TEST(PrimeSolver, PlanHoldsChirpFilterSpectrumAndOneChild) {
    constexpr uint64_t n = 22, M = 45;
    engine_array a(n);
    plan_guard p{QTX_PUBLIC(plan_dft_1d)(static_cast<int>(n), a.data, a.data, 1, 0)};
    ASSERT_NE(p.plan, nullptr);
    const plan_record* plan = p.record();
    EXPECT_EQ(plan->buffer_size, M * complex_bytes);
    EXPECT_EQ(plan->table_size, (n + M) * complex_bytes);
    ASSERT_EQ(plan->child_count, 1u);
    EXPECT_EQ(plan->children->dims[0].n, static_cast<int64_t>(M));
    EXPECT_EQ(plan->children->sign, 1);
    const auto* chirp = static_cast<const real*>(plan->table);
    for (uint64_t j = 0; j < n; ++j) {
        const root_value w = unit_root(static_cast<int64_t>(j * j % (2 * n)), 2 * n);
        EXPECT_EQ(chirp[2 * j], static_cast<real>(w.re)) << j;
        EXPECT_EQ(chirp[2 * j + 1], static_cast<real>(w.im)) << j;
    }
    // H[0] is the sum of the filter: Σ_j conj(c[j]) counted twice except j = 0, over M.
    long double re = 0;
    for (uint64_t j = 0; j < n; ++j)
        re += (j == 0 ? 1 : 2) * static_cast<long double>(chirp[2 * j]);
    EXPECT_NEAR(chirp[2 * n], static_cast<double>(re / M), 1e-5);
}

TEST(PrimeSolver, SevenSmoothLengthsNeverTakeThisPath) {
    engine_array a(4096);
    for (int n : {2025, 4096, 49, 1}) {
        plan_guard p{QTX_PUBLIC(plan_dft_1d)(n, a.data, a.data, -1, 0)};
        ASSERT_NE(p.plan, nullptr) << n;
        EXPECT_EQ(std::string(p.record()->name).find("prime"), std::string::npos) << n;
    }
}

// A long prime length checked at a few output bins by direct summation: the full oracle would
// take minutes under emulation.
TEST(PrimeLengths, MillionAndThreeAtSampledBins) {
    constexpr size_t n = 1000003;
    const reference_signal x = rounded<real>(random_signal(n, 9));
    engine_array in(n), out(n);
    in.load(to_working<real>(x));
    plan_guard p{QTX_PUBLIC(plan_dft_1d)(static_cast<int>(n), in.data, out.data, -1, 0)};
    ASSERT_NE(p.plan, nullptr);
    QTX_PUBLIC(execute)(p.plan);
    long double error = 0, norm = 0;
    for (size_t k : {size_t{0}, size_t{1}, size_t{2}, size_t{777}, n / 2, n - 1}) {
        reference_complex sum = 0;
        for (size_t t = 0; t < n; ++t) {
            const double angle = -2 * M_PI * static_cast<double>((t * k) % n) / n;
            sum += x[t] * reference_complex(std::cos(angle), std::sin(angle));
        }
        const reference_complex got(out.reals()[2 * k], out.reals()[2 * k + 1]);
        error += std::norm(got - sum);
        norm += std::norm(sum);
    }
    EXPECT_LE(static_cast<double>(std::sqrt(error / norm)), 4 * prime_error_bound(n));
}

} // namespace
