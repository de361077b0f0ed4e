// Real, integer and boolean vector operations on every layout and thread count against
// references computed in the order the operations round (exact bits) or in double precision.
#include "views.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace {

using namespace ewtest;

constexpr float alpha = 1.75f;
constexpr double estimate_tolerance = 4e-7; // two Newton-Raphson steps

using input_views = std::array<const vsip_vview_f*, 3>;

// A float operation with up to three vector inputs.
struct real_case {
    const char* name;
    int inputs;
    void (*run)(const input_views& in, const vsip_vview_f* r);
    double (*expect)(float a, float b, float c);
    double tolerance;
};

const real_case real_cases[] = {
    {"vneg", 1, [](const input_views& v, const vsip_vview_f* r) { vsip_vneg_f(v[0], r); },
     [](float a, float, float) { return double(-a); }, 0},
    {"vrecip", 1, [](const input_views& v, const vsip_vview_f* r) { vsip_vrecip_f(v[0], r); },
     [](float a, float, float) { return 1.0 / a; }, estimate_tolerance},
    {"vfill", 0, [](const input_views&, const vsip_vview_f* r) { vsip_vfill_f(alpha, r); },
     [](float, float, float) { return double(alpha); }, 0},
    {"svadd", 1, [](const input_views& v, const vsip_vview_f* r) { vsip_svadd_f(alpha, v[0], r); },
     [](float a, float, float) { return double(alpha + a); }, 0},
    {"svmul", 1, [](const input_views& v, const vsip_vview_f* r) { vsip_svmul_f(alpha, v[0], r); },
     [](float a, float, float) { return double(alpha * a); }, 0},
    {"vam", 3, [](const input_views& v, const vsip_vview_f* r) { vsip_vam_f(v[0], v[1], v[2], r); },
     [](float a, float b, float c) { return double((a + b) * c); }, 0},
    {"vma", 3, [](const input_views& v, const vsip_vview_f* r) { vsip_vma_f(v[0], v[1], v[2], r); },
     [](float a, float b, float c) { return double(std::fma(a, b, c)); }, 0},
    {"vmsa", 2,
     [](const input_views& v, const vsip_vview_f* r) { vsip_vmsa_f(v[0], v[1], alpha, r); },
     [](float a, float b, float) { return double(std::fma(a, b, alpha)); }, 0},
    {"vmax", 2, [](const input_views& v, const vsip_vview_f* r) { vsip_vmax_f(v[0], v[1], r); },
     [](float a, float b, float) { return double(b < a ? a : b); }, 0},
};

const vector_layout real_layouts[] = {dense_layout, strided_layout, backwards_layout};

// Runs one case with every input in layout `in` and the output in `out`, the output longer by
// margin elements that must keep their sentinels.
void check_case(const real_case& c, const vector_layout& in, const vector_layout& out,
                vsip_length n, bool in_place) {
    std::mt19937 gen(static_cast<unsigned>(n));
    test_real_vector a(in, n), b(in, n + 1), cc(in, n + 2), r(out, n + margin);
    test_real_vector* inputs[] = {&a, &b, &cc};
    for (test_real_vector* v : inputs)
        for (vsip_length i = 0; i < v->length(); ++i)
            (*v)[i] = random_float(gen);
    std::vector<float> before(n);
    for (vsip_length i = 0; i < n; ++i)
        before[i] = a[i];
    const input_views views{a.view(), b.view(), cc.view()};
    c.run(views, in_place ? a.view() : r.view());
    test_real_vector& result = in_place ? a : r;
    for (vsip_length i = 0; i < n; ++i)
        ASSERT_TRUE(close(result[i], c.expect(before[i], b[i], cc[i]), c.tolerance))
            << "element " << i << " got " << result[i];
    if (in_place || c.inputs == 0) return; // a fill writes its whole output
    for (vsip_length i = n; i < r.length(); ++i)
        ASSERT_EQ(r[i], sentinel) << "element " << i << " past the count was written";
}

