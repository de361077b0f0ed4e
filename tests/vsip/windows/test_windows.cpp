// Window creates against their closed forms in double, the Chebyshev window by its defining
// property (equiripple sidelobes at the requested level), and refused arguments.
#include "qvsip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace {

constexpr double pi = std::numbers::pi;

std::vector<double> elements(vsip_vview_f* w) {
    std::vector<double> out(vsip_vgetlength_f(w));
    for (vsip_index k = 0; k < out.size(); ++k)
        out[k] = vsip_vget_f(w, k);
    vsip_valldestroy_f(w);
    return out;
}

double i0(double x) { // an independent series: sum of (x/2)^2k / (k!)^2 by its own recurrence
    double sum = 0, term = 1;
    for (int k = 0; k < 500; ++k) {
        sum += term;
        term *= (x / 2) * (x / 2) / ((k + 1.0) * (k + 1.0));
    }
    return sum;
}

struct window_case {
    const char* name;
    vsip_length smallest; // shorter lengths are refused
    vsip_vview_f* (*create)(vsip_length n);
    double (*expect)(double k, double n);
};

const window_case cases[] = {
    {"hanning", 1, [](vsip_length n) { return vsip_vcreate_hanning_f(n, VSIP_MEM_NONE); },
     [](double k, double n) { return 0.5 - 0.5 * std::cos(2 * pi * (k + 1) / (n + 1)); }},
    {"blackman", 2, [](vsip_length n) { return vsip_vcreate_blackman_f(n, VSIP_MEM_NONE); },
     [](double k, double n) {
         return 0.42 - 0.5 * std::cos(2 * pi * k / (n - 1)) + 0.08 * std::cos(4 * pi * k / (n - 1));
     }},
    {"kaiser", 1, [](vsip_length n) { return vsip_vcreate_kaiser_f(n, 7.5f, VSIP_MEM_NONE); },
     [](double k, double n) {
         const double x = n == 1 ? 0 : 2 * k / (n - 1) - 1;
         return i0(7.5 * std::sqrt(std::max(0.0, 1 - x * x))) / i0(7.5);
     }},
};

TEST(Windows, ClosedForms) {
    for (const window_case& c : cases)
        for (const vsip_length n : {1, 2, 3, 8, 33, 256}) {
            vsip_vview_f* w = c.create(n);
            if (n < c.smallest) {
                EXPECT_EQ(w, nullptr) << c.name << " n=" << n;
                continue;
            }
            ASSERT_NE(w, nullptr) << c.name << " n=" << n;
            const std::vector<double> got = elements(w);
            for (vsip_length k = 0; k < n; ++k)
                ASSERT_NEAR(got[k], c.expect(double(k), double(n)), 1e-6)
                    << c.name << " n=" << n << " k=" << k;
        }
}

// |sum of w[k] e^(-i w k)| at angular frequency f.
double response(const std::vector<double>& w, double f) {
    double re = 0, im = 0;
    for (std::size_t k = 0; k < w.size(); ++k) {
        re += w[k] * std::cos(f * double(k));
        im -= w[k] * std::sin(f * double(k));
    }
    return std::hypot(re, im);
}

TEST(Windows, ChebyshevSidelobesSitAtTheRippleBelowThePeak) {
    for (const vsip_length n : {8, 9, 31, 64})
        for (const double ripple : {20.0, 40.0, 60.0}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " ripple=" << ripple);
            const std::vector<double> w =
                elements(vsip_vcreate_cheby_f(n, float(ripple), VSIP_MEM_NONE));
            ASSERT_EQ(w.size(), n);
            EXPECT_NEAR(*std::max_element(w.begin(), w.end()), 1.0, 1e-7);
            for (vsip_length k = 0; k < n; ++k)
                ASSERT_NEAR(w[k], w[n - 1 - k], 1e-6) << k;
            // Beyond the main lobe's edge every sidelobe peak reaches the ripple level.
            const double x0 = std::cosh(std::acosh(std::pow(10.0, ripple / 20)) / double(n - 1));
            const double edge = 2 * std::acos(1 / x0);
            double sidelobe = 0;
            for (int j = 0; j <= 4000; ++j)
                sidelobe = std::max(sidelobe, response(w, edge + (pi - edge) * j / 4000.0));
            EXPECT_NEAR(20 * std::log10(response(w, 0) / sidelobe), ripple,
                        0.05 * ripple / 20 + 0.01);
        }
}

TEST(Windows, RefusedArguments) {
    const float inf = std::numeric_limits<float>::infinity(),
                nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(vsip_vcreate_hanning_f(0, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_vcreate_kaiser_f(0, 1.0f, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_vcreate_cheby_f(0, 40.0f, VSIP_MEM_NONE), nullptr);
    for (const float beta : {inf, nan, 1000.0f})
        EXPECT_EQ(vsip_vcreate_kaiser_f(8, beta, VSIP_MEM_NONE), nullptr) << beta;
    for (const float ripple : {0.0f, -3.0f, nan, inf, 1e5f})
        EXPECT_EQ(vsip_vcreate_cheby_f(8, ripple, VSIP_MEM_NONE), nullptr) << ripple;
    // Lengths whose storage cannot exist.
    const vsip_length huge = std::numeric_limits<vsip_length>::max() / 2;
    EXPECT_EQ(vsip_vcreate_hanning_f(huge, VSIP_MEM_NONE), nullptr);
    EXPECT_EQ(vsip_vcreate_cheby_f(huge, 40.0f, VSIP_MEM_NONE), nullptr);
    std::vector<double> one = elements(vsip_vcreate_cheby_f(1, 40.0f, VSIP_MEM_NONE));
    EXPECT_EQ(one, std::vector<double>{1.0});
}

} // namespace
