// The common real, complex and mixed element-wise operations through one harness: every operand
// real or complex, in matching layouts, both thread counts and the lengths of every path, against
// references in the rounding order of the operation (tolerance 0: bit for bit) or in double.
#include "views.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <memory>
#include <variant>

namespace {

using namespace ewtest;

using value = std::complex<float>; // a real operand has imaginary part 0
using expected = std::complex<double>;
enum class kind { real, complex };

using operands = std::array<const void*, 3>;
const vsip_vview_f* rv(const void* v) {
    return static_cast<const vsip_vview_f*>(v);
}
const vsip_cvview_f* cv(const void* v) {
    return static_cast<const vsip_cvview_f*>(v);
}

constexpr float alpha = 1.75f, beta = -0.625f;

struct op_case {
    const char* name;
    std::array<kind, 3> inputs; // the first `count` are used
    int count;
    kind output;
    void (*run)(const operands& in, const void* r);
    expected (*expect)(const value* x);
    double tolerance;
    float low = -4.0f, high = 4.0f; // input range
};

constexpr kind R = kind::real, C = kind::complex;
constexpr double libm = 4e-7;

const op_case cases[] = {
    {"vadd",
     {R, R},
     2,
     R,
     [](const operands& v, const void* r) { vsip_vadd_f(rv(v[0]), rv(v[1]), rv(r)); },
     [](const value* x) { return expected(x[0].real() + x[1].real()); },
     0},
    {"vsub",
     {R, R},
     2,
     R,
     [](const operands& v, const void* r) { vsip_vsub_f(rv(v[0]), rv(v[1]), rv(r)); },
     [](const value* x) { return expected(x[0].real() - x[1].real()); },
     0},
    {"vmul",
     {R, R},
     2,
     R,
     [](const operands& v, const void* r) { vsip_vmul_f(rv(v[0]), rv(v[1]), rv(r)); },
     [](const value* x) { return expected(x[0].real() * x[1].real()); },
     0},
    {"vdiv",
     {R, R},
     2,
     R,
     [](const operands& v, const void* r) { vsip_vdiv_f(rv(v[0]), rv(v[1]), rv(r)); },
     [](const value* x) { return expected(x[0].real() / x[1].real()); },
     0},
    {"vmag",
     {R},
     1,
     R,
     [](const operands& v, const void* r) { vsip_vmag_f(rv(v[0]), rv(r)); },
     [](const value* x) { return expected(std::fabs(x[0].real())); },
     0},
    {"vsq",
     {R},
     1,
     R,
     [](const operands& v, const void* r) { vsip_vsq_f(rv(v[0]), rv(r)); },
     [](const value* x) { return expected(x[0].real() * x[0].real()); },
     0},
    {"vsma",
     {R, R},
     2,
     R,
     [](const operands& v, const void* r) { vsip_vsma_f(rv(v[0]), beta, rv(v[1]), rv(r)); },
     [](const value* x) { return expected(std::fma(x[0].real(), beta, x[1].real())); },
     0},
    {"svsub",
     {R},
     1,
     R,
     [](const operands& v, const void* r) { vsip_svsub_f(alpha, rv(v[0]), rv(r)); },
     [](const value* x) { return expected(alpha - x[0].real()); },
     0},
    {"svdiv",
     {R},
     1,
     R,
     [](const operands& v, const void* r) { vsip_svdiv_f(alpha, rv(v[0]), rv(r)); },
     [](const value* x) { return expected(alpha / x[0].real()); },
     0},
    {"vcopy",
     {R},
     1,
     R,
     [](const operands& v, const void* r) { vsip_vcopy_f_f(rv(v[0]), rv(r)); },
     [](const value* x) { return expected(x[0].real()); },
     0},
    {"vclip",
     {R},
     1,
     R,
     [](const operands& v, const void* r) {
         vsip_vclip_f(rv(v[0]), -1.0f, 2.0f, -7.0f, 9.0f, rv(r));
     },
     [](const value* x) {
         const float a = x[0].real();
         return expected(a <= -1.0f ? -7.0f : (a >= 2.0f ? 9.0f : a));
     },
     0},
    {"vmaxmg",
     {R, R},
     2,
     R,
     [](const operands& v, const void* r) { vsip_vmaxmg_f(rv(v[0]), rv(v[1]), rv(r)); },
     [](const value* x) {
         return expected(std::fmax(std::fabs(x[0].real()), std::fabs(x[1].real())));
     },
     0},
    {"vexp",
     {R},
     1,
     R,
     [](const operands& v, const void* r) { vsip_vexp_f(rv(v[0]), rv(r)); },
     [](const value* x) { return expected(std::exp(double(x[0].real()))); },
     libm,
     -80.0f,
     80.0f},
    {"vlog",
     {R},
     1,
     R,
     [](const operands& v, const void* r) { vsip_vlog_f(rv(v[0]), rv(r)); },
     [](const value* x) { return expected(std::log(double(x[0].real()))); },
     libm,
     1e-3f,
     1e3f},
    {"vatan2",
     {R, R},
     2,
     R,
     [](const operands& v, const void* r) { vsip_vatan2_f(rv(v[0]), rv(v[1]), rv(r)); },
     [](const value* x) { return expected(std::atan2(double(x[0].real()), double(x[1].real()))); },
     libm},
    {"cvjmul",
     {C, C},
     2,
     C,
     [](const operands& v, const void* r) { vsip_cvjmul_f(cv(v[0]), cv(v[1]), cv(r)); },
     [](const value* x) {
         const float ar = x[0].real(), ai = x[0].imag(), br = x[1].real(), bi = x[1].imag();
         return expected(std::fma(ar, br, ai * bi), std::fma(ai, br, -(ar * bi)));
     },
     0},
    {"cvmagsq",
     {C},
     1,
     R,
     [](const operands& v, const void* r) { vsip_cvmagsq_f(cv(v[0]), rv(r)); },
     [](const value* x) {
         return expected(std::fma(x[0].real(), x[0].real(), x[0].imag() * x[0].imag()));
     },
     0},
    {"cvfill",
     {},
     0,
     C,
     [](const operands&, const void* r) {
         vsip_cvfill_f({alpha, beta}, cv(r));
     },
     [](const value*) { return expected(alpha, beta); },
     0},
    {"cvneg",
     {C},
     1,
     C,
     [](const operands& v, const void* r) { vsip_cvneg_f(cv(v[0]), cv(r)); },
     [](const value* x) { return expected(-x[0].real(), -x[0].imag()); },
     0},
    {"cvsqrt",
     {C},
     1,
     C,
     [](const operands& v, const void* r) { vsip_cvsqrt_f(cv(v[0]), cv(r)); },
     [](const value* x) { return std::sqrt(expected(x[0])); },
     1e-6},
    {"rcvmul",
     {R, C},
     2,
     C,
     [](const operands& v, const void* r) { vsip_rcvmul_f(rv(v[0]), cv(v[1]), cv(r)); },
     [](const value* x) { return expected(x[0].real() * x[1].real(), x[0].real() * x[1].imag()); },
     0},
    {"rcvadd",
     {R, C},
     2,
     C,
     [](const operands& v, const void* r) { vsip_rcvadd_f(rv(v[0]), cv(v[1]), cv(r)); },
     [](const value* x) { return expected(x[0].real() + x[1].real(), x[1].imag()); },
     0},
    {"vcmplx",
     {R, R},
     2,
     C,
     [](const operands& v, const void* r) { vsip_vcmplx_f(rv(v[0]), rv(v[1]), cv(r)); },
     [](const value* x) { return expected(x[0].real(), x[1].real()); },
     0},
    {"vreal",
     {C},
     1,
     R,
     [](const operands& v, const void* r) { vsip_vreal_f(cv(v[0]), rv(r)); },
     [](const value* x) { return expected(x[0].real()); },
     0},
    {"vimag",
     {C},
     1,
     R,
     [](const operands& v, const void* r) { vsip_vimag_f(cv(v[0]), rv(r)); },
     [](const value* x) { return expected(x[0].imag()); },
     0},
    {"varg",
     {C},
     1,
     R,
     [](const operands& v, const void* r) { vsip_varg_f(cv(v[0]), rv(r)); },
     [](const value* x) { return expected(std::arg(expected(x[0]))); },
     libm},
    {"vrect",
     {R, R},
     2,
     C,
     [](const operands& v, const void* r) { vsip_vrect_f(rv(v[0]), rv(v[1]), cv(r)); },
     [](const value* x) { return std::polar(double(x[0].real()), double(x[1].real())); },
     1e-6},
};

// One operand of either kind in a layout; a real operand in a split layout is dense.
class operand {
  public:
    operand(kind k, const vector_layout& layout, vsip_length n) {
        if (k == kind::real)
            storage_.emplace<std::unique_ptr<test_real_vector>>(std::make_unique<test_real_vector>(
                layout.storage == storage_kind::split ? dense_layout : layout, n));
        else
            storage_.emplace<std::unique_ptr<test_complex_vector>>(
                std::make_unique<test_complex_vector>(layout, n));
    }
    bool is_real() const { return storage_.index() == 0; }
    test_real_vector& real() { return *std::get<0>(storage_); }
    test_complex_vector& complex() { return *std::get<1>(storage_); }
    const void* view() {
        if (is_real()) return real().view();
        return complex().view();
    }
    value get(vsip_length i) {
        return is_real() ? value(real()[i]) : value(*complex()[i].re, *complex()[i].im);
    }
    void set(vsip_length i, value x) {
        if (is_real())
            real()[i] = x.real();
        else
            complex().set(i, x.real(), x.imag());
    }

