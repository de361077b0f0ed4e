// The transcendental functions' special values, their maths-library lanes, and the agreement of
// every execution path (dense and strided views, one and three threads).
#include "views.hpp"
#include "vsip/transcendental/kernels.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <math.h>
#include <random>

namespace {

using qvsip::test::bits;
using qvsip::test::complex_float;
using qvsip::test::sentinel;
using qvsip::test::storage_kind;
using qvsip::test::test_complex_vector;
using qvsip::test::test_real_vector;
namespace kernels = qvsip::transcendental;

constexpr float pi = 3.14159265358979f;
constexpr float positive_infinity = std::numeric_limits<float>::infinity();
constexpr float not_a_number = std::numeric_limits<float>::quiet_NaN();
constexpr float past_trig_range = 3.0e6f;

using real_function = void (*)(const vsip_vview_f*, const vsip_vview_f*);

class WithThreads : public ::testing::Test {
  protected:
    void TearDown() override { QVSIP_SetOmpThreadNum(1); }
};

std::vector<float> apply(real_function f, const std::vector<float>& x, vsip_stride stride = 1) {
    const test_real_vector a(x, stride);
    const test_real_vector r(x.size(), stride);
    f(a.view(), r.view());
    EXPECT_EQ(r.beyond(), sentinel);
    return r.values();
}

template <class In, class Function>
std::vector<complex_float> apply_complex(Function f, const In& x, storage_kind storage,
                                         vsip_stride stride = 1) {
    const test_complex_vector r(x.size(), storage, stride);
    if constexpr (std::is_same_v<typename In::value_type, float>) {
        const test_real_vector a(x, stride);
        f(a.view(), r.view());
    } else {
        const test_complex_vector a(x, storage, stride);
        f(a.view(), r.view());
    }
    EXPECT_EQ(r.beyond(), complex_float(sentinel, sentinel));
    return r.values();
}

// The kernel's four lane results for the first four values.
template <class Kernel> std::array<float, 4> kernel_lanes(Kernel kernel, const float* x) {
    std::array<float, 4> r;
    qtx::simd::storeu(r.data(), kernel(qtx::simd::loadu(x)));
    return r;
}

// ---------------------------------------------------------------------------------------------
// Special values (each in a group of four, so the kernels compute them)

TEST(SineCosine, ZeroQuarterAndHalfTurns) {
    const std::vector<float> s = apply(vsip_vsin_f, {0.0f, pi / 2, -pi / 2, 1.0f});
    EXPECT_EQ(s[0], 0.0f);
    EXPECT_NEAR(s[1], 1.0f, 2e-4f);
    EXPECT_NEAR(s[2], -1.0f, 2e-4f);

    const std::vector<float> c = apply(vsip_vcos_f, {0.0f, pi, -pi, 1.0f});
    EXPECT_EQ(c[0], 1.0f);
    EXPECT_NEAR(c[1], -1.0f, 4 * std::numeric_limits<float>::epsilon());
    EXPECT_EQ(c[1], c[2]);
}

TEST(ComplexExp, ZeroOverflowAndTwoStepUnderflow) {
    const std::vector<complex_float> x = {{0, 0}, {100, 0}, {-100, 0}, {-87.5f, 0}};
    const std::vector<complex_float> r = apply_complex(vsip_cvexp_f, x, storage_kind::interleaved);
    EXPECT_EQ(r[0], complex_float(1, 0));
    EXPECT_EQ(r[1].real(), positive_infinity); // the imaginary part is infinity times sin(0): NaN
    // e^-100 = 3.72e-44 lies among the subnormals (steps of 1.4e-45).
    EXPECT_NEAR(r[2].real(), std::exp(-100.0), 2e-45);
    EXPECT_GT(r[2].real(), 0.0f);
    EXPECT_NEAR(r[3].real(), std::exp(-87.5), 4e-6 * std::exp(-87.5));
}

TEST(ComplexExp, InfinitiesAndNaNInTheRealPart) {
    const std::vector<complex_float> x = {
        {positive_infinity, 0}, {-positive_infinity, 1}, {not_a_number, 0}, {300, 0}};
    const std::vector<complex_float> r = apply_complex(vsip_cvexp_f, x, storage_kind::interleaved);
    EXPECT_EQ(r[0].real(), positive_infinity);
    EXPECT_EQ(r[1], complex_float(0, 0));
    EXPECT_TRUE(std::isnan(r[2].real()));
    EXPECT_EQ(r[3].real(), positive_infinity);
}

// Arguments whose mantissa lies near 1, where the polynomial is at its most accurate.
TEST(Log10, PowersOfTenAndTwo) {
    const std::vector<float> r = apply(vsip_vlog10_f, {1000.0f, 1.0f, 0.001f, 2.0f});
    constexpr float ulp = std::numeric_limits<float>::epsilon();
    EXPECT_NEAR(r[0], 3.0f, 2 * ulp * 2);
    EXPECT_EQ(r[1], 0.0f);
    EXPECT_NEAR(r[2], -3.0f, 2 * ulp * 2);
    EXPECT_NEAR(r[3], 0.30103f, 2 * ulp / 4);
}

TEST(Sqrt, GroupWithAnElementOutOfRangeTakesSqrtfForAllFour) {
    for (const std::vector<float>& x :
         {std::vector<float>{4, 9, 0, 16}, std::vector<float>{2, 3, 5, -1},
          std::vector<float>{2, 3, 1e-40f, 7}, std::vector<float>{2, 3, 7, positive_infinity},
          std::vector<float>{2, 3, 0x1p126f, 7}}) {
        const std::vector<float> r = apply(vsip_vsqrt_f, x);
        for (std::size_t i = 0; i < x.size(); ++i)
            EXPECT_EQ(bits(r[i]), bits(::sqrtf(x[i]))) << x[i];
    }
}

TEST(Sqrt, GroupInRangeTakesTheEstimate) {
    const std::vector<float> r = apply(vsip_vsqrt_f, {4, 9, 25, 16});
    const std::vector<float> expected = {2, 3, 5, 4};
    for (std::size_t i = 0; i < r.size(); ++i)
        EXPECT_NEAR(r[i], expected[i], 4 * std::numeric_limits<float>::epsilon() * expected[i]);
    // The ends of the range are inside it.
    const std::vector<float> ends = apply(vsip_vsqrt_f, {0x1p-126f, 0x1.fffffep125f, 1, 1});
    EXPECT_NEAR(ends[0], 0x1p-63f, 0x1p-83f);
    EXPECT_NEAR(ends[1], std::sqrt(0x1.fffffep125), 0x1p43);
}

// ---------------------------------------------------------------------------------------------
// Lanes outside a kernel's range come from the maths library, bit for bit; the others of their
// group stay the kernel's.

struct trig_case {
    const char* name;
    real_function function;
    float (*library)(float);
    qtx::simd::f32x4 (*kernel)(qtx::simd::f32x4);
};

const trig_case trig_cases[] = {
    {"sin", vsip_vsin_f, ::sinf, [](qtx::simd::f32x4 x) { return kernels::sine_lanes(x).value; }},
    {"cos", vsip_vcos_f, ::cosf, [](qtx::simd::f32x4 x) { return kernels::cosine_lanes(x).value; }},
};

const std::vector<float> groups_with_special_lanes = {
    0.5f,
    past_trig_range,
    -2.0f,
    1.0f, // one lane above 2^20
    positive_infinity,
    0.25f,
    -positive_infinity,
    not_a_number, // not finite
    1048576.0f,
    -1048577.0f,
    7.0f,
    -7.0f, // just inside and just outside
};

bool is_special(float x) {
    return !(std::fabs(x) <= 1048576.0f);
}

TEST(TrigFallback, SpecialLanesEqualTheLibraryOthersTheKernel) {
    const std::vector<float>& x = groups_with_special_lanes;
    for (const trig_case& c : trig_cases) {
        const std::vector<float> r = apply(c.function, x);
        for (std::size_t g = 0; g < x.size(); g += 4) {
            const std::array<float, 4> kernel = kernel_lanes(c.kernel, &x[g]);
            for (std::size_t i = 0; i < 4; ++i) {
                const float expected = is_special(x[g + i]) ? c.library(x[g + i]) : kernel[i];
                EXPECT_EQ(bits(r[g + i]), bits(expected)) << c.name << "(" << x[g + i] << ")";
            }
        }
    }
    EXPECT_EQ(apply(vsip_vsin_f, {past_trig_range, 0, 0, 0})[0], ::sinf(past_trig_range));
}

TEST(TrigFallback, EulerTakesSincosfAndExpTakesCosfSinf) {
    const std::vector<float>& y = groups_with_special_lanes;
    const std::vector<complex_float> euler =
        apply_complex(vsip_veuler_f, y, storage_kind::interleaved);
    std::vector<float> exp_re;
    std::vector<complex_float> exp_in;
    for (std::size_t i = 0; i < y.size(); ++i) {
        exp_re.push_back(static_cast<float>(i % 4) - 1.5f);
        exp_in.push_back({exp_re.back(), y[i]});
    }
    const std::vector<complex_float> exp =
        apply_complex(vsip_cvexp_f, exp_in, storage_kind::interleaved);

    for (std::size_t g = 0; g < y.size(); g += 4) {
        const kernels::euler_lane_results k = kernels::euler_lanes(qtx::simd::loadu(&y[g]));
        std::array<float, 4> kc, ks;
        qtx::simd::storeu(kc.data(), k.value.re);
        qtx::simd::storeu(ks.data(), k.value.im);
        const std::array<float, 4> ec = kernel_lanes(trig_cases[1].kernel, &y[g]);
        const std::array<float, 4> es = kernel_lanes(trig_cases[0].kernel, &y[g]);
        const std::array<float, 4> magnitude = kernel_lanes(kernels::exp_lanes, &exp_re[g]);
        for (std::size_t i = 0; i < 4; ++i) {
            const float v = y[g + i];
            float s = ks[i], c = kc[i];
            if (is_special(v)) ::sincosf(v, &s, &c);
            EXPECT_EQ(bits(euler[g + i].real()), bits(c)) << v;
            EXPECT_EQ(bits(euler[g + i].imag()), bits(s)) << v;

            const float ce = is_special(v) ? ::cosf(v) : ec[i];
            const float se = is_special(v) ? ::sinf(v) : es[i];
            EXPECT_EQ(bits(exp[g + i].real()), bits(magnitude[i] * ce)) << v;
            EXPECT_EQ(bits(exp[g + i].imag()), bits(magnitude[i] * se)) << v;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Execution paths: dense and strided views, serial and three threads, give the same bits; the
// last n mod 4 elements come from the maths library.

// Lengths with whole 16-element units, a 4-element group after them, and a tail of 3.
constexpr std::size_t path_length = 16 * 5 + 4 + 3;

std::vector<float> sample(float low, float high, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> uniform(low, high);
    std::vector<float> x(path_length);
    for (float& v : x)
        v = uniform(random);
    return x;
}

struct real_path_case {
    const char* name;
    real_function function;
    float (*library)(float);
    std::vector<float> input;
};

std::vector<real_path_case> real_path_cases() {
    std::vector<float> trig = sample(-100, 100, 1);
    trig[21] = past_trig_range; // a fallback lane inside region 1 and one in the 4-group
    trig[81] = -positive_infinity;
    std::vector<float> positive = sample(1e-3f, 1e3f, 2);
    std::vector<float> roots = positive;
    roots[37] = 0;
    return {{"sin", vsip_vsin_f, ::sinf, trig},
            {"cos", vsip_vcos_f, ::cosf, trig},
            {"log10", vsip_vlog10_f, ::log10f, positive},
            {"sqrt", vsip_vsqrt_f, ::sqrtf, roots}};
}

void expect_same_bits(const std::vector<float>& a, const std::vector<float>& b, const char* what) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        ASSERT_EQ(bits(a[i]), bits(b[i])) << what << " element " << i;
}

void expect_same_bits(const std::vector<complex_float>& a, const std::vector<complex_float>& b,
                      const char* what) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(bits(a[i].real()), bits(b[i].real())) << what << " element " << i;
        ASSERT_EQ(bits(a[i].imag()), bits(b[i].imag())) << what << " element " << i;
    }
}

TEST_F(WithThreads, RealFunctionsAgreeOnEveryPath) {
    for (const real_path_case& c : real_path_cases()) {
        QVSIP_SetOmpThreadNum(1);
        const std::vector<float> reference = apply(c.function, c.input);
        for (std::size_t i = path_length - path_length % 4; i < path_length; ++i)
            EXPECT_EQ(bits(reference[i]), bits(c.library(c.input[i]))) << c.name;
        expect_same_bits(apply(c.function, c.input, 3), reference, c.name);
        QVSIP_SetOmpThreadNum(3);
        expect_same_bits(apply(c.function, c.input), reference, c.name);
        expect_same_bits(apply(c.function, c.input, 3), reference, c.name);
    }
}

template <class In, class Function>
void expect_complex_paths_agree(Function f, const In& x, const std::vector<complex_float>& tail,
                                const char* name) {
    QVSIP_SetOmpThreadNum(1);
    const std::vector<complex_float> reference = apply_complex(f, x, storage_kind::interleaved);
    for (std::size_t i = 0; i < tail.size(); ++i)
        expect_same_bits({reference[path_length - tail.size() + i]}, {tail[i]}, name);
    for (int threads : {1, 3}) {
        QVSIP_SetOmpThreadNum(threads);
        expect_same_bits(apply_complex(f, x, storage_kind::interleaved), reference, name);
        expect_same_bits(apply_complex(f, x, storage_kind::interleaved, 3), reference, name);
        expect_same_bits(apply_complex(f, x, storage_kind::split), reference, name);
        expect_same_bits(apply_complex(f, x, storage_kind::split, 2), reference, name);
    }
}

TEST_F(WithThreads, EulerAndExpAgreeOnEveryPath) {
    std::vector<float> angles = sample(-100, 100, 3);
    angles[50] = past_trig_range;
    const std::vector<float> magnitudes = sample(-90, 90, 4);
    std::vector<complex_float> z;
    for (std::size_t i = 0; i < path_length; ++i)
        z.push_back({magnitudes[i], angles[i]});

    std::vector<complex_float> euler_tail, exp_tail;
    for (std::size_t i = path_length - path_length % 4; i < path_length; ++i) {
        float s, c;
        ::sincosf(angles[i], &s, &c);
        euler_tail.push_back({c, s});
        const float e = ::expf(magnitudes[i]);
        exp_tail.push_back({e * ::cosf(angles[i]), e * ::sinf(angles[i])});
    }
    expect_complex_paths_agree(vsip_veuler_f, angles, euler_tail, "euler");
    expect_complex_paths_agree(vsip_cvexp_f, z, exp_tail, "exp");
}

TEST(InPlace, OutputOverTheInputGivesTheOutOfPlaceValues) {
    const std::vector<float> x = sample(-10, 10, 5);
    const std::vector<float> expected = apply(vsip_vsin_f, x);
    const test_real_vector a(x);
    vsip_vsin_f(a.view(), a.view());
    expect_same_bits(a.values(), expected, "sin in place");
}

// ---------------------------------------------------------------------------------------------
// Arguments

TEST(Arguments, NullViewsAndEmptyViewsDoNothingShortestLengthWins) {
    const test_real_vector a({1, 2, 3, 4, 5});
    const test_real_vector r(3, 1);
    for (real_function f : {vsip_vsin_f, vsip_vcos_f, vsip_vlog10_f, vsip_vsqrt_f}) {
        f(nullptr, r.view());
        f(a.view(), nullptr);
        EXPECT_EQ(r.values(), std::vector<float>(3, sentinel));
    }
    vsip_veuler_f(nullptr, nullptr);
    vsip_cvexp_f(nullptr, nullptr);

    const test_real_vector empty(0, 1);
    vsip_vsqrt_f(empty.view(), r.view());
    EXPECT_EQ(r.values(), std::vector<float>(3, sentinel));

    vsip_vsqrt_f(a.view(), r.view());
    EXPECT_EQ(r.values()[2], ::sqrtf(3));
    EXPECT_EQ(r.beyond(), sentinel);
}

} // namespace
