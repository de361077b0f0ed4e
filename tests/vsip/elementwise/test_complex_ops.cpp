// Complex vector operations on interleaved, split, strided and mixed layouts and both thread
// counts, against the products and sums in the order the operations round them.
#include "views.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>

namespace {

using namespace ewtest;

using input_views = std::array<const vsip_cvview_f*, 2>;
using complex_double = std::complex<double>;

constexpr vsip_cscalar_f alpha{1.5f, -0.75f};
constexpr float real_alpha = -2.25f;

// The complex product as the operations round it: the second product of each part rounded,
// the first fused.
complex_double product(float ar, float ai, float br, float bi) {
    return {std::fma(ar, br, -(ai * bi)), std::fma(ar, bi, ai * br)};
}

// The other rounding a complex product may take: the first product of each part rounded, the
// second fused.
complex_double product_other_fused(float ar, float ai, float br, float bi) {
    return {std::fma(-ai, bi, ar * br), std::fma(ai, br, ar * bi)};
}

struct complex_case {
    const char* name;
    int inputs;
    void (*run)(const input_views& in, const vsip_cvview_f* r);
    complex_double (*expect)(float ar, float ai, float br, float bi);
    double tolerance;
    // A second result the operation may give instead (null: none).
    complex_double (*alternative)(float ar, float ai, float br, float bi) = nullptr;
};

const complex_case complex_cases[] = {
    {"cvadd", 2, [](const input_views& v, const vsip_cvview_f* r) { vsip_cvadd_f(v[0], v[1], r); },
     [](float ar, float ai, float br, float bi) { return complex_double(ar + br, ai + bi); }, 0},
    {"cvsub", 2, [](const input_views& v, const vsip_cvview_f* r) { vsip_cvsub_f(v[0], v[1], r); },
     [](float ar, float ai, float br, float bi) { return complex_double(ar - br, ai - bi); }, 0},
    {"cvmul", 2, [](const input_views& v, const vsip_cvview_f* r) { vsip_cvmul_f(v[0], v[1], r); },
     product, 0, product_other_fused},
    {"cvdiv", 2, [](const input_views& v, const vsip_cvview_f* r) { vsip_cvdiv_f(v[0], v[1], r); },
     [](float ar, float ai, float br, float bi) {
         const float d = std::fma(br, br, bi * bi);
         return complex_double(std::fma(ar, br, ai * bi) / d, std::fma(ai, br, -(ar * bi)) / d);
     },
     2e-6},
    {"csvmul", 1,
     [](const input_views& v, const vsip_cvview_f* r) { vsip_csvmul_f(alpha, v[0], r); },
     [](float ar, float ai, float, float) {
         return complex_double(std::fma(alpha.r, ar, -(alpha.i * ai)),
                               std::fma(alpha.i, ar, alpha.r * ai));
     },
     0},
    {"rscvmul", 1,
     [](const input_views& v, const vsip_cvview_f* r) { vsip_rscvmul_f(real_alpha, v[0], r); },
     [](float ar, float ai, float, float) {
         return complex_double(real_alpha * ar, real_alpha * ai);
     },
     0},
    {"cvconj", 1, [](const input_views& v, const vsip_cvview_f* r) { vsip_cvconj_f(v[0], r); },
     [](float ar, float ai, float, float) { return complex_double(ar, -ai); }, 0},
    {"cvcopy", 1, [](const input_views& v, const vsip_cvview_f* r) { vsip_cvcopy_f_f(v[0], r); },
     [](float ar, float ai, float, float) { return complex_double(ar, ai); }, 0},
};

// Input a, input b and output layouts.
struct combination {
    vector_layout a, b, r;
};
const combination combinations[] = {
    {dense_layout, dense_layout, dense_layout},
    {split_layout, split_layout, split_layout},
    {strided_layout, strided_layout, strided_layout},
    {split_strided_layout, split_strided_layout, split_strided_layout},
    {backwards_layout, dense_layout, strided_layout},
    {split_layout, dense_layout, split_strided_layout},
    {dense_layout, split_layout, split_layout},
    {split_layout, split_layout, dense_layout}};

void fill(test_complex_vector& v, std::mt19937& gen) {
    for (vsip_length i = 0; i < v.length(); ++i)
        v.set(i, random_float(gen), random_float(gen));
}

void check_case(const complex_case& c, const combination& layouts, vsip_length n, bool in_place) {
    std::mt19937 gen(static_cast<unsigned>(n) + 11);
    test_complex_vector a(layouts.a, n + 1), b(layouts.b, n), r(layouts.r, n + margin);
    fill(a, gen);
    fill(b, gen);
    // One-input operations read b (so that b can also be their in-place output).
    test_complex_vector& first = c.inputs == 2 ? a : b;
    std::vector<complex_double> expected(n), alternative(n);
    for (vsip_length i = 0; i < n; ++i) {
        expected[i] = c.expect(*first[i].re, *first[i].im, *b[i].re, *b[i].im);
        alternative[i] = c.alternative == nullptr
                             ? expected[i]
                             : c.alternative(*first[i].re, *first[i].im, *b[i].re, *b[i].im);
    }
    const input_views views{first.view(), b.view()};
    test_complex_vector& result = in_place ? b : r;
    c.run(views, result.view());
    auto matches = [&](vsip_length i, complex_double want) {
        return close(*result[i].re, want.real(), c.tolerance) &&
               close(*result[i].im, want.imag(), c.tolerance);
    };
    for (vsip_length i = 0; i < n; ++i)
        ASSERT_TRUE(matches(i, expected[i]) || matches(i, alternative[i]))
            << "element " << i << " got " << *result[i].re << ", " << *result[i].im;
    if (in_place) return;
    for (vsip_length i = n; i < r.length(); ++i)
        ASSERT_TRUE(*r[i].re == sentinel && *r[i].im == sentinel) << i;
}

TEST(ComplexOperations, EveryCombinationThreadCountAndLength) {
    for (const complex_case& c : complex_cases)
        for (const int threads : thread_counts) {
            const thread_scope scope(threads);
            for (const vsip_length n : test_lengths)
                for (const combination& layouts : combinations) {
                    SCOPED_TRACE(testing::Message() << c.name << " T=" << threads << " n=" << n
                                                    << " " << layouts.a.name << ","
                                                    << layouts.b.name << "->" << layouts.r.name);
                    check_case(c, layouts, n, false);
                    if (&layouts == &combinations[0] || &layouts == &combinations[1])
                        check_case(c, {layouts.b, layouts.b, layouts.b}, n, true);
                }
        }
}

TEST(ComplexMultiply, SquaresInPlaceWhenAllViewsShareOneBlock) {
    for (const int threads : thread_counts) {
        const thread_scope scope(threads);
        for (const vector_layout& layout : {dense_layout, split_layout, strided_layout}) {
            test_complex_vector v(layout, 37);
            std::mt19937 gen(3);
            fill(v, gen);
            std::vector<complex_double> squares(37);
            for (vsip_length i = 0; i < 37; ++i)
                squares[i] = product(*v[i].re, *v[i].im, *v[i].re, *v[i].im);
            vsip_cvmul_f(v.view(), v.view(), v.view());
            for (vsip_length i = 0; i < 37; ++i)
                ASSERT_TRUE(close(*v[i].re, squares[i].real(), 0) &&
                            close(*v[i].im, squares[i].imag(), 0))
                    << layout.name << " " << i;
        }
    }
}

TEST(ComplexScale, ZeroFactorStoresZerosSeriallyOnInterleavedViews) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const vector_layout& layout : {dense_layout, strided_layout}) {
        test_complex_vector b(layout, 9), r(layout, 9);
        for (vsip_length i = 0; i < 9; ++i)
            b.set(i, nan, nan);
        vsip_csvmul_f({0.0f, 0.0f}, b.view(), r.view());
        for (vsip_length i = 0; i < 9; ++i)
            ASSERT_TRUE(*r[i].re == 0.0f && *r[i].im == 0.0f) << layout.name << " " << i;
    }
}

