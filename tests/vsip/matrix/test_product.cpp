// vsip_cmprod_f in every order combination, storage and spacing, serially and in parallel,
// against a double-precision product; vsip_cmprodh_f against the same reference.
#include "matrix_fixture.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace {

using qvsip::test::all_layouts;
using qvsip::test::Layout;
using qvsip::test::Order;
using qvsip::test::Spacing;
using qvsip::test::storage_kind;
using qvsip::test::TestMatrix;
using qvsip::test::thread_scope;

using Complex = std::complex<double>;

// Per-product rounding allowance for inputs within [-1, 1].
constexpr double kTolerancePerProduct = 4e-7;

enum class Conjugate { no, yes };

// R(i, j) = sum over k of A(i, k) B(k, j), or of A(i, k) conj(B(j, k)).
Complex reference(const TestMatrix& a, const TestMatrix& b, vsip_index i, vsip_index j,
                  vsip_length depth, Conjugate conjugate) {
    Complex sum = 0;
    for (vsip_index k = 0; k < depth; ++k) {
        const Complex x(a.get(i, k));
        sum += conjugate == Conjugate::yes ? x * std::conj(Complex(b.get(j, k)))
                                           : x * Complex(b.get(k, j));
    }
    return sum;
}

::testing::AssertionResult matches_reference(const TestMatrix& a, const TestMatrix& b,
                                             const TestMatrix& r, vsip_length depth,
                                             Conjugate conjugate) {
    const double tolerance = kTolerancePerProduct * static_cast<double>(depth + 1);
    for (vsip_index i = 0; i < r.rows(); ++i)
        for (vsip_index j = 0; j < r.cols(); ++j) {
            const Complex expected = reference(a, b, i, j, depth, conjugate);
            if (std::abs(Complex(r.get(i, j)) - expected) > tolerance)
                return ::testing::AssertionFailure()
                       << "R(" << i << ", " << j << ") = " << r.get(i, j) << ", expected "
                       << expected;
        }
    return r.outside_untouched();
}

struct ProductSize {
    vsip_length m, k, n;
};

// ---------------------------------------------------------------------------------------------
// vsip_cmprod_f

TEST(ComplexProduct, EveryOrderCombinationGivesTheSameSmallProduct) {
    // [[1, 2i, 3], [4, 5, -i]] x [[1, i], [2, 0], [0, 1 - i]].
    const std::complex<float> a[2][3] = {{1, {0, 2}, 3}, {4, 5, {0, -1}}};
    const std::complex<float> b[3][2] = {{1, {0, 1}}, {2, 0}, {0, {1, -1}}};
    const std::complex<float> expected[2][2] = {{{1, 4}, {3, -2}}, {14, {-1, 3}}};
    for (Order ao : {Order::row, Order::column})
        for (Order bo : {Order::row, Order::column})
            for (Order ro : {Order::row, Order::column}) {
                TestMatrix ma(2, 3, {storage_kind::interleaved, ao, Spacing::dense});
                TestMatrix mb(3, 2, {storage_kind::interleaved, bo, Spacing::dense});
                TestMatrix mr(2, 2, {storage_kind::interleaved, ro, Spacing::dense});
                for (vsip_index i = 0; i < 2; ++i)
                    for (vsip_index k = 0; k < 3; ++k) {
                        ma.set(i, k, a[i][k]);
                        mb.set(k, i, b[k][i]);
                    }
                vsip_cmprod_f(ma.view(), mb.view(), mr.view());
                for (vsip_index i = 0; i < 2; ++i)
                    for (vsip_index j = 0; j < 2; ++j)
                        EXPECT_EQ(mr.get(i, j), expected[i][j])
                            << static_cast<int>(ao) << static_cast<int>(bo) << static_cast<int>(ro);
            }
}

TEST(ComplexProduct, EmptyInnerDimensionLeavesRZero) {
    TestMatrix a(3, 0, {storage_kind::interleaved, Order::row, Spacing::dense});
    TestMatrix b(0, 4, {storage_kind::interleaved, Order::row, Spacing::dense});
    TestMatrix r(3, 4, {storage_kind::split, Order::column, Spacing::strided});
    r.fill_pattern(1);
    vsip_cmprod_f(a.view(), b.view(), r.view());
    for (vsip_index i = 0; i < 3; ++i)
        for (vsip_index j = 0; j < 4; ++j)
            EXPECT_EQ(r.get(i, j), std::complex<float>(0, 0));
    EXPECT_TRUE(r.outside_untouched());
}