TEST(RealOperations, EveryLayoutThreadCountAndLength) {
    for (const real_case& c : real_cases)
        for (const int threads : thread_counts) {
            const thread_scope scope(threads);
            for (const vsip_length n : test_lengths)
                for (const vector_layout& in : real_layouts)
                    for (const vector_layout& out : real_layouts) {
                        SCOPED_TRACE(testing::Message() << c.name << " T=" << threads << " n=" << n
                                                        << " " << in.name << "->" << out.name);
                        check_case(c, in, out, n, false);
                        if (c.inputs > 0 && &in == &out) check_case(c, in, out, n, true);
                    }
        }
}

TEST(RealOperations, NullViewsReturnWithoutTouchingTheOutput) {
    test_real_vector a(dense_layout, 5), r(dense_layout, 5);
    for (const real_case& c : real_cases) {
        if (c.inputs == 0) continue;
        c.run({nullptr, a.view(), a.view()}, r.view());
        EXPECT_EQ(r[0], sentinel) << c.name;
    }
    vsip_vfill_f(1.0f, nullptr);
}

// Fills a with values, runs op, returns the outputs (groups of four and tails alike).
template <class Out, class In, class Op>
std::vector<typename Out::scalar> run_on(const std::vector<float>& values,
                                         const vector_layout& layout, Op op) {
    In a(layout, values.size());
    Out r(layout, values.size());
    for (vsip_length i = 0; i < values.size(); ++i)
        a[i] = static_cast<typename In::scalar>(values[i]);
    op(a.view(), r.view());
    std::vector<typename Out::scalar> out(values.size());
    for (vsip_length i = 0; i < values.size(); ++i)
        out[i] = r[i];
    return out;
}

TEST(Reciprocal, SignedZerosGiveSignedInfinityInGroupsAndTails) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> values{0.0f, -0.0f, -0.0f, 0.0f, 0.0f, -0.0f}; // group + tail
    for (const int threads : thread_counts) {
        const thread_scope scope(threads);
        for (const vector_layout& layout : real_layouts) {
            const auto r =
                run_on<test_real_vector, test_real_vector>(values, layout, vsip_vrecip_f);
            EXPECT_EQ(r, (std::vector<float>{inf, -inf, -inf, inf, inf, -inf})) << layout.name;
        }
    }
}

TEST(Ceiling, HalvesIntegralsAndTheNextFloatInGroupsAndTails) {
    const float above_two = std::nextafter(2.0f, 3.0f);
    const std::vector<float> values{-2.5f, 2.0f, above_two, 0.5f, -2.5f, 2.0f, above_two};
    const std::vector<vsip_scalar_i> expected{-2, 2, 3, 1, -2, 2, 3};
    for (const int threads : thread_counts) {
        const thread_scope scope(threads);
        for (const vector_layout& layout : real_layouts)
            EXPECT_EQ((run_on<test_int_vector, test_real_vector>(values, layout, vsip_vceil_f_i)),
                      expected)
                << layout.name;
    }
}

TEST(Ceiling, MatchesStdCeilOverManyValues) {
    std::mt19937 gen(7);
    std::vector<float> values(100);
    for (float& x : values)
        x = std::round(random_float(gen, -50, 50) * 4) / 8; // many halves and integers
    for (const vector_layout& layout : real_layouts) {
        const auto got = run_on<test_int_vector, test_real_vector>(values, layout, vsip_vceil_f_i);
        for (std::size_t i = 0; i < values.size(); ++i)
            ASSERT_EQ(got[i], std::ceil(values[i])) << values[i];
    }
}

TEST(Maximum, NanWinsInGroupsAndLosesWhenInAInTails) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    test_real_vector a(dense_layout, 6), b(dense_layout, 6), r(dense_layout, 6);
    for (vsip_length i = 0; i < 6; ++i) {
        a[i] = nan;
        b[i] = 1.0f;
    }
    vsip_vmax_f(a.view(), b.view(), r.view());
    for (vsip_length i = 0; i < 4; ++i)
        EXPECT_TRUE(std::isnan(r[i])) << i;
    EXPECT_EQ(r[4], 1.0f);
    EXPECT_EQ(r[5], 1.0f);
    vsip_vmax_f(b.view(), a.view(), r.view()); // NaN in b: b[i] in the tail too
    EXPECT_TRUE(std::isnan(r[5]));
}

