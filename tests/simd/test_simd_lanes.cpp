// The float-lane extras (integer lanes, masks, conversions, estimates) of the native backend
// against the scalar reference, bit for bit except where the reference documents an
// approximation.
#include "simd/simd.hpp"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

namespace ref = qtx::simd::scalar;
namespace nat = qtx::simd;

using lanes4 = std::array<float, 4>;
using ints4 = std::array<std::int32_t, 4>;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Every backend vector is 16 trivially copyable bytes holding the lanes in order.
template <class V> V load4(const lanes4& a) {
    V v;
    std::memcpy(&v, a.data(), sizeof v);
    return v;
}
template <class V> lanes4 out4(V v) {
    lanes4 a;
    storeu(a.data(), v);
    return a;
}
template <class I> ints4 outi(I v) {
    ints4 a;
    store_i32(a.data(), v);
    return a;
}

// Operand quadruples: random values in several magnitudes plus the special values.
std::vector<lanes4> operand_sets() {
    const float specials[] = {0.0f, -0.0f, 1.0f, -1.0f, 2.5f,   -2.5f, 0.5f,          1e-40f,
                              kInf, -kInf, kNaN, 3e38f, -3e38f, 1e30f, 2147483520.0f, -7.0f};
    std::vector<lanes4> sets;
    for (int i = 0; i < 16; i += 4)
        sets.push_back({specials[i], specials[i + 1], specials[i + 2], specials[i + 3]});
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> mantissa(-1.0f, 1.0f);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int s = 0; s < 200; ++s) {
        lanes4 a;
        for (float& x : a)
            x = std::ldexp(mantissa(rng), exponent(rng));
        sets.push_back(a);
    }
    return sets;
}

bool same_bits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b) ||
           (std::isnan(a) && std::isnan(b));
}

// One exact operation written once for both backends: a float result and an integer result.
struct exact_case {
    const char* name;
    lanes4 (*ref_op)(const lanes4&, const lanes4&);
    lanes4 (*nat_op)(const lanes4&, const lanes4&);
};

#define QTX_EXACT_CASE(NAME, EXPR)                                                                 \
    exact_case {                                                                                   \
        NAME,                                                                                      \
            [](const lanes4& x, const lanes4& y) {                                                 \
                using namespace ref;                                                               \
                const f32x4 a = load4<f32x4>(x), b = load4<f32x4>(y);                              \
                (void)a, (void)b;                                                                  \
                return out4(EXPR);                                                                 \
            },                                                                                     \
            [](const lanes4& x, const lanes4& y) {                                                 \
                using namespace nat;                                                               \
                const f32x4 a = load4<f32x4>(x), b = load4<f32x4>(y);                              \
                (void)a, (void)b;                                                                  \
                return out4(EXPR);                                                                 \
            }                                                                                      \
    }

// Integer results are carried through from_bits so that one table holds every case.
const exact_case exact_cases[] = {
    QTX_EXACT_CASE("round_nearest_even", round_nearest_even(a)),
    QTX_EXACT_CASE("max_propagate_nan", max_propagate_nan(a, b)),
    QTX_EXACT_CASE("select_less", select(less(a, b), a, b)),
    QTX_EXACT_CASE("select_less_equal", select(less_equal(a, b), a, b)),
    QTX_EXACT_CASE("select_equal", select(equal(a, b), a, b)),
    QTX_EXACT_CASE("unordered", from_bits(unordered(a, b))),
    QTX_EXACT_CASE("less_unsigned", from_bits(less_unsigned(bits_of(a), bits_of(b)))),
    QTX_EXACT_CASE("equal_i32", from_bits(equal(bits_of(a), bits_of(b)))),
    QTX_EXACT_CASE("integer_arithmetic",
                   from_bits(add(sub(bits_of(a), set1_i32(0x3f2aaaab)), bits_of(b)))),
    QTX_EXACT_CASE(
        "shifts", from_bits(bit_xor(shift_left<23>(bits_of(a)), shift_right_arith<9>(bits_of(b))))),
    QTX_EXACT_CASE("bitwise",
                   from_bits(bit_or(bit_and(bits_of(a), bit_not(bits_of(b))), bits_of(b)))),
    QTX_EXACT_CASE("int_round_trip",
                   to_float(to_int_nearest(
                       select(unordered(a, a), set1(0.0f), min(max(a, set1(-1e9f)), set1(1e9f)))))),
    QTX_EXACT_CASE("interleave", add(interleave_low(a, b), mul(interleave_high(a, b), set1(3.0f)))),
    QTX_EXACT_CASE("deinterleave", sub(even_lanes(a, b), mul(odd_lanes(a, b), set1(5.0f)))),
    QTX_EXACT_CASE("reciprocal_step", reciprocal_step(a, b)),
    QTX_EXACT_CASE("rsqrt_step", rsqrt_step(a, b)),
};