TEST(ComplexProduct, NullArgumentsChangeNothing) {
    TestMatrix a(2, 2, {storage_kind::interleaved, Order::row, Spacing::dense});
    TestMatrix r(2, 2, {storage_kind::interleaved, Order::row, Spacing::dense});
    r.fill_pattern(2);
    const std::complex<float> before = r.get(1, 1);
    vsip_cmprod_f(a.view(), nullptr, r.view());
    vsip_cmprod_f(nullptr, a.view(), r.view());
    vsip_cmprod_f(a.view(), a.view(), nullptr);
    EXPECT_EQ(r.get(1, 1), before);
}

// The eight order combinations select all three loop forms; dense views of one storage take
// their dense variants, and sizes beyond 8 reach the vector groups and their tails.
TEST(ComplexProduct, AllFormsStoragesAndThreadCountsAgreeWithReference) {
    for (const ProductSize size : {ProductSize{5, 7, 6}, ProductSize{33, 17, 9}})
        for (Spacing spacing : {Spacing::dense, Spacing::strided})
            for (const Layout la : all_layouts(spacing))
                for (Order bo : {Order::row, Order::column})
                    for (Order ro : {Order::row, Order::column})
                        for (int threads : {1, 3}) {
                            const Layout lb{la.storage, bo, spacing};
                            const Layout lr{la.storage, ro, spacing};
                            TestMatrix a(size.m, size.k, la), b(size.k, size.n, lb),
                                r(size.m, size.n, lr);
                            a.fill_pattern(3);
                            b.fill_pattern(4);
                            r.fill_pattern(5); // must be overwritten
                            {
                                thread_scope scope(threads);
                                vsip_cmprod_f(a.view(), b.view(), r.view());
                            }
                            ASSERT_TRUE(matches_reference(a, b, r, size.k, Conjugate::no))
                                << "m " << size.m << " storage " << static_cast<int>(la.storage)
                                << " orders " << static_cast<int>(la.order) << static_cast<int>(bo)
                                << static_cast<int>(ro) << " spacing " << static_cast<int>(spacing)
                                << " T " << threads;
                        }
}

TEST(ComplexProduct, MixedStorageAndUnequalSizesUseTheSmallestCounts) {
    // A 4 x 6, B 5 x 3 (K = 5), R 6 x 2 (M = 4, N = 2); R's rows 4 and 5 become zero.
    TestMatrix a(4, 6, {storage_kind::split, Order::row, Spacing::dense});
    TestMatrix b(5, 3, {storage_kind::interleaved, Order::column, Spacing::dense});
    TestMatrix r(6, 2, {storage_kind::interleaved, Order::row, Spacing::dense});
    a.fill_pattern(6);
    b.fill_pattern(7);
    r.fill_pattern(8);
    vsip_cmprod_f(a.view(), b.view(), r.view());
    for (vsip_index i = 0; i < 4; ++i)
        for (vsip_index j = 0; j < 2; ++j)
            EXPECT_NEAR(std::abs(Complex(r.get(i, j)) - reference(a, b, i, j, 5, Conjugate::no)), 0,
                        6 * kTolerancePerProduct);
    for (vsip_index i = 4; i < 6; ++i)
        for (vsip_index j = 0; j < 2; ++j)
            EXPECT_EQ(r.get(i, j), std::complex<float>(0, 0));
}

// ---------------------------------------------------------------------------------------------
// vsip_cmprodh_f

TEST(ConjugateProduct, OneByOne) {
    TestMatrix a(1, 1, {storage_kind::interleaved, Order::row, Spacing::dense});
    TestMatrix b(1, 1, {storage_kind::interleaved, Order::row, Spacing::dense});
    TestMatrix r(1, 1, {storage_kind::interleaved, Order::row, Spacing::dense});
    a.set(0, 0, {1, 1});
    b.set(0, 0, {1, 1});
    vsip_cmprodh_f(a.view(), b.view(), r.view());
    EXPECT_EQ(r.get(0, 0), std::complex<float>(2, 0));
}

// Unit-stride interleaved rows of R are written in groups of four, other R element by element.
TEST(ConjugateProduct, GroupedAndElementWiseStoresAgreeWithReference) {
    for (const Layout lr : all_layouts(Spacing::dense))
        for (Spacing spacing : {Spacing::dense, Spacing::strided})
            for (int threads : {1, 3}) {
                TestMatrix a(6, 11, {storage_kind::interleaved, Order::row, spacing});
                TestMatrix b(9, 11, {storage_kind::split, Order::column, spacing});
                TestMatrix r(6, 9, lr);
                a.fill_pattern(9);
                b.fill_pattern(10);
                {
                    thread_scope scope(threads);
                    vsip_cmprodh_f(a.view(), b.view(), r.view());
                }
                ASSERT_TRUE(matches_reference(a, b, r, 11, Conjugate::yes))
                    << static_cast<int>(lr.storage) << static_cast<int>(lr.order) << " T "
                    << threads;
            }
}

} // namespace