  private:
    std::variant<std::unique_ptr<test_real_vector>, std::unique_ptr<test_complex_vector>> storage_;
};

const vector_layout layouts[] = {dense_layout, split_layout, strided_layout, split_strided_layout,
                                 backwards_layout};

// Inputs in layout `in`, n + k elements long, the output in `out` with margin elements past n
// that must keep their sentinels (a fill, without inputs, writes them all).
void check_case(const op_case& c, const vector_layout& in, const vector_layout& out,
                vsip_length n) {
    std::mt19937 gen(static_cast<unsigned>(n) * 7 + 1);
    std::vector<std::unique_ptr<operand>> inputs;
    operands views{};
    for (int k = 0; k < c.count; ++k) {
        inputs.push_back(std::make_unique<operand>(c.inputs[k], in, n + k));
        for (vsip_length i = 0; i < n + k; ++i)
            inputs[k]->set(
                i, value(random_float(gen, c.low, c.high), random_float(gen, c.low, c.high)));
        views[k] = inputs[k]->view();
    }
    operand r(c.output, out, n + margin);
    c.run(views, r.view());
    for (vsip_length i = 0; i < n + margin; ++i) {
        if (c.count > 0 && i >= n) {
            ASSERT_EQ(r.get(i).real(), sentinel)
                << "element " << i << " past the count was written";
            continue;
        }
        value x[3];
        for (int k = 0; k < c.count; ++k)
            x[k] = inputs[k]->get(i);
        const expected want = c.expect(x);
        const value got = r.get(i);
        ASSERT_TRUE(close(got.real(), want.real(), c.tolerance))
            << "element " << i << " re " << got.real() << " want " << want.real();
        if (!r.is_real()) {
            ASSERT_TRUE(close(got.imag(), want.imag(), c.tolerance))
                << "element " << i << " im " << got.imag() << " want " << want.imag();
        }
    }
}

TEST(StandardOperations, EveryKindLayoutThreadCountAndLength) {
    for (const op_case& c : cases)
        for (const int threads : thread_counts) {
            const thread_scope scope(threads);
            for (const vsip_length n : test_lengths)
                for (const vector_layout& in : layouts)
                    for (const vector_layout& out : {in, strided_layout}) {
                        SCOPED_TRACE(testing::Message() << c.name << " T=" << threads << " n=" << n
                                                        << " " << in.name << "->" << out.name);
                        check_case(c, in, out, n);
                    }
        }
}

TEST(StandardOperations, NullViewsReturnWithoutWriting) {
    for (const op_case& c : cases) {
        operand r(c.output, dense_layout, 4);
        c.run({nullptr, nullptr, nullptr}, c.count == 0 ? nullptr : r.view());
        EXPECT_EQ(r.get(0).real(), sentinel) << c.name;
    }
    vsip_vramp_f(1.0f, 1.0f, nullptr);
    vsip_vswap_f(nullptr, nullptr);
    vsip_vpolar_f(nullptr, nullptr, nullptr);
}

// Operations with two outputs or an index input, on every layout and thread count, in place
// where they allow it.
TEST(StandardOperations, RampSwapAndPolarForm) {
    for (const int threads : thread_counts) {
        const thread_scope scope(threads);
        for (const vsip_length n : test_lengths)
            for (const vector_layout& layout : {dense_layout, strided_layout, backwards_layout}) {
                SCOPED_TRACE(testing::Message()
                             << "T=" << threads << " n=" << n << " " << layout.name);
                test_real_vector a(layout, n), b(layout, n + 1), ramp(layout, n);
                std::mt19937 gen(static_cast<unsigned>(n));
                for (vsip_length i = 0; i < n + 1; ++i)
                    b[i] = random_float(gen);
                for (vsip_length i = 0; i < n; ++i)
                    a[i] = random_float(gen);
                std::vector<float> before_a(n), before_b(n + 1);
                for (vsip_length i = 0; i < n; ++i)
                    before_a[i] = a[i];
                for (vsip_length i = 0; i < n + 1; ++i)
                    before_b[i] = b[i];
                vsip_vswap_f(a.view(), b.view());
                for (vsip_length i = 0; i < n; ++i)
                    ASSERT_TRUE(a[i] == before_b[i] && b[i] == before_a[i]) << i;
                ASSERT_EQ(b[n], before_b[n]);

                vsip_vramp_f(alpha, beta, ramp.view());
                for (vsip_length i = 0; i < n; ++i)
                    ASSERT_EQ(ramp[i], std::fma(float(i), beta, alpha)) << i;

                // Polar form into the parts of the same complex view, then back.
                test_complex_vector z(layout.stride == 1 ? split_layout : split_strided_layout, n);
                for (vsip_length i = 0; i < n; ++i)
                    z.set(i, before_a[i], before_b[i]);
                vsip_vview_f* re = vsip_cvrealview_f(z.view());
                vsip_vview_f* im = vsip_cvimagview_f(z.view());
                vsip_vpolar_f(z.view(), re, im);
                for (vsip_length i = 0; i < n; ++i) {
                    const std::complex<double> w(before_a[i], before_b[i]);
                    ASSERT_TRUE(close(*z[i].re, std::abs(w), 2e-7) &&
                                close(*z[i].im, std::arg(w), libm))
                        << i;
                }
                vsip_vrect_f(re, im, z.view());
                for (vsip_length i = 0; i < n; ++i)
                    ASSERT_TRUE(std::fabs(*z[i].re - before_a[i]) < 1e-5f &&
                                std::fabs(*z[i].im - before_b[i]) < 1e-5f)
                        << i;
                vsip_vdestroy_f(re);
                vsip_vdestroy_f(im);
            }
    }
}

TEST(StandardOperations, SpecialValues) {
    const float inf = std::numeric_limits<float>::infinity(),
                nan = std::numeric_limits<float>::quiet_NaN();
    // Groups of four and a tail alike: log of 0, negatives, subnormals and infinity; clip of NaN.
    const std::vector<float> x{0.0f, -1.0f, 1e-40f, inf, 0.0f, -1.0f, 1e-40f, inf, nan};
    for (const int threads : thread_counts) {
        const thread_scope scope(threads);
        test_real_vector a(dense_layout, x.size()), r(dense_layout, x.size());
        for (vsip_length i = 0; i < x.size(); ++i)
            a[i] = x[i];
        vsip_vlog_f(a.view(), r.view());
        for (vsip_length i = 0; i < x.size(); ++i)
            ASSERT_TRUE(close(r[i], std::log(double(x[i])), 1e-6)) << i;
        vsip_vclip_f(a.view(), -0.5f, 0.5f, 1.0f, 2.0f, r.view());
        EXPECT_TRUE(std::isnan(r[8]));
        EXPECT_EQ(r[1], 1.0f);
        EXPECT_EQ(r[3], 2.0f);
    }
}

} // namespace