// One case per operation, so that a failure names its operation.
void PrintTo(const exact_case& c, std::ostream* os) {
    *os << c.name;
}

class ExactOperation : public testing::TestWithParam<exact_case> {};

TEST_P(ExactOperation, MatchesTheReference) {
    const auto sets = operand_sets();
    const exact_case& c = GetParam();
    for (std::size_t s = 0; s + 1 < sets.size(); ++s) {
        const lanes4 want = c.ref_op(sets[s], sets[s + 1]);
        const lanes4 got = c.nat_op(sets[s], sets[s + 1]);
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(same_bits(got[i], want[i]))
                << c.name << " set " << s << " lane " << i << ": " << got[i] << " vs " << want[i];
    }
}

INSTANTIATE_TEST_SUITE_P(SimdLanes, ExactOperation, testing::ValuesIn(exact_cases),
                         [](const testing::TestParamInfo<exact_case>& info) {
                             return std::string(info.param.name);
                         });

TEST(SimdLanes, StepsKeepInfinityForZeroTimesInfinity) {
    using namespace nat;
    const f32x4 zeros = load4<f32x4>({0.0f, -0.0f, kInf, -kInf});
    const f32x4 infinities = load4<f32x4>({kInf, -kInf, 0.0f, -0.0f});
    EXPECT_EQ(out4(reciprocal_step(zeros, infinities)), (lanes4{2, 2, 2, 2}));
    EXPECT_EQ(out4(rsqrt_step(zeros, infinities)), (lanes4{1.5f, 1.5f, 1.5f, 1.5f}));
}

TEST(SimdLanes, RefinedEstimatesReachSinglePrecision) {
    using namespace nat;
    for (const lanes4& x : operand_sets()) {
        const f32x4 v = abs(load4<f32x4>(x));
        f32x4 r = reciprocal_estimate(v);
        r = mul(r, reciprocal_step(v, r));
        r = mul(r, reciprocal_step(v, r));
        f32x4 s = rsqrt_estimate(v);
        s = mul(s, rsqrt_step(mul(v, s), s));
        s = mul(s, rsqrt_step(mul(v, s), s));
        const lanes4 recip = out4(r), rsqrt = out4(s);
        for (int i = 0; i < 4; ++i) {
            const double a = std::fabs(double(x[i]));
            // Normal range only: the estimates flush subnormal inputs and results.
            if (!(a > 1e-37 && a < 1e37)) continue;
            EXPECT_NEAR(recip[i], 1.0 / a, 4e-7 / a) << x[i];
            EXPECT_NEAR(rsqrt[i], 1.0 / std::sqrt(a), 4e-7 / std::sqrt(a)) << x[i];
        }
    }
    const lanes4 at_zero = out4(reciprocal_estimate(load4<f32x4>({0.0f, -0.0f, kInf, -kInf})));
    EXPECT_EQ(at_zero, (lanes4{kInf, -kInf, 0.0f, -0.0f}));
}

TEST(SimdLanes, StridedAccessAndMaskReductions) {
    using namespace nat;
    float data[16];
    for (int i = 0; i < 16; ++i)
        data[i] = float(i);
    EXPECT_EQ(out4(load_strided(data + 1, 4)), (lanes4{1, 5, 9, 13}));
    EXPECT_EQ(out4(load_strided(data + 15, -4)), (lanes4{15, 11, 7, 3}));
    store_strided(data + 2, 3, set1(-1.0f));
    EXPECT_EQ(data[2] + data[5] + data[8] + data[11], -4.0f);
    EXPECT_EQ(data[3], 3.0f);
    const f32x4 v = load4<f32x4>({1, 2, 3, 4});
    EXPECT_TRUE(any(less(v, set1(2.0f))));
    EXPECT_FALSE(all(less(v, set1(2.0f))));
    EXPECT_TRUE(all(less(v, set1(5.0f))));
    EXPECT_FALSE(any(less(v, set1(1.0f))));
    EXPECT_EQ(outi(to_int_nearest(load4<f32x4>({2.5f, 3.5f, -2.5f, -0.5f}))), (ints4{2, 4, -2, 0}));
}

} // namespace
