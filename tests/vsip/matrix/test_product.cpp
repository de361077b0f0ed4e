// vsip_cmprod_f in every order combination, storage and spacing, serially and in parallel,
// against a double-precision product; vsip_cmprodh_f against the same reference.
#include "matrix_fixture.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace {

using qvsip::test::all_layouts;
using qvsip::test::element_order;
using qvsip::test::line_spacing;
using qvsip::test::storage_kind;
using qvsip::test::test_layout;
using qvsip::test::test_matrix;
using qvsip::test::thread_scope;

using complex_double = std::complex<double>;

// Per-product rounding allowance for inputs within [-1, 1].
constexpr double tolerance_per_product = 4e-7;

enum class conjugation { no, yes };

// R(i, j) = sum over k of A(i, k) B(k, j), or of A(i, k) conj(B(j, k)).
complex_double reference(const test_matrix& a, const test_matrix& b, vsip_index i, vsip_index j,
                         vsip_length depth, conjugation conjugate) {
    complex_double sum = 0;
    for (vsip_index k = 0; k < depth; ++k) {
        const complex_double x(a.get(i, k));
        sum += conjugate == conjugation::yes ? x * std::conj(complex_double(b.get(j, k)))
                                             : x * complex_double(b.get(k, j));
    }
    return sum;
}

::testing::AssertionResult matches_reference(const test_matrix& a, const test_matrix& b,
                                             const test_matrix& r, vsip_length depth,
                                             conjugation conjugate) {
    const double tolerance = tolerance_per_product * static_cast<double>(depth + 1);
    for (vsip_index i = 0; i < r.rows(); ++i)
        for (vsip_index j = 0; j < r.cols(); ++j) {
            const complex_double expected = reference(a, b, i, j, depth, conjugate);
            if (std::abs(complex_double(r.get(i, j)) - expected) > tolerance)
                return ::testing::AssertionFailure()
                       << "R(" << i << ", " << j << ") = " << r.get(i, j) << ", expected "
                       << expected;
        }
    return r.outside_untouched();
}

struct product_size {
    vsip_length m, k, n;
};

// ---------------------------------------------------------------------------------------------
// vsip_cmprod_f

