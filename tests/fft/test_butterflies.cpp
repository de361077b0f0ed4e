// Checks every radix butterfly, both directions, on the native and the scalar SIMD backend in
// both precisions against a naive DFT evaluated in long double.
#include "fft/kernels/butterfly.hpp"
#include "simd/simd.hpp"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using long_complex = std::complex<long double>;
constexpr long double two_pi = 6.283185307179586476925286766559005768L;

// The radices with a butterfly; has_butterfly must agree.
using radices = std::integer_sequence<int, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 16, 32>;
static_assert(!qtx::kernels::has_butterfly<11> && !qtx::kernels::has_butterfly<64>);

template <class F, int... R> void for_each_radix(F&& f, std::integer_sequence<int, R...>) {
    static_assert((qtx::kernels::has_butterfly<R> && ...));
    (f(std::integral_constant<int, R>{}), ...);
}

// Complex values of every lane of R vectors: signal[lane][index].
template <class V> struct lanes_of {
    using real = typename V::value_type;
    static constexpr int count = qtx::simd::complex_lanes<real>;
    using signal = std::array<std::vector<std::complex<real>>, count>;
};

template <class V, int R> void pack(const typename lanes_of<V>::signal& s, V (&x)[R]) {
    for (int q = 0; q < R; ++q) {
        std::array<std::complex<typename V::value_type>, lanes_of<V>::count> lane;
        for (int c = 0; c < lanes_of<V>::count; ++c)
            lane[c] = s[c][q];
        x[q] = std::bit_cast<V>(lane);
    }
}

template <class V, int R> typename lanes_of<V>::signal unpack(const V (&x)[R]) {
    typename lanes_of<V>::signal s;
    for (int q = 0; q < R; ++q) {
        const auto lane =
            std::bit_cast<std::array<std::complex<typename V::value_type>, lanes_of<V>::count>>(
                x[q]);
        for (int c = 0; c < lanes_of<V>::count; ++c)
            s[c].push_back(lane[c]);
    }
    return s;
}

// Kept out of line so that each test body stays small to compile.
template <int R, bool Forward, class V>
[[gnu::noinline]] typename lanes_of<V>::signal
run_butterfly(const typename lanes_of<V>::signal& s) {
    V x[R];
    pack(s, x);
    qtx::kernels::butterfly<R, Forward>(x);
    return unpack(x);
}

template <class T>
std::vector<long_complex> naive_dft(const std::vector<std::complex<T>>& x, bool forward) {
    const int r = int(x.size());
    std::vector<long_complex> root(r), X(r);
    for (int j = 0; j < r; ++j)
        root[j] = std::polar(1.0L, (forward ? -two_pi : two_pi) * j / r);
    for (int q = 0; q < r; ++q)
        for (int p = 0; p < r; ++p)
            X[q] += long_complex(x[p]) * root[q * p % r];
    return X;
}

// ‖X - exact‖₂ / ‖exact‖₂.
template <class T>
long double relative_error(const std::vector<std::complex<T>>& X,
                           const std::vector<long_complex>& exact) {
    long double error = 0, norm = 0;
    for (std::size_t q = 0; q < X.size(); ++q) {
        error += std::norm(long_complex(X[q]) - exact[q]);
        norm += std::norm(exact[q]);
    }
    return std::sqrt(error / norm);
}

template <class V> class Butterfly : public ::testing::Test {};

using vector_types = ::testing::Types<qtx::simd::vec<float>, qtx::simd::vec<double>,
                                      qtx::simd::scalar::f32x4, qtx::simd::scalar::f64x2>;
struct vector_name {
    template <class V> static std::string GetName(int) {
        const bool scalar = std::is_same_v<V, qtx::simd::scalar::vec<typename V::value_type>>;
        return std::string(scalar ? "scalar_" : "native_") +
               (std::is_same_v<typename V::value_type, float> ? "f32" : "f64");
    }
};
TYPED_TEST_SUITE(Butterfly, vector_types, vector_name);

// Rounding errors of a radix-R butterfly grow like log2(R) (a composite adds one pass of
// roundings per factor); the worst of 2000 random trials per case was 0.7·ε·log2(R).
template <class T> long double error_bound(int r) {
    return 2 * std::numeric_limits<T>::epsilon() * std::log2(static_cast<long double>(r));
}

template <class V, int R> void expect_close_to_naive_dft(std::mt19937& random) {
    using real = typename V::value_type;
    std::uniform_real_distribution<real> value(-1, 1);
    constexpr int trials = 50;
    for (int trial = 0; trial < trials; ++trial) {
        typename lanes_of<V>::signal x;
        for (auto& lane : x)
            for (int q = 0; q < R; ++q)
                lane.emplace_back(value(random), value(random));
        const auto forward = run_butterfly<R, true, V>(x);
        const auto backward = run_butterfly<R, false, V>(x);
        for (int c = 0; c < lanes_of<V>::count; ++c) {
            SCOPED_TRACE("radix " + std::to_string(R) + ", lane " + std::to_string(c));
            EXPECT_LE(relative_error(forward[c], naive_dft(x[c], true)), error_bound<real>(R));
            EXPECT_LE(relative_error(backward[c], naive_dft(x[c], false)), error_bound<real>(R));
        }
    }
}

TYPED_TEST(Butterfly, MatchesNaiveDftOnRandomLanes) {
    std::mt19937 random(2024);
    for_each_radix([&](auto radix) { expect_close_to_naive_dft<TypeParam, radix>(random); },
                   radices{});
}

TYPED_TEST(Butterfly, Radix10SpecialSignals) {
    using V = TypeParam;
    using real = typename V::value_type;
    using complex = std::complex<real>;
    const real tolerance = 2 * 10 * std::numeric_limits<real>::epsilon(); // 2ε of the peak 10

    typename lanes_of<V>::signal impulse, wave;
    for (int c = 0; c < lanes_of<V>::count; ++c)
        for (int t = 0; t < 10; ++t) {
            impulse[c].push_back(t == 0 ? 1 : 0);
            wave[c].push_back(complex(std::polar(1.0L, two_pi * t / 10)));
        }

    // Only the constant-free paths carry a unit impulse, so the ones are exact.
    for (const auto& transform :
         {run_butterfly<10, true, V>(impulse), run_butterfly<10, false, V>(impulse)})
        for (const auto& lane : transform)
            for (const complex X : lane)
                EXPECT_EQ(X, complex(1));

    // exp(2πi·t/10) is frequency 1 of the forward transform and frequency 9 of the backward.
    const auto forward = run_butterfly<10, true, V>(wave);
    const auto backward = run_butterfly<10, false, V>(wave);
    for (int c = 0; c < lanes_of<V>::count; ++c)
        for (int q = 0; q < 10; ++q) {
            EXPECT_LE(std::abs(forward[c][q] - complex(q == 1 ? 10 : 0)), tolerance) << q;
            EXPECT_LE(std::abs(backward[c][q] - complex(q == 9 ? 10 : 0)), tolerance) << q;
        }
}

} // namespace