TEST(ComplexCopy, SplitToInterleavedIsBitExact) {
    test_complex_vector from(split_layout, 21), to(dense_layout, 21);
    for (vsip_length i = 0; i < 21; ++i)
        from.set(i, std::bit_cast<float>(0x7fc00001u + std::uint32_t(i)), -float(i) - 0.1f);
    vsip_cvcopy_f_f(from.view(), to.view());
    for (vsip_length i = 0; i < 21; ++i) {
        ASSERT_EQ(std::bit_cast<std::uint32_t>(*to[i].re), 0x7fc00001u + i);
        ASSERT_EQ(*to[i].im, -float(i) - 0.1f);
    }
}

TEST(VectorMagnitude, EstimatesInDenseGroupsExactElsewhereZeroStaysZero) {
    for (const int threads : thread_counts) {
        const thread_scope scope(threads);
        for (const vsip_length n : test_lengths)
            for (const combination& layouts : combinations) {
                test_complex_vector a(layouts.a, n);
                test_real_vector r(layouts.r.storage == storage_kind::split ? dense_layout
                                                                            : layouts.r,
                                   n + margin);
                std::mt19937 gen(5);
                fill(a, gen);
                a.set(0, 0.0f, -0.0f);
                vsip_cvmag_f(a.view(), r.view());
                for (vsip_length i = 0; i < n; ++i) {
                    const double want = std::hypot(double(*a[i].re), double(*a[i].im));
                    ASSERT_TRUE(close(r[i], want, 1e-4)) << layouts.a.name << " " << i;
                }
                EXPECT_EQ(r[0], 0.0f);
                EXPECT_EQ(r[n], sentinel);
            }
    }
}

TEST(VectorMagnitude, StridedAndTailElementsAreTheExactSquareRoot) {
    test_complex_vector a(strided_layout, 7);
    test_real_vector r(dense_layout, 7);
    std::mt19937 gen(9);
    fill(a, gen);
    vsip_cvmag_f(a.view(), r.view());
    for (vsip_length i = 0; i < 7; ++i)
        ASSERT_EQ(r[i], std::sqrt(std::fma(*a[i].re, *a[i].re, *a[i].im * *a[i].im)));
}

TEST(ComplexOperations, NullViewsReturn) {
    test_complex_vector a(dense_layout, 4);
    for (const complex_case& c : complex_cases)
        c.run({nullptr, nullptr}, a.view());
    vsip_cvmag_f(a.view(), nullptr);
    EXPECT_EQ(*a[0].re, sentinel);
}

} // namespace
