// Largest error in units in the last place against the double-precision maths library over
// dense sweeps, printed per function and held to the bounds measured for the kernels.
//
// Measured maxima, the same on the x86 SSE, scalar and Arm NEON backends (sqrt aside, whose
// reciprocal-square-root estimate differs by backend), 10^6 points:
//   sin    [-1e4, 1e4]       2533 ulp  three-coefficient polynomial: 1.5e-4 absolute near +-1
//   cos    [-1e4, 1e4]       1.72
//   euler  [-1e4, 1e4]       1.72 (cos part), 1.72 (sin part, four coefficients)
//   exp    [-100, 100]       1.91      real part, including the subnormal results below -87.3
//   log10  [2^-126, 1e30]    5498 ulp  near-Taylor polynomial of degree 6: 4e-5 absolute where
//                                      the mantissa is near 2/3 or 4/3 (log10(4/3) = 0.125)
//   sqrt   [2^-126, 2^126)   1.72

#include "views.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>

#ifndef QVSIP_SWEEP_POINTS
#define QVSIP_SWEEP_POINTS 1000000
#endif

namespace {

using qvsip::test::complex_float;
using qvsip::test::storage_kind;
using qvsip::test::test_complex_vector;
using qvsip::test::test_real_vector;

constexpr std::size_t points = QVSIP_SWEEP_POINTS;

// Distance from exact in units of the float spacing at exact (subnormal spacing below 2^-126).
double ulp_error(float got, double exact) {
    const bool overflow = std::fabs(exact) > std::numeric_limits<float>::max();
    if (std::isinf(got) || overflow)
        return std::isinf(got) && overflow && std::signbit(got) == std::signbit(exact)
                   ? 0.0
                   : std::numeric_limits<double>::infinity();
    int exponent = 0;
    std::frexp(exact, &exponent);
    const double spacing = std::ldexp(1.0, std::max(exponent - 24, -149));
    return std::fabs(static_cast<double>(got) - exact) / spacing;
}

struct worst_error {
    double error = 0;
    float at = 0;
    void update(double e, float x) {
        if (!(e <= error)) {
            error = e;
            at = x;
        }
    }
};

worst_error worst_of(const std::vector<float>& x, const std::vector<float>& got,
                     double (*exact)(double)) {
    worst_error w;
    for (std::size_t i = 0; i < x.size(); ++i)
        w.update(ulp_error(got[i], exact(x[i])), x[i]);
    return w;
}

void report_and_check(const char* name, worst_error w, double bound) {
    std::printf("max ulp error %-9s %10.2f at x = %.9g (bound %.0f)\n", name, w.error, w.at, bound);
    EXPECT_LE(w.error, bound) << name << " at " << w.at;
}

std::vector<float> linear_sweep(float low, float high) {
    std::vector<float> x(points);
    for (std::size_t i = 0; i < points; ++i)
        x[i] = static_cast<float>(low + (high - low) * (static_cast<double>(i) / (points - 1)));
    return x;
}

std::vector<float> log_sweep(double low, double high) {
    std::vector<float> x(points);
    const double ratio = std::log(high / low);
    for (std::size_t i = 0; i < points; ++i)
        x[i] = static_cast<float>(low * std::exp(ratio * static_cast<double>(i) / points));
    return x;
}

std::vector<float> apply(void (*f)(const vsip_vview_f*, const vsip_vview_f*),
                         const std::vector<float>& x) {
    const test_real_vector a(x);
    const test_real_vector r(x.size(), 1);
    f(a.view(), r.view());
    return r.values();
}

double sin_exact(double x) {
    return std::sin(x);
}
double cos_exact(double x) {
    return std::cos(x);
}

TEST(Accuracy, SineAndCosine) {
    const std::vector<float> x = linear_sweep(-1e4f, 1e4f);
    report_and_check("sin", worst_of(x, apply(vsip_vsin_f, x), sin_exact), 3000);
    report_and_check("cos", worst_of(x, apply(vsip_vcos_f, x), cos_exact), 3);
}

TEST(Accuracy, Euler) {
    const std::vector<float> x = linear_sweep(-1e4f, 1e4f);
    const test_real_vector a(x);
    const test_complex_vector r(x.size(), storage_kind::interleaved, 1);
    vsip_veuler_f(a.view(), r.view());
    std::vector<float> re, im;
    for (const complex_float& z : r.values()) {
        re.push_back(z.real());
        im.push_back(z.imag());
    }
    report_and_check("euler.re", worst_of(x, re, cos_exact), 3);
    report_and_check("euler.im", worst_of(x, im, sin_exact), 3);
}

TEST(Accuracy, ExponentialOfTheRealPart) {
    const std::vector<float> x = linear_sweep(-100, 100);
    std::vector<complex_float> z;
    for (float v : x)
        z.push_back({v, 0});
    const test_complex_vector a(z, storage_kind::interleaved);
    const test_complex_vector r(z.size(), storage_kind::interleaved, 1);
    vsip_cvexp_f(a.view(), r.view());
    std::vector<float> re;
    for (const complex_float& v : r.values())
        re.push_back(v.real());
    report_and_check("exp", worst_of(x, re, [](double v) { return std::exp(v); }), 3);
}

TEST(Accuracy, Log10AndSqrt) {
    const std::vector<float> x = log_sweep(0x1p-126, 1e30);
    report_and_check("log10", worst_of(x, apply(vsip_vlog10_f, x), std::log10), 6000);
    const std::vector<float> s = log_sweep(0x1p-126, 0x1p126);
    report_and_check("sqrt", worst_of(s, apply(vsip_vsqrt_f, s), std::sqrt), 3);
}

} // namespace