TEST(ComplexProduct, EveryOrderCombinationGivesTheSameSmallProduct) {
    // [[1, 2i, 3], [4, 5, -i]] x [[1, i], [2, 0], [0, 1 - i]].
    const std::complex<float> a[2][3] = {{1, {0, 2}, 3}, {4, 5, {0, -1}}};
    const std::complex<float> b[3][2] = {{1, {0, 1}}, {2, 0}, {0, {1, -1}}};
    const std::complex<float> expected[2][2] = {{{1, 4}, {3, -2}}, {14, {-1, 3}}};
    for (element_order ao : {element_order::row, element_order::column})
        for (element_order bo : {element_order::row, element_order::column})
            for (element_order ro : {element_order::row, element_order::column}) {
                test_matrix ma(2, 3, {storage_kind::interleaved, ao, line_spacing::dense});
                test_matrix mb(3, 2, {storage_kind::interleaved, bo, line_spacing::dense});
                test_matrix mr(2, 2, {storage_kind::interleaved, ro, line_spacing::dense});
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
    test_matrix a(3, 0, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    test_matrix b(0, 4, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    test_matrix r(3, 4, {storage_kind::split, element_order::column, line_spacing::strided});
    r.fill_pattern(1);
    vsip_cmprod_f(a.view(), b.view(), r.view());
    for (vsip_index i = 0; i < 3; ++i)
        for (vsip_index j = 0; j < 4; ++j)
            EXPECT_EQ(r.get(i, j), std::complex<float>(0, 0));
    EXPECT_TRUE(r.outside_untouched());
}

TEST(ComplexProduct, NullArgumentsChangeNothing) {
    test_matrix a(2, 2, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    test_matrix r(2, 2, {storage_kind::interleaved, element_order::row, line_spacing::dense});
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
    for (const product_size size : {product_size{5, 7, 6}, product_size{33, 17, 9}})
        for (line_spacing spacing : {line_spacing::dense, line_spacing::strided})
            for (const test_layout la : all_layouts(spacing))
                for (element_order bo : {element_order::row, element_order::column})
                    for (element_order ro : {element_order::row, element_order::column})
                        for (int threads : {1, 3}) {
                            const test_layout lb{la.storage, bo, spacing};
                            const test_layout lr{la.storage, ro, spacing};
                            test_matrix a(size.m, size.k, la), b(size.k, size.n, lb),
                                r(size.m, size.n, lr);
                            a.fill_pattern(3);
                            b.fill_pattern(4);
                            r.fill_pattern(5); // must be overwritten
                            {
                                thread_scope scope(threads);
                                vsip_cmprod_f(a.view(), b.view(), r.view());
                            }
                            ASSERT_TRUE(matches_reference(a, b, r, size.k, conjugation::no))
                                << "m " << size.m << " storage " << static_cast<int>(la.storage)
                                << " orders " << static_cast<int>(la.order) << static_cast<int>(bo)
                                << static_cast<int>(ro) << " spacing " << static_cast<int>(spacing)
                                << " T " << threads;
                        }
}

TEST(ComplexProduct, MixedStorageAndUnequalSizesUseTheSmallestCounts) {
    // A 4 x 6, B 5 x 3 (K = 5), R 6 x 2 (M = 4, N = 2); R's rows 4 and 5 become zero.
    test_matrix a(4, 6, {storage_kind::split, element_order::row, line_spacing::dense});
    test_matrix b(5, 3, {storage_kind::interleaved, element_order::column, line_spacing::dense});
    test_matrix r(6, 2, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    a.fill_pattern(6);
    b.fill_pattern(7);
    r.fill_pattern(8);
    vsip_cmprod_f(a.view(), b.view(), r.view());
    for (vsip_index i = 0; i < 4; ++i)
        for (vsip_index j = 0; j < 2; ++j)
            EXPECT_NEAR(
                std::abs(complex_double(r.get(i, j)) - reference(a, b, i, j, 5, conjugation::no)),
                0, 6 * tolerance_per_product);
    for (vsip_index i = 4; i < 6; ++i)
        for (vsip_index j = 0; j < 2; ++j)
            EXPECT_EQ(r.get(i, j), std::complex<float>(0, 0));
}

// ---------------------------------------------------------------------------------------------
// vsip_cmprodh_f

TEST(ConjugateProduct, OneByOne) {
    test_matrix a(1, 1, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    test_matrix b(1, 1, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    test_matrix r(1, 1, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    a.set(0, 0, {1, 1});
    b.set(0, 0, {1, 1});
    vsip_cmprodh_f(a.view(), b.view(), r.view());
    EXPECT_EQ(r.get(0, 0), std::complex<float>(2, 0));
}

// Unit-stride interleaved rows of R are written in groups of four, other R element by element.
TEST(ConjugateProduct, GroupedAndElementWiseStoresAgreeWithReference) {
    for (const test_layout lr : all_layouts(line_spacing::dense))
        for (line_spacing spacing : {line_spacing::dense, line_spacing::strided})
            for (int threads : {1, 3}) {
                test_matrix a(6, 11, {storage_kind::interleaved, element_order::row, spacing});
                test_matrix b(9, 11, {storage_kind::split, element_order::column, spacing});
                test_matrix r(6, 9, lr);
                a.fill_pattern(9);
                b.fill_pattern(10);
                {
                    thread_scope scope(threads);
                    vsip_cmprodh_f(a.view(), b.view(), r.view());
                }
                ASSERT_TRUE(matches_reference(a, b, r, 11, conjugation::yes))
                    << static_cast<int>(lr.storage) << static_cast<int>(lr.order) << " T "
                    << threads;
            }
}

} // namespace
