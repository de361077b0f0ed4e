// Matrix operations and vector-with-matrix products on dense, transposed, split and strided
// matrices and both thread counts.
#include "views.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace {

using namespace ewtest;

using C = std::complex<double>;

// Element (j, k) is block element offset + j * col_stride + k * row_stride.
struct MatrixLayout {
    const char* name;
    storage_kind storage;
    bool column_major;
    vsip_offset offset;
    vsip_stride spacing; // between consecutive elements of the inner dimension
    vsip_stride padding; // extra elements between inner lines
};
const MatrixLayout kMatrixLayouts[] = {{"row-major", storage_kind::interleaved, false, 0, 1, 0},
                                       {"column-major", storage_kind::interleaved, true, 0, 1, 0},
                                       {"split", storage_kind::split, false, 0, 1, 0},
                                       {"split-column-major", storage_kind::split, true, 0, 1, 0},
                                       {"strided", storage_kind::interleaved, false, 3, 2, 1},
                                       {"padded-columns", storage_kind::split, true, 1, 1, 2}};

class TestComplexMatrix {
  public:
    TestComplexMatrix(const MatrixLayout& l, vsip_length rows, vsip_length cols)
        : storage_(l.storage, l.offset + (l.padding + l.spacing * 5) * (rows + 1) * (cols + 1)),
          rows_(rows), cols_(cols), offset_(l.offset) {
        const vsip_length inner = l.column_major ? rows : cols;
        const vsip_stride line = vsip_stride(inner) * l.spacing + l.padding;
        along_row_ = l.column_major ? line : l.spacing;
        along_col_ = l.column_major ? l.spacing : line;
        view_ = vsip_cmbind_f(storage_.block(), offset_, along_col_, rows, along_row_, cols);
    }
    ~TestComplexMatrix() { vsip_cmalldestroy_f(view_); }
    Pair operator()(vsip_length j, vsip_length k) {
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

class TestRealMatrix {
  public:
    TestRealMatrix(bool column_major, vsip_length rows, vsip_length cols)
        : data_(rows * cols, sentinel), column_major_(column_major), rows_(rows), cols_(cols) {
        block_ = vsip_blockbind_f(data_.data(), data_.size(), VSIP_MEM_NONE);
        view_ = column_major ? vsip_mbind_f(block_, 0, 1, rows, vsip_stride(rows), cols)
                             : vsip_mbind_f(block_, 0, vsip_stride(cols), rows, 1, cols);
    }
    ~TestRealMatrix() { vsip_malldestroy_f(view_); }
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

struct Shape {
    vsip_length rows, cols;
};
const Shape shapes[] = {{1, 1}, {3, 4}, {4, 3}, {5, 7}, {2, 21}, {13, 8}};

// A complex matrix operation with up to two complex matrix inputs.
struct MatrixCase {
    const char* name;
    int inputs;
    void (*run)(const vsip_cmview_f* a, const vsip_cmview_f* b, const vsip_cmview_f* r);
    C (*expect)(Pair a, Pair b);
};

constexpr vsip_cscalar_f kFill{0.5f, -3.0f};

const MatrixCase kMatrixCases[] = {
    {"cmadd", 2, [](auto a, auto b, auto r) { vsip_cmadd_f(a, b, r); },
     [](Pair a, Pair b) { return C(*a.re + *b.re, *a.im + *b.im); }},
    {"cmconj", 1, [](auto a, auto, auto r) { vsip_cmconj_f(a, r); },
     [](Pair a, Pair) { return C(*a.re, -*a.im); }},
    {"cmcopy", 1, [](auto a, auto, auto r) { vsip_cmcopy_f_f(a, r); },
     [](Pair a, Pair) { return C(*a.re, *a.im); }},
    {"cmfill", 0, [](auto, auto, auto r) { vsip_cmfill_f(kFill, r); },
     [](Pair, Pair) { return C(kFill.r, kFill.i); }},
};

TEST(MatrixOperations, EveryLayoutPairShapeAndThreadCount) {
    for (const MatrixCase& c : kMatrixCases)
        for (const int threads : kThreadCounts) {
            const thread_scope scope(threads);
            for (const Shape& s : shapes)
                for (const MatrixLayout& in : kMatrixLayouts)
                    for (const MatrixLayout& out : kMatrixLayouts) {
                        SCOPED_TRACE(testing::Message()
                                     << c.name << " T=" << threads << " " << s.rows << "x" << s.cols
                                     << " " << in.name << "->" << out.name);
                        std::mt19937 gen(unsigned(s.rows * 31 + s.cols));
                        TestComplexMatrix a(in, s.rows, s.cols), b(out, s.rows + 1, s.cols),
                            r(out, s.rows, s.cols + 1);
                        a.fill(gen);
                        b.fill(gen);
                        c.run(a.view(), b.view(), r.view());
                        for (vsip_length j = 0; j < s.rows; ++j)
                            for (vsip_length k = 0; k < s.cols; ++k) {
                                const C want = c.expect(a(j, k), b(j, k));
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
    TestComplexMatrix a(kMatrixLayouts[0], 3, 4), b(kMatrixLayouts[1], 3, 4),
        r(kMatrixLayouts[0], 3, 4);
    a.fill(gen);
    b.fill(gen);
    vsip_cmadd_f(a.view(), b.view(), r.view());
    for (vsip_length j = 0; j < 3; ++j)
        for (vsip_length k = 0; k < 4; ++k)
            ASSERT_EQ(*r(j, k).re, *a(j, k).re + *b(j, k).re);
}

TEST(MatrixMagnitudeAndReciprocal, DenseEstimatesAndStridedExact) {
    for (const int threads : kThreadCounts) {
        const thread_scope scope(threads);
        for (const Shape& s : shapes)
            for (const MatrixLayout& in : kMatrixLayouts)
                for (const bool column_major : {false, true}) {
                    SCOPED_TRACE(testing::Message() << s.rows << "x" << s.cols << " " << in.name);
                    std::mt19937 gen(4);
                    TestComplexMatrix a(in, s.rows, s.cols);
                    a.fill(gen);
                    *a(0, 0).re = 1e-30f; // squares below 2^-126: this group takes sqrtf
                    *a(0, 0).im = 0.0f;
                    TestRealMatrix mag(column_major, s.rows, s.cols),
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
    for (const int threads : kThreadCounts) {
        const thread_scope scope(threads);
        for (const Shape& s : shapes)
            for (const MatrixLayout& layout : kMatrixLayouts)
                for (const vsip_major major : {VSIP_ROW, VSIP_COL}) {
                    SCOPED_TRACE(testing::Message() << s.rows << "x" << s.cols << " " << layout.name
                                                    << " major " << major);
                    const vsip_length along = major == VSIP_ROW ? s.cols : s.rows;
                    std::mt19937 gen(8);
                    test_complex_vector v(kStrided, along + 2);
                    test_real_vector w(kDense, along);
                    for (vsip_length i = 0; i < along + 2; ++i)
                        v.set(i, random_float(gen), random_float(gen));
                    for (vsip_length i = 0; i < along; ++i)
                        w[i] = random_float(gen);
                    TestComplexMatrix b(layout, s.rows, s.cols), r(layout, s.rows, s.cols),
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
    TestComplexMatrix r(kMatrixLayouts[0], 2, 2);
    for (const MatrixCase& c : kMatrixCases)
        if (c.inputs > 0) c.run(nullptr, nullptr, r.view());
    vsip_cmfill_f(kFill, nullptr);
    vsip_cvmmul_f(nullptr, r.view(), VSIP_ROW, r.view());
    EXPECT_EQ(*r(0, 0).re, sentinel);
}

} // namespace
