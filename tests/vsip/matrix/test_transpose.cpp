// vsip_cmtrans_f and vsip_cmherm_f: in place and out of place, every storage and order pair,
// dense and strided, serially and in parallel, bit-exact against a plain loop.
#include "matrix_fixture.hpp"

#include <gtest/gtest.h>

#include <complex>
#include <vector>

namespace {

using qvsip::test::all_layouts;
using qvsip::test::element_order;
using qvsip::test::line_spacing;
using qvsip::test::storage_kind;
using qvsip::test::test_layout;
using qvsip::test::test_matrix;
using qvsip::test::thread_scope;

using operation = void (*)(const vsip_cmview_f*, const vsip_cmview_f*);

struct transpose_kind {
    operation run;
    bool conjugates;
    const char* name;
};
const transpose_kind transposes[] = {{vsip_cmtrans_f, false, "trans"},
                                     {vsip_cmherm_f, true, "herm"}};

std::complex<float> expected_element(std::complex<float> x, bool conjugates) {
    return conjugates ? std::conj(x) : x;
}

using element_rows = std::vector<std::vector<std::complex<float>>>;

element_rows elements_of(const test_matrix& m) {
    element_rows e(m.rows(), std::vector<std::complex<float>>(m.cols()));
    for (vsip_index i = 0; i < m.rows(); ++i)
        for (vsip_index j = 0; j < m.cols(); ++j)
            e[i][j] = m.get(i, j);
    return e;
}

::testing::AssertionResult is_transpose(const element_rows& a, const test_matrix& r,
                                        bool conjugates) {
    for (vsip_index i = 0; i < a.size(); ++i)
        for (vsip_index j = 0; j < a[i].size(); ++j)
            if (r.get(j, i) != expected_element(a[i][j], conjugates))
                return ::testing::AssertionFailure()
                       << "R(" << j << ", " << i << ") = " << r.get(j, i) << " for A " << a[i][j];
    return r.outside_untouched();
}

// ---------------------------------------------------------------------------------------------
// Edge cases

TEST(ConjugateTranspose, RowBecomesConjugatedColumn) {
    test_matrix a(1, 2, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    test_matrix r(2, 1, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    a.set(0, 0, {1, 2});
    a.set(0, 1, {3, 4});
    vsip_cmherm_f(a.view(), r.view());
    EXPECT_EQ(r.get(0, 0), std::complex<float>(1, -2));
    EXPECT_EQ(r.get(1, 0), std::complex<float>(3, -4));
}

TEST(Transpose, RowMajorToColumnMajorIsAFlatCopy) {
    test_matrix a(2, 3, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    test_matrix r(3, 2, {storage_kind::interleaved, element_order::column, line_spacing::dense});
    a.fill_pattern(1);
    vsip_cmtrans_f(a.view(), r.view());
    // Element n of A's array (row-major) is element n of R's array (column-major).
    for (vsip_index n = 0; n < 6; ++n)
        EXPECT_EQ(r.get(n % 3, n / 3), a.get(n / 3, n % 3));
    EXPECT_TRUE(is_transpose(elements_of(a), r, false));
}

TEST(Transpose, NullAndEmptyChangeNothing) {
    test_matrix a(2, 2, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    test_matrix empty(0, 2, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    a.fill_pattern(2);
    const element_rows before = elements_of(a);
    for (const transpose_kind& t : transposes) {
        t.run(nullptr, a.view());
        t.run(a.view(), nullptr);
        t.run(empty.view(), a.view());
    }
    EXPECT_EQ(elements_of(a), before);
}

// ---------------------------------------------------------------------------------------------
// In place: dense matrices go to the engine, strided ones to the swap loop.

TEST(Transpose, InPlaceSquareEveryStorageAndOrder) {
    for (vsip_length n : {3, 17})
        for (line_spacing spacing : {line_spacing::dense, line_spacing::strided})
            for (const test_layout layout : all_layouts(spacing))
                for (const transpose_kind& t : transposes)
                    for (int threads : {1, 3}) {
                        test_matrix m(n, n, layout);
                        m.fill_pattern(static_cast<unsigned>(n));
                        const element_rows before = elements_of(m);
                        {
                            thread_scope scope(threads);
                            t.run(m.view(), m.view());
                        }
                        ASSERT_TRUE(is_transpose(before, m, t.conjugates))
                            << t.name << " n " << n << " storage "
                            << static_cast<int>(layout.storage) << " order "
                            << static_cast<int>(layout.order) << " spacing "
                            << static_cast<int>(spacing) << " T " << threads;
                    }
}

// R over A's own elements with A's strides swapped already is A's transpose.
TEST(Transpose, InPlaceOverSwappedStridesKeepsTheElements) {
    test_matrix a(4, 4, {storage_kind::split, element_order::row, line_spacing::dense});
    a.fill_pattern(3);
    const element_rows before = elements_of(a);
    vsip_cmview_f* swapped = vsip_cmbind_f(a.block(), 0, 1, 4, 4, 4);
    ASSERT_NE(swapped, nullptr);
    vsip_cmherm_f(a.view(), swapped);
    for (vsip_index i = 0; i < 4; ++i)
        for (vsip_index j = 0; j < 4; ++j)
            EXPECT_EQ(a.get(i, j), std::conj(before[i][j]));
    vsip_cmdestroy_f(swapped);
}

// ---------------------------------------------------------------------------------------------
// Out of place: same order flags (engine plan), different ones (flat copy), and strided.

TEST(Transpose, OutOfPlaceEveryStorageOrderAndSpacing) {
    struct matrix_size {
        vsip_length rows, cols;
    };
    for (const matrix_size size : {matrix_size{1, 2}, matrix_size{5, 7}, matrix_size{17, 33}})
        for (line_spacing a_spacing : {line_spacing::dense, line_spacing::strided})
            for (line_spacing r_spacing : {line_spacing::dense, line_spacing::strided})
                for (const test_layout la : all_layouts(a_spacing))
                    for (element_order ro : {element_order::row, element_order::column})
                        for (const transpose_kind& t : transposes)
                            for (int threads : {1, 3}) {
                                test_matrix a(size.rows, size.cols, la);
                                test_matrix r(size.cols, size.rows, {la.storage, ro, r_spacing});
                                a.fill_pattern(4);
                                {
                                    thread_scope scope(threads);
                                    t.run(a.view(), r.view());
                                }
                                ASSERT_TRUE(is_transpose(elements_of(a), r, t.conjugates))
                                    << t.name << " " << size.rows << "x" << size.cols << " storage "
                                    << static_cast<int>(la.storage) << " orders "
                                    << static_cast<int>(la.order) << static_cast<int>(ro)
                                    << " spacing " << static_cast<int>(a_spacing)
                                    << static_cast<int>(r_spacing) << " T " << threads;
                                ASSERT_TRUE(a.outside_untouched());
                            }
}

TEST(Transpose, MixedStorageAndLargerRUseTheStridedLoop) {
    test_matrix a(3, 5, {storage_kind::interleaved, element_order::row, line_spacing::dense});
    test_matrix r(
        6, 4,
        {storage_kind::split, element_order::row, line_spacing::dense}); // 5 x 3 corner written
    a.fill_pattern(5);
    r.fill_pattern(6);
    const element_rows r_before = elements_of(r);
    vsip_cmherm_f(a.view(), r.view());
    for (vsip_index j = 0; j < 6; ++j)
        for (vsip_index i = 0; i < 4; ++i) {
            const bool written = j < 5 && i < 3;
            EXPECT_EQ(r.get(j, i), written ? std::conj(a.get(i, j)) : r_before[j][i]);
        }
}

} // namespace
