// Matrix operations and vector-with-matrix products on dense, transposed, split and strided
// matrices and both thread counts.
#include "views.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace {

using namespace ewtest;

using complex_double = std::complex<double>;

// Element (j, k) is block element offset + j * col_stride + k * row_stride.
struct matrix_layout {
    const char* name;
    storage_kind storage;
    bool column_major;
    vsip_offset offset;
    vsip_stride spacing; // between consecutive elements of the inner dimension
    vsip_stride padding; // extra elements between inner lines
};
const matrix_layout matrix_layouts[] = {{"row-major", storage_kind::interleaved, false, 0, 1, 0},
                                        {"column-major", storage_kind::interleaved, true, 0, 1, 0},
                                        {"split", storage_kind::split, false, 0, 1, 0},
                                        {"split-column-major", storage_kind::split, true, 0, 1, 0},
                                        {"strided", storage_kind::interleaved, false, 3, 2, 1},
                                        {"padded-columns", storage_kind::split, true, 1, 1, 2}};

class test_complex_matrix {
  public:
    test_complex_matrix(const matrix_layout& l, vsip_length rows, vsip_length cols)
        : storage_(l.storage, l.offset + (l.padding + l.spacing * 5) * (rows + 1) * (cols + 1)),
          rows_(rows), cols_(cols), offset_(l.offset) {
        const vsip_length inner = l.column_major ? rows : cols;
        const vsip_stride line = vsip_stride(inner) * l.spacing + l.padding;
        along_row_ = l.column_major ? line : l.spacing;
        along_col_ = l.column_major ? l.spacing : line;
        view_ = vsip_cmbind_f(storage_.block(), offset_, along_col_, rows, along_row_, cols);
    }
    ~test_complex_matrix() { vsip_cmalldestroy_f(view_); }
    component_pointers operator()(vsip_length j, vsip_length k) {
        return storage_.element(std::ptrdiff_t(offset_ + j * along_col_ + k * along_row_));
    }
    void fill(std::mt19937& gen) {
        for (vsip_length j = 0; j < rows_; ++j)
            for (vsip_length k = 0; k < cols_; ++k) {
                *(*this)(j, k).re = random_float(gen);
                *(*this)(j, k).im = random_float(gen);
            }
    }
    const vsip_cmview_f* view() const { return view_; }

  private:
    complex_storage storage_;
    vsip_length rows_, cols_;
    vsip_offset offset_;
    vsip_stride along_row_ = 1, along_col_ = 1;
    vsip_cmview_f* view_;
};

class test_real_matrix {
  public:
    test_real_matrix(bool column_major, vsip_length rows, vsip_length cols)
        : data_(rows * cols, sentinel), column_major_(column_major), rows_(rows), cols_(cols) {
        block_ = vsip_blockbind_f(data_.data(), data_.size(), VSIP_MEM_NONE);
        view_ = column_major ? vsip_mbind_f(block_, 0, 1, rows, vsip_stride(rows), cols)
                             : vsip_mbind_f(block_, 0, vsip_stride(cols), rows, 1, cols);
    }
    ~test_real_matrix() { vsip_malldestroy_f(view_); }
    float& operator()(vsip_length j, vsip_length k) {
        return data_[column_major_ ? k * rows_ + j : j * cols_ + k];
    }
    const vsip_mview_f* view() const { return view_; }

  private:
    std::vector<float> data_;
    vsip_block_f* block_;
    bool column_major_;
    vsip_length rows_, cols_;
    vsip_mview_f* view_;
};

struct matrix_shape {
    vsip_length rows, cols;
};
const matrix_shape shapes[] = {{1, 1}, {3, 4}, {4, 3}, {5, 7}, {2, 21}, {13, 8}};

// A complex matrix operation with up to two complex matrix inputs.
struct matrix_case {
    const char* name;
    int inputs;
    void (*run)(const vsip_cmview_f* a, const vsip_cmview_f* b, const vsip_cmview_f* r);
    complex_double (*expect)(component_pointers a, component_pointers b);
};

constexpr vsip_cscalar_f fill_value{0.5f, -3.0f};

const matrix_case matrix_cases[] = {
    {"cmadd", 2, [](auto a, auto b, auto r) { vsip_cmadd_f(a, b, r); },
     [](component_pointers a, component_pointers b) {
         return complex_double(*a.re + *b.re, *a.im + *b.im);
     }},
    {"cmconj", 1, [](auto a, auto, auto r) { vsip_cmconj_f(a, r); },
     [](component_pointers a, component_pointers) { return complex_double(*a.re, -*a.im); }},
    {"cmcopy", 1, [](auto a, auto, auto r) { vsip_cmcopy_f_f(a, r); },
     [](component_pointers a, component_pointers) { return complex_double(*a.re, *a.im); }},
    {"cmfill", 0, [](auto, auto, auto r) { vsip_cmfill_f(fill_value, r); },
     [](component_pointers, component_pointers) {
         return complex_double(fill_value.r, fill_value.i);
     }},
};

