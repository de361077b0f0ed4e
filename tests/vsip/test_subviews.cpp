// Views derived from views (subviews, rows, columns, diagonals, parts, clones, transposes) and
// the attribute gets and puts: the elements each reaches, shared data, and refusals.
#include "memory_probe.hpp"
#include "qvsip.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

namespace {

using qvsip::test::memory_probe;

constexpr vsip_stride lowest_stride = std::numeric_limits<vsip_stride>::min();

std::vector<float> elements(const vsip_vview_f* v) {
    std::vector<float> out;
    for (vsip_index i = 0; i < vsip_vgetlength_f(v); ++i)
        out.push_back(vsip_vget_f(v, i));
    return out;
}

// Real and imaginary parts, one after the other.
std::vector<float> elements(const vsip_cvview_f* v) {
    std::vector<float> out;
    for (vsip_index i = 0; i < vsip_cvgetlength_f(v); ++i)
        out.push_back(vsip_cvget_f(v, i).r);
    for (vsip_index i = 0; i < vsip_cvgetlength_f(v); ++i)
        out.push_back(vsip_cvget_f(v, i).i);
    return out;
}

std::vector<float> elements(const vsip_mview_f* m) {
    std::vector<float> out;
    for (vsip_index i = 0; i < vsip_mgetcollength_f(m); ++i)
        for (vsip_index j = 0; j < vsip_mgetrowlength_f(m); ++j)
            out.push_back(vsip_mget_f(m, i, j));
    return out;
}

float entry(vsip_index i, vsip_index j) {
    return static_cast<float>(10 * i + j);
}

// A 3 x 4 matrix whose element (i, j) is 10 i + j (complex: its negative as imaginary part).
vsip_mview_f* sample_matrix(vsip_major major) {
    vsip_mview_f* m = vsip_mcreate_f(3, 4, major, VSIP_MEM_NONE);
    for (vsip_index i = 0; i < 3; ++i)
        for (vsip_index j = 0; j < 4; ++j)
            vsip_mput_f(m, i, j, entry(i, j));
    return m;
}
vsip_cmview_f* sample_complex_matrix(vsip_major major) {
    vsip_cmview_f* m = vsip_cmcreate_f(3, 4, major, VSIP_MEM_NONE);
    for (vsip_index i = 0; i < 3; ++i)
        for (vsip_index j = 0; j < 4; ++j)
            vsip_cmput_f(m, i, j, vsip_cmplx_f(entry(i, j), -entry(i, j)));
    return m;
}

std::vector<float> with_negatives(std::vector<float> values) {
    const std::size_t n = values.size();
    for (std::size_t k = 0; k < n; ++k)
        values.push_back(-values[k]);
    return values;
}

// ---------------------------------------------------------------------------------------------
// Vectors of a matrix

struct matrix_vector_case {
    const char* label;
    std::function<vsip_vview_f*(const vsip_mview_f*)> real;
    std::function<vsip_cvview_f*(const vsip_cmview_f*)> complex;
    std::vector<float> expected;
};

TEST(Subview, RowsColumnsAndDiagonalsOfEitherMajor) {
    const matrix_vector_case cases[] = {
        {"row 1",
         [](auto m) { return vsip_mrowview_f(m, 1); },
         [](auto m) { return vsip_cmrowview_f(m, 1); },
         {10, 11, 12, 13}},
        {"column 2",
         [](auto m) { return vsip_mcolview_f(m, 2); },
         [](auto m) { return vsip_cmcolview_f(m, 2); },
         {2, 12, 22}},
        {"diagonal 0",
         [](auto m) { return vsip_mdiagview_f(m, 0); },
         [](auto m) { return vsip_cmdiagview_f(m, 0); },
         {0, 11, 22}},
        {"diagonal 1",
         [](auto m) { return vsip_mdiagview_f(m, 1); },
         [](auto m) { return vsip_cmdiagview_f(m, 1); },
         {1, 12, 23}},
        {"diagonal 3",
         [](auto m) { return vsip_mdiagview_f(m, 3); },
         [](auto m) { return vsip_cmdiagview_f(m, 3); },
         {3}},
        {"diagonal -1",
         [](auto m) { return vsip_mdiagview_f(m, -1); },
         [](auto m) { return vsip_cmdiagview_f(m, -1); },
         {10, 21}},
        {"diagonal -2",
         [](auto m) { return vsip_mdiagview_f(m, -2); },
         [](auto m) { return vsip_cmdiagview_f(m, -2); },
         {20}},
        {"diagonal 4 (empty)",
         [](auto m) { return vsip_mdiagview_f(m, 4); },
         [](auto m) { return vsip_cmdiagview_f(m, 4); },
         {}},
    };
    for (const vsip_major major : {VSIP_ROW, VSIP_COL}) {
        vsip_mview_f* real = sample_matrix(major);
        vsip_cmview_f* complex = sample_complex_matrix(major);
        for (const matrix_vector_case& c : cases) {
            vsip_vview_f* v = c.real(real);
            vsip_cvview_f* cv = c.complex(complex);
            ASSERT_TRUE(v && cv) << c.label;
            EXPECT_EQ(elements(v), c.expected) << c.label << ", major " << major;
            EXPECT_EQ(elements(cv), with_negatives(c.expected)) << c.label;
            EXPECT_EQ(vsip_vgetblock_f(v), vsip_mgetblock_f(real));
            EXPECT_EQ(vsip_cvgetblock_f(cv), vsip_cmgetblock_f(complex));
            vsip_vdestroy_f(v);
            vsip_cvdestroy_f(cv);
        }
        vsip_malldestroy_f(real);
        vsip_cmalldestroy_f(complex);
    }
}

// ---------------------------------------------------------------------------------------------
// Matrices of a matrix

struct matrix_matrix_case {
    const char* label;
    std::function<vsip_mview_f*(const vsip_mview_f*)> real;
    std::function<vsip_cmview_f*(const vsip_cmview_f*)> complex;
    vsip_length rows, columns;
    std::vector<float> expected; // row by row
};

TEST(Subview, SubmatricesClonesAndTransposes) {
    const matrix_matrix_case cases[] = {
        {"subview",
         [](auto m) { return vsip_msubview_f(m, 1, 1, 2, 3); },
         [](auto m) { return vsip_cmsubview_f(m, 1, 1, 2, 3); },
         2,
         3,
         {11, 12, 13, 21, 22, 23}},
        {"clone",
         [](auto m) { return vsip_mcloneview_f(m); },
         [](auto m) { return vsip_cmcloneview_f(m); },
         3,
         4,
         {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23}},
        {"transpose",
         [](auto m) { return vsip_mtransview_f(m); },
         [](auto m) { return vsip_cmtransview_f(m); },
         4,
         3,
         {0, 10, 20, 1, 11, 21, 2, 12, 22, 3, 13, 23}},
        {"no rows",
         [](auto m) { return vsip_msubview_f(m, 3, 0, 0, 4); },
         [](auto m) { return vsip_cmsubview_f(m, 3, 0, 0, 4); },
         0,
         4,
         {}},
    };
    for (const vsip_major major : {VSIP_ROW, VSIP_COL}) {
        vsip_mview_f* real = sample_matrix(major);
        vsip_cmview_f* complex = sample_complex_matrix(major);
        for (const matrix_matrix_case& c : cases) {
            vsip_mview_f* m = c.real(real);
            vsip_cmview_f* cm = c.complex(complex);
            ASSERT_TRUE(m && cm) << c.label;
            EXPECT_EQ(vsip_mgetcollength_f(m), c.rows);
            EXPECT_EQ(vsip_cmgetrowlength_f(cm), c.columns);
            EXPECT_EQ(elements(m), c.expected) << c.label << ", major " << major;
            vsip_mview_f* imag = vsip_cmimagview_f(cm);
            std::vector<float> negated;
            for (float x : c.expected)
                negated.push_back(-x);
            EXPECT_EQ(elements(imag), negated) << c.label;
            vsip_mdestroy_f(imag);
            vsip_mdestroy_f(m);
            vsip_cmdestroy_f(cm);
        }
        vsip_malldestroy_f(real);
        vsip_cmalldestroy_f(complex);
    }
}

TEST(Subview, DerivedViewsShareTheParentsElements) {
    vsip_mview_f* m = sample_matrix(VSIP_ROW);
    vsip_mview_f* t = vsip_mtransview_f(m);
    vsip_mput_f(t, 3, 2, -1);
    EXPECT_EQ(vsip_mget_f(m, 2, 3), -1.0f);
    vsip_vview_f* diagonal = vsip_mdiagview_f(t, 0);
    vsip_vput_f(diagonal, 1, -2);
    EXPECT_EQ(vsip_mget_f(m, 1, 1), -2.0f);
    vsip_vview_f* v = vsip_vcreate_f(6, VSIP_MEM_NONE);
    vsip_vview_f* clone = vsip_vcloneview_f(v);
    vsip_vview_f* sub = vsip_vsubview_f(v, 2, 3);
    for (vsip_index i = 0; i < 6; ++i)
        vsip_vput_f(clone, i, static_cast<float>(i));
    EXPECT_EQ(elements(sub), (std::vector<float>{2, 3, 4}));
    vsip_vdestroy_f(diagonal);
    vsip_mdestroy_f(t);
    vsip_malldestroy_f(m);
    vsip_vdestroy_f(sub);
    vsip_vdestroy_f(clone);
    vsip_valldestroy_f(v);
}

// Real and imaginary views of interleaved (created) and split (bound) complex vectors.
TEST(Subview, PartsOfComplexVectorsInBothStorages) {
    float re[3] = {}, im[3] = {};
    for (vsip_cvview_f* cv :
         {vsip_cvcreate_f(3, VSIP_MEM_NONE),
          vsip_cvbind_f(vsip_cblockbind_f(re, im, 3, VSIP_MEM_NONE), 0, 1, 3)}) {
        vsip_cvview_f* sub = vsip_cvsubview_f(cv, 1, 2);
        vsip_cvview_f* clone = vsip_cvcloneview_f(cv);
        vsip_vview_f* real = vsip_cvrealview_f(sub);
        vsip_vview_f* imag = vsip_cvimagview_f(clone);
        ASSERT_TRUE(sub && clone && real && imag);
        for (vsip_index i = 0; i < 3; ++i)
            vsip_cvput_f(cv, i, vsip_cmplx_f(static_cast<float>(i), static_cast<float>(10 + i)));
        EXPECT_EQ(elements(real), (std::vector<float>{1, 2}));
        EXPECT_EQ(elements(imag), (std::vector<float>{10, 11, 12}));
        vsip_vput_f(imag, 0, -5);
        EXPECT_EQ(vsip_cvget_f(cv, 0).i, -5.0f);
        vsip_valldestroy_f(real); // leaves the complex block
        vsip_valldestroy_f(imag);
        vsip_cvdestroy_f(sub);
        vsip_cvdestroy_f(clone);
        EXPECT_EQ(vsip_cvget_f(cv, 2).r, 2.0f);
        vsip_cvalldestroy_f(cv);
    }
}

TEST(Subview, NullParentsAndPartsOutsideAreRefused) {
    memory_probe probe;
    vsip_vview_f* v = vsip_vcreate_f(10, VSIP_MEM_NONE);
    vsip_cvview_f* cv = vsip_cvcreate_f(10, VSIP_MEM_NONE);
    vsip_mview_f* m = sample_matrix(VSIP_ROW);
    vsip_cmview_f* cm = sample_complex_matrix(VSIP_COL);
    const std::function<void*()> refused[] = {
        [&] { return vsip_vsubview_f(v, 8, 3); },
        [&] { return vsip_vsubview_f(v, 11, 0); },
        [&] { return vsip_cvsubview_f(cv, 0, 11); },
        [&] { return vsip_msubview_f(m, 2, 0, 2, 1); },
        [&] { return vsip_cmsubview_f(cm, 0, 1, 1, 4); },
        [&] { return vsip_mrowview_f(m, 3); },
        [&] { return vsip_mcolview_f(m, 4); },
        [&] { return vsip_cmrowview_f(cm, ~0ull); },
        [&] { return vsip_cmcolview_f(cm, 4); },
        [&] { return vsip_mdiagview_f(m, 5); },
        [&] { return vsip_mdiagview_f(m, -4); },
        [&] { return vsip_cmdiagview_f(cm, lowest_stride); },
        [] { return vsip_vsubview_f(nullptr, 0, 0); },
        [] { return vsip_cvsubview_f(nullptr, 0, 0); },
        [] { return vsip_msubview_f(nullptr, 0, 0, 0, 0); },
        [] { return vsip_cmsubview_f(nullptr, 0, 0, 0, 0); },
        [] { return vsip_mrowview_f(nullptr, 0); },
        [] { return vsip_mcolview_f(nullptr, 0); },
        [] { return vsip_mdiagview_f(nullptr, 0); },
        [] { return vsip_cmrowview_f(nullptr, 0); },
        [] { return vsip_cmcolview_f(nullptr, 0); },
        [] { return vsip_cmdiagview_f(nullptr, 0); },
        [] { return vsip_cvrealview_f(nullptr); },
        [] { return vsip_cvimagview_f(nullptr); },
        [] { return vsip_cmrealview_f(nullptr); },
        [] { return vsip_cmimagview_f(nullptr); },
        [] { return vsip_vcloneview_f(nullptr); },
        [] { return vsip_cvcloneview_f(nullptr); },
        [] { return vsip_mcloneview_f(nullptr); },
        [] { return vsip_cmcloneview_f(nullptr); },
        [] { return vsip_mtransview_f(nullptr); },
        [] { return vsip_cmtransview_f(nullptr); },
    };
    const int live = probe.live();
    for (std::size_t k = 0; k < std::size(refused); ++k)
        EXPECT_EQ(refused[k](), nullptr) << "case " << k;
    EXPECT_EQ(probe.live(), live);
    vsip_valldestroy_f(v);
    vsip_cvalldestroy_f(cv);
    vsip_malldestroy_f(m);
    vsip_cmalldestroy_f(cm);
    EXPECT_EQ(probe.live(), 0);
}

// ---------------------------------------------------------------------------------------------
// Attributes

// A put on a view of a 10-element block, and whether it is taken.
struct vector_put_case {
    const char* label;
    vsip_offset offset;
    vsip_stride stride;
    vsip_length length;
    bool taken;
};

TEST(Attributes, VectorPutsKeepTheViewInsideItsBlock) {
    const vector_put_case cases[] = {
        {"whole block", 0, 1, 10, true},
        {"backwards", 9, -1, 10, true},
        {"every third", 1, 3, 3, true},
        {"empty at the end", 10, 1, 0, true},
        {"one past the end", 0, 1, 11, false},
        {"before the start", 2, -1, 4, false},
        {"offset past the end", 11, 1, 0, false},
        {"stride overflow", 0, std::numeric_limits<vsip_stride>::max(), 3, false},
    };
    for (const vector_put_case& c : cases) {
        vsip_vview_f* v = vsip_vcreate_f(10, VSIP_MEM_NONE);
        vsip_vview_i* vi = vsip_vcreate_i(10, VSIP_MEM_NONE);
        vsip_vview_bl* vb = vsip_vcreate_bl(10, VSIP_MEM_NONE);
        vsip_cvview_f* cv = vsip_cvcreate_f(10, VSIP_MEM_NONE);
        const vsip_vattr_f before{0, 1, 10, vsip_vgetblock_f(v)};
        const vsip_vattr_f a{c.offset, c.stride, c.length, nullptr};
        const vsip_vattr_i ai{c.offset, c.stride, c.length, nullptr};
        const vsip_vattr_bl ab{c.offset, c.stride, c.length, nullptr};
        const vsip_cvattr_f ac{c.offset, c.stride, c.length, nullptr};
        EXPECT_EQ(vsip_vputattrib_f(v, &a), c.taken ? v : nullptr) << c.label;
        EXPECT_EQ(vsip_vputattrib_i(vi, &ai), c.taken ? vi : nullptr) << c.label;
        EXPECT_EQ(vsip_vputattrib_bl(vb, &ab), c.taken ? vb : nullptr) << c.label;
        EXPECT_EQ(vsip_cvputattrib_f(cv, &ac), c.taken ? cv : nullptr) << c.label;
        const vsip_vattr_f& expected = c.taken ? a : before;
        vsip_vattr_f got{};
        vsip_vgetattrib_f(v, &got);
        EXPECT_TRUE(got.offset == expected.offset && got.stride == expected.stride &&
                    got.length == expected.length && got.block == vsip_vgetblock_f(v))
            << c.label;
        vsip_cvattr_f got_complex{};
        vsip_cvgetattrib_f(cv, &got_complex);
        EXPECT_EQ(got_complex.length, expected.length) << c.label;
        EXPECT_EQ(vsip_vgetoffset_i(vi) + vsip_vgetoffset_bl(vb), 2 * expected.offset);
        EXPECT_EQ(vsip_vgetstride_i(vi) + vsip_vgetstride_bl(vb), 2 * expected.stride);
        vsip_valldestroy_f(v);
        vsip_valldestroy_i(vi);
        vsip_valldestroy_bl(vb);
        vsip_cvalldestroy_f(cv);
    }
}

TEST(Attributes, SingleVectorPutsAndGets) {
    vsip_vview_f* v = vsip_vcreate_f(10, VSIP_MEM_NONE);
    vsip_vview_i* vi = vsip_vcreate_i(10, VSIP_MEM_NONE);
    vsip_vview_bl* vb = vsip_vcreate_bl(10, VSIP_MEM_NONE);
    vsip_cvview_f* cv = vsip_cvcreate_f(10, VSIP_MEM_NONE);
    EXPECT_EQ(vsip_vputlength_f(v, 5), v);
    EXPECT_EQ(vsip_vputoffset_f(v, 5), v);
    EXPECT_EQ(vsip_vputoffset_f(v, 6), nullptr); // 6 + 4 would leave the block
    EXPECT_EQ(vsip_vputstride_f(v, -1), v);
    EXPECT_TRUE(vsip_vgetoffset_f(v) == 5 && vsip_vgetstride_f(v) == -1 &&
                vsip_vgetlength_f(v) == 5);
    EXPECT_EQ(vsip_vputlength_i(vi, 11), nullptr);
    EXPECT_EQ(vsip_vputstride_i(vi, 2), nullptr);
    EXPECT_EQ(vsip_vputoffset_i(vi, 1), nullptr);
    EXPECT_EQ(vsip_vgetlength_i(vi), 10u);
    EXPECT_EQ(vsip_vputlength_bl(vb, 0), vb);
    EXPECT_EQ(vsip_vputstride_bl(vb, 7), vb);
    EXPECT_EQ(vsip_vputoffset_bl(vb, 10), vb);
    EXPECT_EQ(vsip_vgetlength_bl(vb), 0u);
    EXPECT_EQ(vsip_cvputstride_f(cv, 3), nullptr);
    EXPECT_EQ(vsip_cvputlength_f(cv, 4), cv);
    EXPECT_EQ(vsip_cvputstride_f(cv, 3), cv);
    EXPECT_EQ(vsip_cvputoffset_f(cv, 1), nullptr); // element 3 would be block element 10
    EXPECT_TRUE(vsip_cvgetoffset_f(cv) == 0 && vsip_cvgetstride_f(cv) == 3);
    EXPECT_NE(vsip_vgetblock_i(vi), nullptr);
    EXPECT_NE(vsip_vgetblock_bl(vb), nullptr);
    vsip_valldestroy_f(v);
    vsip_valldestroy_i(vi);
    vsip_valldestroy_bl(vb);
    vsip_cvalldestroy_f(cv);
}

TEST(Attributes, MatrixPutsAndGets) {
    vsip_mview_f* m = vsip_mcreate_f(3, 4, VSIP_ROW, VSIP_MEM_NONE);
    vsip_cmview_f* cm = vsip_cmcreate_f(3, 4, VSIP_ROW, VSIP_MEM_NONE);
    vsip_mattr_f a{};
    vsip_mgetattrib_f(m, &a);
    EXPECT_TRUE(a.offset == 0 && a.col_stride == 4 && a.col_length == 3 && a.row_stride == 1 &&
                a.row_length == 4 && a.block == vsip_mgetblock_f(m));
    // The column-major 4 x 3 reading of the same block, then back.
    const vsip_mattr_f transposed{0, 1, 4, 4, 3, nullptr};
    EXPECT_EQ(vsip_mputattrib_f(m, &transposed), m);
    EXPECT_TRUE(vsip_mgetcolstride_f(m) == 1 && vsip_mgetrowstride_f(m) == 4 &&
                vsip_mgetcollength_f(m) == 4 && vsip_mgetrowlength_f(m) == 3);
    EXPECT_EQ(vsip_mputrowlength_f(m, 4), nullptr);
    EXPECT_EQ(vsip_mputcollength_f(m, 2), m);
    EXPECT_EQ(vsip_mputoffset_f(m, 2), m);
    EXPECT_EQ(vsip_mputoffset_f(m, 3), nullptr);
    EXPECT_EQ(vsip_mputcolstride_f(m, 2), nullptr);
    EXPECT_EQ(vsip_mputcolstride_f(m, -2), m);
    EXPECT_EQ(vsip_mputrowstride_f(m, 5), nullptr);
    EXPECT_TRUE(vsip_mgetoffset_f(m) == 2 && vsip_mgetcolstride_f(m) == -2 &&
                vsip_mgetrowstride_f(m) == 4);
    EXPECT_EQ(vsip_cmputrowstride_f(cm, 2), nullptr);
    EXPECT_EQ(vsip_cmputrowlength_f(cm, 2), cm);
    EXPECT_EQ(vsip_cmputrowstride_f(cm, 2), cm);
    EXPECT_EQ(vsip_cmputcolstride_f(cm, 3), cm);
    EXPECT_EQ(vsip_cmputcollength_f(cm, 5), nullptr);
    EXPECT_EQ(vsip_cmputoffset_f(cm, 1), cm);
    vsip_cmattr_f ca{};
    vsip_cmgetattrib_f(cm, &ca);
    EXPECT_TRUE(ca.offset == 1 && ca.col_stride == 3 && ca.col_length == 3 && ca.row_stride == 2 &&
                ca.row_length == 2 && ca.block == vsip_cmgetblock_f(cm));
    EXPECT_TRUE(vsip_cmgetcollength_f(cm) == 3 && vsip_cmgetrowlength_f(cm) == 2 &&
                vsip_cmgetcolstride_f(cm) == 3 && vsip_cmgetrowstride_f(cm) == 2 &&
                vsip_cmgetoffset_f(cm) == 1);
    const vsip_cmattr_f outside{0, 4, 4, 1, 4, nullptr};
    EXPECT_EQ(vsip_cmputattrib_f(cm, &outside), nullptr);
    vsip_malldestroy_f(m);
    vsip_cmalldestroy_f(cm);
}

TEST(Attributes, NullViewsAndRecords) {
    vsip_vview_f* v = vsip_vcreate_f(2, VSIP_MEM_NONE);
    vsip_vattr_f untouched{7, 7, 7, nullptr};
    vsip_vgetattrib_f(nullptr, &untouched);
    vsip_vgetattrib_f(v, nullptr);
    EXPECT_EQ(untouched.offset, 7u);
    EXPECT_EQ(vsip_vputattrib_f(v, nullptr), nullptr);
    EXPECT_EQ(vsip_vgetlength_f(v), 2u);
    vsip_vattr_i ai{};
    vsip_vattr_bl ab{};
    vsip_cvattr_f ac{};
    vsip_mattr_f am{};
    vsip_cmattr_f acm{};
    vsip_vgetattrib_i(nullptr, &ai);
    vsip_vgetattrib_bl(nullptr, &ab);
    vsip_cvgetattrib_f(nullptr, &ac);
    vsip_mgetattrib_f(nullptr, &am);
    vsip_cmgetattrib_f(nullptr, &acm);
    EXPECT_EQ(vsip_vgetlength_f(nullptr) + vsip_vgetlength_i(nullptr) +
                  vsip_vgetlength_bl(nullptr) + vsip_cvgetlength_f(nullptr) +
                  vsip_mgetcollength_f(nullptr) + vsip_mgetrowlength_f(nullptr) +
                  vsip_cmgetcollength_f(nullptr) + vsip_cmgetrowlength_f(nullptr) +
                  vsip_vgetoffset_f(nullptr) + vsip_mgetoffset_f(nullptr) +
                  vsip_cmgetoffset_f(nullptr) + vsip_cvgetoffset_f(nullptr),
              0u);
    EXPECT_EQ(vsip_vgetstride_f(nullptr) + vsip_cvgetstride_f(nullptr) +
                  vsip_mgetcolstride_f(nullptr) + vsip_mgetrowstride_f(nullptr) +
                  vsip_cmgetcolstride_f(nullptr) + vsip_cmgetrowstride_f(nullptr),
              0);
    EXPECT_TRUE(vsip_vgetblock_f(nullptr) == nullptr && vsip_cvgetblock_f(nullptr) == nullptr &&
                vsip_mgetblock_f(nullptr) == nullptr && vsip_cmgetblock_f(nullptr) == nullptr);
    EXPECT_TRUE(
        vsip_vputlength_f(nullptr, 1) == nullptr && vsip_cvputoffset_f(nullptr, 0) == nullptr &&
        vsip_mputrowstride_f(nullptr, 1) == nullptr &&
        vsip_cmputattrib_f(nullptr, &acm) == nullptr && vsip_mputattrib_f(nullptr, &am) == nullptr);
    vsip_valldestroy_f(v);
}

} // namespace
