// Checks every SIMD operation of the scalar backend and of the native backend compiled into this
// binary against plain lane-by-lane definitions.
#include "simd/simd.hpp"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using qtx::simd::complex_lanes;
using qtx::simd::lanes;

// Loads and broadcasts take no vector argument, so argument-dependent lookup cannot pick the
// backend for them; NS##_api forwards them from backend namespace NS.
#define QTX_FORWARD(NS, F)                                                                         \
    static auto F(auto... args) {                                                                  \
        return qtx::simd::NS::F(args...);                                                          \
    }
#define QTX_BACKEND_API(NS)                                                                        \
    struct NS##_api {                                                                              \
        static constexpr const char* name = qtx::simd::NS::backend_name;                           \
        template <class R> using vec = qtx::simd::NS::vec<R>;                                      \
        QTX_FORWARD(NS, load)                                                                      \
        QTX_FORWARD(NS, loadu)                                                                     \
        QTX_FORWARD(NS, load_complex_dup)                                                          \
        QTX_FORWARD(NS, load_complex_strided)                                                      \
        QTX_FORWARD(NS, load_low_complex)                                                          \
        QTX_FORWARD(NS, set1)                                                                      \
        QTX_FORWARD(NS, set_complex)                                                               \
        QTX_FORWARD(NS, prefetch_write)                                                            \
        QTX_FORWARD(NS, prefetch_write_stream)                                                     \
    };

QTX_BACKEND_API(scalar)
#if defined(QTX_SIMD_HAVE_NEON)
QTX_BACKEND_API(neon)
using native_api = neon_api;
#define QTX_TEST_NATIVE 1
#elif defined(QTX_SIMD_HAVE_SSE)
QTX_BACKEND_API(sse)
using native_api = sse_api;
#define QTX_TEST_NATIVE 1
#endif

template <class Api, class R> struct config {
    using api = Api;
    using real = R;
    using vec = typename Api::template vec<R>;
    using lanes_t = std::array<R, lanes<R>>;
    using complex_t = std::complex<R>;

    static vec from(const lanes_t& a) { return Api::loadu(a.data()); }
    static lanes_t to(vec v) {
        lanes_t a;
        storeu(a.data(), v);
        return a;
    }
};

struct config_name {
    template <class C> static std::string GetName(int) {
        return std::string(C::api::name) +
               (std::is_same_v<typename C::real, float> ? "_f32" : "_f64");
    }
};

template <class R>
using bits_t = std::conditional_t<sizeof(R) == sizeof(std::uint32_t), std::uint32_t, std::uint64_t>;

// Bit-for-bit equality, so signed zeros and rounding differences are not hidden.
template <class R, std::size_t N>
::testing::AssertionResult same_bits(const std::array<R, N>& got, const std::array<R, N>& want) {
    for (std::size_t i = 0; i < N; ++i)
        if (std::bit_cast<bits_t<R>>(got[i]) != std::bit_cast<bits_t<R>>(want[i]))
            return ::testing::AssertionFailure()
                   << "lane " << i << ": got " << got[i] << ", want " << want[i];
    return ::testing::AssertionSuccess();
}

// Applies a per-complex-value reference to interleaved lanes.
template <class C, class F, class... In> typename C::lanes_t per_complex(F f, const In&... in) {
    typename C::lanes_t out;
    for (int c = 0; c < complex_lanes<typename C::real>; ++c) {
        const auto z = f(typename C::complex_t(in[2 * c], in[2 * c + 1])...);
        out[2 * c] = z.real();
        out[2 * c + 1] = z.imag();
    }
    return out;
}

template <class C> class SimdTest : public ::testing::Test {
  protected:
    static constexpr int samples = 256;
    std::mt19937 rng{20240611};

    typename C::lanes_t random_lanes() {
        std::uniform_real_distribution<typename C::real> dist(-4, 4);
        typename C::lanes_t a;
        for (auto& x : a)
            x = dist(rng);
        return a;
    }
};

#if defined(QTX_TEST_NATIVE)
using configs = ::testing::Types<config<scalar_api, float>, config<scalar_api, double>,
                                 config<native_api, float>, config<native_api, double>>;
#else
using configs = ::testing::Types<config<scalar_api, float>, config<scalar_api, double>>;
#endif
TYPED_TEST_SUITE(SimdTest, configs, config_name);