TEST(ScalarMultiply, ZeroFactorStoresZerosSeriallyEvenForNan) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> values(7, nan);
    const auto serial = run_on<test_real_vector, test_real_vector>(
        values, dense_layout, [](auto* b, auto* r) { vsip_svmul_f(0.0f, b, r); });
    EXPECT_EQ(serial, std::vector<float>(7, 0.0f));
    const thread_scope scope(3);
    const auto parallel = run_on<test_real_vector, test_real_vector>(
        values, strided_layout, [](auto* b, auto* r) { vsip_svmul_f(0.0f, b, r); });
    EXPECT_TRUE(std::isnan(parallel[0])); // with T != 1 the product is computed
}

TEST(Comparisons, StoreOneAndZero) {
    for (const int threads : thread_counts) {
        const thread_scope scope(threads);
        for (const vsip_length n : test_lengths)
            for (const vector_layout& layout : real_layouts) {
                test_real_vector a(layout, n), b(layout, n);
                test_bool_vector ge(layout, n), gt(layout, n), lt(layout, n);
                for (vsip_length i = 0; i < n; ++i) {
                    a[i] = float(i % 3);
                    b[i] = 1.0f;
                }
                vsip_vlge_f(a.view(), b.view(), ge.view());
                vsip_vlgt_f(a.view(), b.view(), gt.view());
                vsip_vllt_f(a.view(), b.view(), lt.view());
                for (vsip_length i = 0; i < n; ++i) {
                    ASSERT_EQ(ge[i], a[i] >= 1.0f ? 1 : 0);
                    ASSERT_EQ(gt[i], a[i] > 1.0f ? 1 : 0);
                    ASSERT_EQ(lt[i], a[i] < 1.0f ? 1 : 0);
                }
            }
    }
}

TEST(IntegerOperations, ComplementAndConversionAndLogicalAnd) {
    for (const int threads : thread_counts) {
        const thread_scope scope(threads);
        for (const vsip_length n : test_lengths)
            for (const vector_layout& layout : real_layouts) {
                test_int_vector a(layout, n), nots(layout, n);
                test_bool_vector p(layout, n), q(layout, n), both(layout, n);
                test_real_vector converted(layout, n);
                for (vsip_length i = 0; i < n; ++i) {
                    a[i] = (i % 2 ? -1 : 1) * ((1 << 24) + 1 + int(i)); // rounds to even
                    p[i] = int(i % 3) - 1;                              // -1, 0, 1
                    q[i] = int(i % 2) * 7;
                }
                vsip_vnot_i(a.view(), nots.view());
                vsip_vcopy_i_f(a.view(), converted.view());
                vsip_vand_bl(p.view(), q.view(), both.view());
                for (vsip_length i = 0; i < n; ++i) {
                    ASSERT_EQ(nots[i], ~a[i]);
                    ASSERT_EQ(converted[i], static_cast<float>(a[i]));
                    ASSERT_EQ(both[i], (p[i] != 0 && q[i] != 0) ? 1 : 0);
                }
            }
    }
}

TEST(Lengths, ShortestViewDecidesAndTheRestStaysUntouched) {
    test_real_vector a(dense_layout, 5), b(dense_layout, 7), r(dense_layout, 6);
    for (vsip_length i = 0; i < 7; ++i)
        b[i] = 1.0f;
    for (vsip_length i = 0; i < 5; ++i)
        a[i] = 2.0f;
    vsip_vmax_f(a.view(), b.view(), r.view());
    EXPECT_EQ(r[4], 2.0f);
    EXPECT_EQ(r[5], sentinel);
}

} // namespace
