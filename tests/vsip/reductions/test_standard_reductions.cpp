// Extrema with their index, the real dot product and the sum of squares on every layout and
// thread count against double-precision loops, with ties (the lowest index wins) and NaNs.
#include "vsip/elementwise/views.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

using namespace ewtest;

struct reference {
    double value;
    std::optional<vsip_index> index; // extrema only
};

struct reduction_case {
    const char* name;
    vsip_scalar_f (*run)(const vsip_vview_f* a, const vsip_vview_f* b, vsip_index* index);
    reference (*expect)(const std::vector<float>& a, const std::vector<float>& b);
    bool is_dot = false; // reads b
};

// The first element whose key(x) is better than every earlier one (NaNs skipped).
template <class Key, class Better>
reference first_best(const std::vector<float>& a, Key key, Better better) {
    reference best{std::numeric_limits<double>::quiet_NaN(), std::nullopt};
    for (vsip_index i = 0; i < a.size(); ++i) {
        const double x = key(a[i]);
        if (!std::isnan(x) && (!best.index || better(x, best.value))) best = {x, i};
    }
    return best;
}

double sum_of_products(const std::vector<float>& a, const std::vector<float>& b) {
    double s = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        s += double(a[i]) * b[i];
    return s;
}

const reduction_case cases[] = {
    {"vmaxval",
     [](const vsip_vview_f* a, const vsip_vview_f*, vsip_index* i) { return vsip_vmaxval_f(a, i); },
     [](const std::vector<float>& a, const std::vector<float>&) {
         return first_best(
             a, [](float x) { return double(x); }, [](double x, double y) { return x > y; });
     }},
    {"vminval",
     [](const vsip_vview_f* a, const vsip_vview_f*, vsip_index* i) { return vsip_vminval_f(a, i); },
     [](const std::vector<float>& a, const std::vector<float>&) {
         return first_best(
             a, [](float x) { return double(x); }, [](double x, double y) { return x < y; });
     }},
    {"vminmgval",
     [](const vsip_vview_f* a, const vsip_vview_f*, vsip_index* i) {
         return vsip_vminmgval_f(a, i);
     },
     [](const std::vector<float>& a, const std::vector<float>&) {
         return first_best(
             a, [](float x) { return std::fabs(double(x)); },
             [](double x, double y) { return x < y; });
     }},
    {"vdot",
     [](const vsip_vview_f* a, const vsip_vview_f* b, vsip_index*) { return vsip_vdot_f(a, b); },
     [](const std::vector<float>& a, const std::vector<float>& b) {
         return reference{sum_of_products(a, b), {}};
     },
     true},
    {"vsumsqval",
     [](const vsip_vview_f* a, const vsip_vview_f*, vsip_index*) { return vsip_vsumsqval_f(a); },
     [](const std::vector<float>& a, const std::vector<float>&) {
         return reference{sum_of_products(a, a), {}};
     }},
};

const vector_layout layouts[] = {dense_layout, strided_layout, backwards_layout};
// Past 3 x 65536 elements the regions open with three threads.
const vsip_length lengths[] = {1, 3, 4, 5, 17, 100, 200003};

// Values on a grid of quarters, so that extrema repeat; a few NaNs when asked.
std::vector<float> values(vsip_length n, unsigned seed, bool with_nans) {
    std::mt19937 gen(seed);
    std::vector<float> v(n);
    for (float& x : v)
        x = std::round(random_float(gen, -8, 8) * 4) / 4;
    if (with_nans)
        for (vsip_length i = 0; i < n; i += 3)
            v[i] = std::numeric_limits<float>::quiet_NaN();
    return v;
}

void check(const reduction_case& c, const vector_layout& layout, vsip_length n, bool with_nans) {
    const std::vector<float> x = values(n, unsigned(n), with_nans),
                             y = values(n + 1, unsigned(n) + 5, false);
    test_real_vector a(layout, n), b(layout, n + 1);
    for (vsip_length i = 0; i < n; ++i)
        a[i] = x[i];
    for (vsip_length i = 0; i < n + 1; ++i)
        b[i] = y[i];
    const reference want = c.expect(x, y);
    vsip_index index = 12345;
    const float got = c.run(a.view(), b.view(), &index);
    if (want.index) {
        ASSERT_EQ(got, want.value);
        ASSERT_EQ(index, *want.index);
        ASSERT_EQ(c.run(a.view(), b.view(), nullptr), got); // a null index is allowed
    } else if (!with_nans) {
        double magnitude = 0;
        for (vsip_length i = 0; i < n; ++i)
            magnitude += std::fabs(double(x[i]) * (c.is_dot ? y[i] : x[i]));
        ASSERT_NEAR(got, want.value, 1e-6 * magnitude + 1e-30);
    }
}

TEST(StandardReductions, EveryLayoutThreadCountAndLength) {
    for (const reduction_case& c : cases)
        for (const int threads : thread_counts) {
            const thread_scope scope(threads);
            for (const vsip_length n : lengths)
                for (const vector_layout& layout : layouts)
                    for (const bool with_nans : {false, true}) {
                        SCOPED_TRACE(testing::Message()
                                     << c.name << " T=" << threads << " n=" << n << " "
                                     << layout.name << " nans=" << with_nans);
                        check(c, layout, n, with_nans);
                    }
        }
}

TEST(StandardReductions, NullEmptyAndAllNanViews) {
    test_real_vector nans(dense_layout, 6), empty(dense_layout, 0);
    for (vsip_length i = 0; i < 6; ++i)
        nans[i] = std::numeric_limits<float>::quiet_NaN();
    for (const reduction_case& c : cases) {
        const bool extremum = c.expect({1.0f}, {1.0f}).index.has_value();
        vsip_index index = 77;
        EXPECT_TRUE(std::isnan(c.run(nullptr, nans.view(), &index))) << c.name;
        if (c.is_dot) {
            EXPECT_TRUE(std::isnan(c.run(nans.view(), nullptr, &index))) << c.name;
        }
        EXPECT_TRUE(std::isnan(c.run(nans.view(), nans.view(), &index))) << c.name;
        EXPECT_EQ(index, 77u) << c.name;
        // No elements: NaN for an extremum, 0 for a sum.
        const float none = c.run(empty.view(), empty.view(), &index);
        EXPECT_TRUE(extremum ? std::isnan(none) : none == 0.0f) << c.name << " " << none;
        EXPECT_EQ(index, 77u) << c.name;
    }
}

} // namespace