TYPED_TEST(SimdTest, LaneWiseOpsMatchReferenceBitForBit) {
    using C = TypeParam;
    using R = typename C::real;
    using V = typename C::vec;
    // Unary and binary operations ignore the trailing operands.
    struct lane_case {
        const char* name;
        V (*op)(V, V, V);
        R (*ref)(R, R, R);
    };
    const lane_case cases[] = {
        {"neg", [](V a, V, V) { return neg(a); }, [](R x, R, R) { return -x; }},
        {"abs", [](V a, V, V) { return abs(a); }, [](R x, R, R) { return std::fabs(x); }},
        {"sqrt", [](V a, V, V) { return sqrt(abs(a)); },
         [](R x, R, R) { return std::sqrt(std::fabs(x)); }},
        {"add", [](V a, V b, V) { return add(a, b); }, [](R x, R y, R) { return x + y; }},
        {"sub", [](V a, V b, V) { return sub(a, b); }, [](R x, R y, R) { return x - y; }},
        {"mul", [](V a, V b, V) { return mul(a, b); }, [](R x, R y, R) { return x * y; }},
        {"div", [](V a, V b, V) { return div(a, b); }, [](R x, R y, R) { return x / y; }},
        {"min", [](V a, V b, V) { return min(a, b); }, [](R x, R y, R) { return std::fmin(x, y); }},
        {"max", [](V a, V b, V) { return max(a, b); }, [](R x, R y, R) { return std::fmax(x, y); }},
        {"fma", [](V a, V b, V c) { return fma(a, b, c); },
         [](R x, R y, R z) { return std::fma(x, y, z); }},
        {"fms", [](V a, V b, V c) { return fms(a, b, c); },
         [](R x, R y, R z) { return std::fma(x, y, -z); }},
        {"fnma", [](V a, V b, V c) { return fnma(a, b, c); },
         [](R x, R y, R z) { return std::fma(-x, y, z); }},
    };
    for (int s = 0; s < this->samples; ++s) {
        const auto a = this->random_lanes(), b = this->random_lanes(), c = this->random_lanes();
        for (const auto& t : cases) {
            typename C::lanes_t want;
            for (int i = 0; i < lanes<R>; ++i)
                want[i] = t.ref(a[i], b[i], c[i]);
            ASSERT_TRUE(same_bits(C::to(t.op(C::from(a), C::from(b), C::from(c))), want)) << t.name;
        }
    }
}

// (1 + h)(1 - h) = 1 - h² with h² below half an ulp of 1: only a fused operation keeps the h².
TYPED_TEST(SimdTest, FusedOpsRoundOnce) {
    using C = TypeParam;
    using R = typename C::real;
    const R h = std::ldexp(R(1), -(std::numeric_limits<R>::digits / 2 + 1));
    const auto a = C::api::set1(1 + h), b = C::api::set1(1 - h), one = C::api::set1(R(1));
    const auto expect_all = [](auto v, R want) {
        typename C::lanes_t all;
        all.fill(want);
        return same_bits(C::to(v), all);
    };
    EXPECT_TRUE(expect_all(fma(a, b, neg(one)), -h * h)) << "fma";
    EXPECT_TRUE(expect_all(fms(a, b, one), -h * h)) << "fms";
    EXPECT_TRUE(expect_all(fnma(a, b, one), h * h)) << "fnma";
}

TYPED_TEST(SimdTest, BroadcastsFillEveryLane) {
    using C = TypeParam;
    using R = typename C::real;
    const R re = R(1.5), im = R(-2.25), pair[] = {re, im};
    typename C::lanes_t reals, complexes, zeros{};
    reals.fill(re);
    for (int i = 0; i < lanes<R>; ++i)
        complexes[i] = i % 2 ? im : re;
    EXPECT_TRUE(same_bits(C::to(C::api::set1(re)), reals));
    EXPECT_TRUE(same_bits(C::to(C::api::set_complex(re, im)), complexes));
    EXPECT_TRUE(same_bits(C::to(C::api::load_complex_dup(pair)), complexes));
    EXPECT_TRUE(same_bits(C::to(qtx::simd::zero<typename C::vec>()), zeros));
}

TYPED_TEST(SimdTest, ComplexPermutesAndRotationsAreExact) {
    using C = TypeParam;
    using V = typename C::vec;
    using Z = typename C::complex_t;
    // Unary operations ignore the second operand.
    struct complex_case {
        const char* name;
        V (*op)(V, V);
        Z (*ref)(Z, Z);
    };
    const complex_case cases[] = {
        {"conj", [](V a, V) { return conj(a); }, [](Z z, Z) { return Z(z.real(), -z.imag()); }},
        {"mul_i", [](V a, V) { return mul_i(a); }, [](Z z, Z) { return Z(-z.imag(), z.real()); }},
        {"mul_neg_i", [](V a, V) { return mul_neg_i(a); },
         [](Z z, Z) { return Z(z.imag(), -z.real()); }},
        {"swap_re_im", [](V a, V) { return swap_re_im(a); },
         [](Z z, Z) { return Z(z.imag(), z.real()); }},
        {"dup_re", [](V a, V) { return dup_re(a); }, [](Z z, Z) { return Z(z.real(), z.real()); }},
        {"dup_im", [](V a, V) { return dup_im(a); }, [](Z z, Z) { return Z(z.imag(), z.imag()); }},
        {"add_i", [](V a, V b) { return add_i(a, b); },
         [](Z x, Z y) { return Z(x.real() - y.imag(), x.imag() + y.real()); }},
        {"sub_i", [](V a, V b) { return sub_i(a, b); },
         [](Z x, Z y) { return Z(x.real() + y.imag(), x.imag() - y.real()); }},
    };
    for (int s = 0; s < this->samples; ++s) {
        const auto a = this->random_lanes(), b = this->random_lanes();
        for (const auto& t : cases)
            ASSERT_TRUE(same_bits(C::to(t.op(C::from(a), C::from(b))), per_complex<C>(t.ref, a, b)))
                << t.name;
    }
}

