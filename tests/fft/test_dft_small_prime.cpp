// The small prime kernels against the long-double oracle: every length with a kernel, both
// directions, unit and other strides, in and out of place, alone and in a batch.
#include <gtest/gtest.h>

#include <vector>

#include "common/case_names.hpp"
#include "common/engine_support.hpp"
#include "fft/kernels/small_prime_kernels.hpp"

using namespace qtx::QTX_ENGINE;
using namespace qtx::test;

namespace {

constexpr int first_chirp_prime = [] {
    int n = small_prime::max_small_prime + 1;
    while (!small_prime::is_prime(n))
        ++n;
    return n;
}();

using SmallPrimeLength = testing::TestWithParam<int>;

TEST_P(SmallPrimeLength, EveryLayoutBothDirections) {
    const size_t n = static_cast<size_t>(GetParam());
    const double bound = transform_error_bound<real>(n);
    const struct {
        int is, os;
        bool in_place;
    } layouts[] = {{1, 1, false}, {1, 1, true}, {3, 2, false}, {2, 2, true}};
    for (int sign : {-1, 1})
        for (const auto& l : layouts) {
            const transform_outcome got = run_transform(n, sign, l.is, l.os, l.in_place, 7);
            EXPECT_EQ(got.name, "execute_dft_small_prime");
            EXPECT_LE(got.error, bound) << "sign=" << sign << " is=" << l.is << " os=" << l.os
                                        << " in place " << l.in_place;
        }
}

// Batches go through the batch solvers, whose single-transform children are the kernels.
TEST_P(SmallPrimeLength, BatchOfThreeWithGaps) {
    const int n = GetParam(), howmany = 3, distance = n + 2;
    const reference_signal x = random_signal(static_cast<size_t>(howmany * distance), 3);
    engine_array in(x.size()), out(x.size());
    in.load(to_working<real>(x));
    plan_guard p{QTX_PUBLIC(plan_many_dft)(1, &n, howmany, in.data, nullptr, 1, distance, out.data,
                                           nullptr, 1, distance, 1, 0)};
    ASSERT_NE(p.plan, nullptr);
    ASSERT_GE(p.record()->child_count, 1u);
    EXPECT_STREQ(p.record()->children[0].name, "execute_dft_small_prime");
    QTX_PUBLIC(execute)(p.plan);
    for (int h = 0; h < howmany; ++h) {
        const reference_signal one(x.begin() + h * distance, x.begin() + h * distance + n);
        EXPECT_LE(relative_rms_error(out.reals() + 2 * h * distance,
                                     reference_dft(rounded<real>(one), 1)),
                  transform_error_bound<real>(static_cast<size_t>(n)))
            << h;
    }
}

INSTANTIATE_TEST_SUITE_P(Each, SmallPrimeLength, testing::ValuesIn(small_prime::small_primes),
                         named_by{"n"});

TEST(SmallPrimeSolver, LongerPrimesAndBatchesOfOtherLengthsGoElsewhere) {
    EXPECT_EQ(run_transform(first_chirp_prime, -1).name, "execute_1d_prime");
    EXPECT_EQ(run_transform(2 * small_prime::small_primes[0], -1).name, "execute_1d_prime");
    EXPECT_EQ(run_transform(7, -1).name, "execute_dft_direct");
}

} // namespace