TEST(MatrixOperations, EveryLayoutPairShapeAndThreadCount) {
    for (const matrix_case& c : matrix_cases)
        for (const int threads : thread_counts) {
            const thread_scope scope(threads);
            for (const matrix_shape& s : shapes)
                for (const matrix_layout& in : matrix_layouts)
                    for (const matrix_layout& out : matrix_layouts) {
                        SCOPED_TRACE(testing::Message()
                                     << c.name << " T=" << threads << " " << s.rows << "x" << s.cols
                                     << " " << in.name << "->" << out.name);
                        std::mt19937 gen(unsigned(s.rows * 31 + s.cols));
                        test_complex_matrix a(in, s.rows, s.cols), b(out, s.rows + 1, s.cols),
                            r(out, s.rows, s.cols + 1);
                        a.fill(gen);
                        b.fill(gen);
                        c.run(a.view(), b.view(), r.view());
                        for (vsip_length j = 0; j < s.rows; ++j)
                            for (vsip_length k = 0; k < s.cols; ++k) {
                                const complex_double want = c.expect(a(j, k), b(j, k));
                                ASSERT_TRUE(close(*r(j, k).re, want.real(), 0) &&
                                            close(*r(j, k).im, want.imag(), 0))
                                    << j << "," << k;
                            }
                        if (c.inputs == 0) continue;             // a fill writes its whole output
                        for (vsip_length j = 0; j < s.rows; ++j) // the extra column
                            ASSERT_EQ(*r(j, s.cols).re, sentinel);
                    }
        }
}

TEST(MatrixOperations, AddWithOneTransposedViewMatchesDense) {
    std::mt19937 gen(1);
    test_complex_matrix a(matrix_layouts[0], 3, 4), b(matrix_layouts[1], 3, 4),
        r(matrix_layouts[0], 3, 4);
    a.fill(gen);
    b.fill(gen);
    vsip_cmadd_f(a.view(), b.view(), r.view());
    for (vsip_length j = 0; j < 3; ++j)
        for (vsip_length k = 0; k < 4; ++k)
            ASSERT_EQ(*r(j, k).re, *a(j, k).re + *b(j, k).re);
}

TEST(MatrixMagnitudeAndReciprocal, DenseEstimatesAndStridedExact) {
    for (const int threads : thread_counts) {
        const thread_scope scope(threads);
        for (const matrix_shape& s : shapes)
            for (const matrix_layout& in : matrix_layouts)
                for (const bool column_major : {false, true}) {
                    SCOPED_TRACE(testing::Message() << s.rows << "x" << s.cols << " " << in.name);
                    std::mt19937 gen(4);
                    test_complex_matrix a(in, s.rows, s.cols);
                    a.fill(gen);
                    *a(0, 0).re = 1e-30f; // squares below 2^-126: this group takes sqrtf
                    *a(0, 0).im = 0.0f;
                    test_real_matrix mag(column_major, s.rows, s.cols),
                        recip(column_major, s.rows, s.cols);
                    vsip_cmmag_f(a.view(), mag.view());
                    vsip_mrecip_f(mag.view(), recip.view());
                    for (vsip_length j = 0; j < s.rows; ++j)
                        for (vsip_length k = 0; k < s.cols; ++k) {
                            const double m = std::hypot(double(*a(j, k).re), double(*a(j, k).im));
                            ASSERT_TRUE(close(mag(j, k), m, 4e-7)) << j << "," << k;
                            ASSERT_TRUE(close(recip(j, k), 1.0 / mag(j, k), 4e-7));
                        }
                }
    }
}

TEST(VectorMatrixProducts, ByRowsAndByColumnsOnEveryLayout) {
    for (const int threads : thread_counts) {
        const thread_scope scope(threads);
        for (const matrix_shape& s : shapes)
            for (const matrix_layout& layout : matrix_layouts)
                for (const vsip_major major : {VSIP_ROW, VSIP_COL}) {
                    SCOPED_TRACE(testing::Message() << s.rows << "x" << s.cols << " " << layout.name
                                                    << " major " << major);
                    const vsip_length along = major == VSIP_ROW ? s.cols : s.rows;
                    std::mt19937 gen(8);
                    test_complex_vector v(strided_layout, along + 2);
                    test_real_vector w(dense_layout, along);
                    for (vsip_length i = 0; i < along + 2; ++i)
                        v.set(i, random_float(gen), random_float(gen));
                    for (vsip_length i = 0; i < along; ++i)
                        w[i] = random_float(gen);
                    test_complex_matrix b(layout, s.rows, s.cols), r(layout, s.rows, s.cols),
                        q(layout, s.rows, s.cols);
                    b.fill(gen);
                    vsip_cvmmul_f(v.view(), b.view(), major, r.view());
                    vsip_rvcmmul_f(w.view(), b.view(), major, q.view());
                    for (vsip_length j = 0; j < s.rows; ++j)
                        for (vsip_length k = 0; k < s.cols; ++k) {
                            const vsip_length i = major == VSIP_ROW ? k : j;
                            const float ar = *v[i].re, ai = *v[i].im;
                            const float br = *b(j, k).re, bi = *b(j, k).im;
                            ASSERT_EQ(*r(j, k).re, std::fma(ar, br, -(ai * bi)));
                            ASSERT_EQ(*r(j, k).im, std::fma(ar, bi, ai * br));
                            ASSERT_EQ(*q(j, k).re, w[i] * br);
                            ASSERT_EQ(*q(j, k).im, w[i] * bi);
                        }
                }
    }
}

TEST(MatrixOperations, NullViewsReturn) {
    test_complex_matrix r(matrix_layouts[0], 2, 2);
    for (const matrix_case& c : matrix_cases)
        if (c.inputs > 0) c.run(nullptr, nullptr, r.view());
    vsip_cmfill_f(fill_value, nullptr);
    vsip_cvmmul_f(nullptr, r.view(), VSIP_ROW, r.view());
    EXPECT_EQ(*r(0, 0).re, sentinel);
}

} // namespace