// Fused forms round differently per backend, so the error is bounded against |acc| + |a|·|b|.
TYPED_TEST(SimdTest, ComplexMultipliesAreAccurate) {
    using C = TypeParam;
    using R = typename C::real;
    using V = typename C::vec;
    using L = std::complex<long double>;
    struct complex_case {
        const char* name;
        bool accumulates;
        V (*op)(V, V, V);
        L (*ref)(L, L, L);
    };
    const complex_case cases[] = {
        {"cmul", false, [](V, V a, V b) { return cmul(a, b); }, [](L, L a, L b) { return a * b; }},
        {"cmul_conj", false, [](V, V a, V b) { return cmul_conj(a, b); },
         [](L, L a, L b) { return a * std::conj(b); }},
        {"cmla", true, [](V acc, V a, V b) { return cmla(acc, a, b); },
         [](L acc, L a, L b) { return acc + a * b; }},
    };
    const long double ulps = 4 * std::numeric_limits<R>::epsilon();
    for (int s = 0; s < this->samples; ++s) {
        const auto acc = this->random_lanes(), a = this->random_lanes(), b = this->random_lanes();
        for (const auto& t : cases) {
            const auto got = C::to(t.op(C::from(acc), C::from(a), C::from(b)));
            for (int c = 0; c < complex_lanes<R>; ++c) {
                const L zacc(acc[2 * c], acc[2 * c + 1]), za(a[2 * c], a[2 * c + 1]),
                    zb(b[2 * c], b[2 * c + 1]);
                const long double scale =
                    std::abs(za) * std::abs(zb) + (t.accumulates ? std::abs(zacc) : 0);
                const L err = L(got[2 * c], got[2 * c + 1]) - t.ref(zacc, za, zb);
                ASSERT_LE(std::abs(err), ulps * scale) << t.name << " complex lane " << c;
            }
        }
    }
}

TYPED_TEST(SimdTest, ComplexPairShufflesPickWholeComplexLanes) {
    using C = TypeParam;
    using V = typename C::vec;
    if constexpr (complex_lanes<typename C::real> == 1) {
        GTEST_SKIP() << "a double vector holds a single complex value";
    } else {
        // Output lane i takes input lane picks[i] of the concatenation [a, b].
        struct shuffle_case {
            const char* name;
            V (*op)(V, V);
            std::array<int, 4> picks;
        };
        const shuffle_case cases[] = {
            {"unpack_lo_complex", [](V a, V b) { return unpack_lo_complex(a, b); }, {0, 1, 4, 5}},
            {"unpack_hi_complex", [](V a, V b) { return unpack_hi_complex(a, b); }, {2, 3, 6, 7}},
            {"swap_complex", [](V a, V) { return swap_complex(a); }, {2, 3, 0, 1}},
        };
        const auto a = this->random_lanes(), b = this->random_lanes();
        for (const auto& t : cases) {
            typename C::lanes_t want;
            for (int i = 0; i < 4; ++i)
                want[i] = t.picks[i] < 4 ? a[t.picks[i]] : b[t.picks[i] - 4];
            EXPECT_TRUE(same_bits(C::to(t.op(C::from(a), C::from(b))), want)) << t.name;
        }
    }
}

// Memory tests work on a buffer of distinct values and a destination pre-filled with a sentinel,
// so a load from the wrong place or a store that spills over shows up.
template <class R> struct memory_fixture {
    static constexpr R sentinel = R(-1000);
    std::vector<R> src, dst;
    explicit memory_fixture(std::size_t size) : src(size), dst(size, sentinel) {
        for (std::size_t i = 0; i < size; ++i)
            src[i] = R(i) + R(0.25);
    }
    // dst equals `want` at the listed positions and the sentinel everywhere else.
    ::testing::AssertionResult
    dst_holds(const std::vector<std::pair<std::ptrdiff_t, R>>& want) const {
        std::vector<R> expected(dst.size(), sentinel);
        for (const auto& [i, x] : want)
            expected[std::size_t(i)] = x;
        for (std::size_t i = 0; i < dst.size(); ++i)
            if (std::bit_cast<bits_t<R>>(dst[i]) != std::bit_cast<bits_t<R>>(expected[i]))
                return ::testing::AssertionFailure()
                       << "element " << i << ": " << dst[i] << ", want " << expected[i];
        return ::testing::AssertionSuccess();
    }
};

TYPED_TEST(SimdTest, AlignedAndUnalignedRoundTrips) {
    using C = TypeParam;
    using R = typename C::real;
    constexpr int n = lanes<R>;
    const auto copies_window = [](const memory_fixture<R>& m, int offset) {
        std::vector<std::pair<std::ptrdiff_t, R>> want;
        for (int i = offset; i < offset + n; ++i)
            want.emplace_back(i, m.src[i]);
        return m.dst_holds(want);
    };
    memory_fixture<R> aligned(3 * n); // operator new aligns to 16 bytes, so element n is aligned
    store(aligned.dst.data() + n, C::api::load(aligned.src.data() + n));
    EXPECT_TRUE(copies_window(aligned, n));
    for (int offset = 0; offset < n; ++offset) {
        memory_fixture<R> m(3 * n);
        C::api::prefetch_write(m.dst.data());
        C::api::prefetch_write_stream(m.dst.data() + n);
        storeu(m.dst.data() + offset, C::api::loadu(m.src.data() + offset));
        EXPECT_TRUE(copies_window(m, offset)) << "offset " << offset;
    }
}

TYPED_TEST(SimdTest, StridedComplexAccessHonoursEveryStride) {
    using C = TypeParam;
    using R = typename C::real;
    constexpr std::ptrdiff_t large = 1 << 13, base = large + 8;
    constexpr std::ptrdiff_t strides[] = {2, 3, 6, -2, -14, large, -large};
    for (const std::ptrdiff_t stride : strides) {
        memory_fixture<R> m(2 * base + 8);
        const auto v = C::api::load_complex_strided(m.src.data() + base, stride);
        store_complex_strided(m.dst.data() + base, stride, v);
        std::vector<std::pair<std::ptrdiff_t, R>> want;
        typename C::lanes_t loaded;
        for (int c = 0; c < complex_lanes<R>; ++c)
            for (int part = 0; part < 2; ++part) {
                const std::ptrdiff_t at = base + c * stride + part;
                loaded[2 * c + part] = m.src[at];
                want.emplace_back(at, m.src[at]);
            }
        EXPECT_TRUE(same_bits(C::to(v), loaded)) << "stride " << stride;
        EXPECT_TRUE(m.dst_holds(want)) << "stride " << stride;
    }
}

TYPED_TEST(SimdTest, HalfVectorAccessTouchesOneComplexValue) {
    using C = TypeParam;
    using R = typename C::real;
    memory_fixture<R> m(8);
    typename C::lanes_t low{};
    low[0] = m.src[1];
    low[1] = m.src[2];
    const auto v = C::api::load_low_complex(m.src.data() + 1);
    EXPECT_TRUE(same_bits(C::to(v), low));

    const auto w = C::from(this->random_lanes());
    const auto lane = C::to(w);
    store_low_complex(m.dst.data() + 1, w);
    if constexpr (complex_lanes<R> == 2) {
        store_high_complex(m.dst.data() + 5, w);
        EXPECT_TRUE(m.dst_holds({{1, lane[0]}, {2, lane[1]}, {5, lane[2]}, {6, lane[3]}}));
    } else {
        EXPECT_TRUE(m.dst_holds({{1, lane[0]}, {2, lane[1]}}));
    }
}

TEST(SimdSelection, DefaultBackendFollowsBuildFlags) {
#if defined(QTX_SIMD_SCALAR) || !defined(QTX_TEST_NATIVE)
    using expected = scalar_api;
#else
    using expected = native_api;
#endif
    EXPECT_STREQ(qtx::simd::backend_name, expected::name);
    static_assert(std::is_same_v<qtx::simd::vec<float>, expected::vec<float>>);
    static_assert(std::is_same_v<qtx::simd::vec<double>, expected::vec<double>>);

    // Kernels call the default backend unqualified.
    using namespace qtx::simd;
    float out[lanes<float>];
    storeu(out, cmla(set1(1.0f), set_complex(1.0f, 2.0f), set_complex(3.0f, 4.0f)));
    EXPECT_EQ(std::complex<float>(out[0], out[1]), std::complex<float>(-4.0f, 11.0f));
}

} // namespace
