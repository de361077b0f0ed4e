// The transposition and copy kernels against plain reference loops. Every destination starts
// filled with a marker so writes outside the named positions show up as differences.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "fft/kernels/transpose.hpp"

using namespace qtx::QTX_ENGINE;

namespace {

constexpr real marker = real(-0.5);
constexpr int64_t pad = 37; // reals after every array's last used position

// Values 1, 2, 3, ... : exact in both precisions and all distinct.
std::vector<real> numbered(size_t count) {
    std::vector<real> v(count);
    for (size_t i = 0; i < count; ++i)
        v[i] = real(i + 1);
    return v;
}

// Small integers, so complex products are exact whichever way the backend rounds.
std::vector<real> small_integers(size_t count, uint32_t seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> pick(-4, 4);
    std::vector<real> v(count);
    for (real& x : v)
        x = real(pick(generator));
    return v;
}

struct shape {
    uint64_t R, W;
};

// A kernel's unit: reals per unit and reals per stride step.
struct unit_layout {
    int64_t unit_reals;
    int64_t step_reals;
};

using transpose_kernel = void (*)(const void*, void*, uint64_t, uint64_t, int64_t, int64_t);

void expect_transposes(transpose_kernel kernel, unit_layout u, shape s, int64_t extra) {
    const int64_t steps_per_unit = u.unit_reals / u.step_reals;
    const int64_t ss = int64_t(s.W) * steps_per_unit + extra;
    const int64_t ds = int64_t(s.R) * steps_per_unit + extra + 1;
    const std::vector<real> source = numbered(size_t(int64_t(s.R) * ss * u.step_reals + pad));
    std::vector<real> got(size_t(int64_t(s.W) * ds * u.step_reals + pad), marker);
    std::vector<real> want = got;
    for (uint64_t r = 0; r < s.R; ++r)
        for (uint64_t c = 0; c < s.W; ++c)
            for (int64_t i = 0; i < u.unit_reals; ++i)
                want[(c * ds * u.step_reals) + r * u.unit_reals + i] =
                    source[(r * ss * u.step_reals) + c * u.unit_reals + i];
    kernel(source.data(), got.data(), s.R, s.W, ss, ds);
    EXPECT_EQ(got, want) << s.R << " x " << s.W << " extra " << extra;
}

// Base block, one row split (17 = 16 + 1), column splits (40 = 32 + 8), exact 16 × 16 tiles
// reached through the recursion, odd sizes, empty sides.
const shape recursive_shapes[] = {{16, 16}, {17, 5},  {5, 40},  {1, 1},    {0, 9},
                                  {9, 0},   {31, 47}, {64, 64}, {130, 3},  {3, 130},
                                  {33, 16}, {16, 33}, {48, 80}, {200, 200}};

TEST(RecursiveTransposition, ComplexValues) {
    for (const shape& s : recursive_shapes)
        for (int64_t extra : {0, 3})
            expect_transposes(transpose_cpx, {2, 2}, s, extra);
}

TEST(RecursiveTransposition, SixteenByteUnits) {
    for (const shape& s : recursive_shapes)
        for (int64_t extra : {0, 5})
            expect_transposes(transpose_pairs, {2 * pair_unit_complex, 2}, s, extra);
}

TEST(TiledTransposition, RealValuesInAndAroundWholeTiles) {
    const shape shapes[] = {{64, 16},  {128, 32}, {65, 17}, {71, 15}, {8, 16}, {7, 9},
                            {200, 48}, {63, 33},  {1, 100}, {100, 1}, {0, 4},  {136, 16}};
    for (const shape& s : shapes)
        for (int64_t extra : {0, 2})
            expect_transposes(transpose_fp, {1, 1}, s, extra);
}

using square_kernel = void (*)(void*, uint64_t, int64_t);

void expect_square_transposes(square_kernel kernel, int64_t element_reals) {
    // 8 is one diagonal tile, 13 a tile plus element exchanges, 24 has mirror tiles.
    for (uint64_t N : {0, 1, 7, 8, 9, 13, 16, 17, 24, 31, 40}) {
        for (int64_t extra : {0, 3}) {
            const int64_t S = int64_t(N) + extra;
            std::vector<real> got = numbered(size_t(int64_t(N) * S * element_reals + pad));
            std::vector<real> want = got;
            for (uint64_t r = 0; r < N; ++r)
                for (uint64_t c = 0; c < N; ++c)
                    for (int64_t i = 0; i < element_reals; ++i)
                        want[(c * S + r) * element_reals + i] =
                            got[(r * S + c) * element_reals + i];
            kernel(got.data(), N, S);
            EXPECT_EQ(got, want) << "N " << N << " stride " << S;
        }
    }
}

TEST(SquareTransposition, ComplexInPlace) {
    expect_square_transposes(transpose_square_cpx, 2);
}

TEST(SquareTransposition, RealInPlace) {
    expect_square_transposes(transpose_square_fp, 1);
}

// Complex position of element k of transform j in the batch buffer: groups of
// pair_unit_complex interleaved transforms, then an odd last transform contiguously.
uint64_t buffer_position(uint64_t j, uint64_t k, uint64_t n, uint64_t H) {
    const uint64_t g = pair_unit_complex, grouped = H - H % g;
    if (j >= grouped) return j * n + k;
    return (j / g) * g * n + k * g + j % g;
}

struct batch_case {
    uint64_t n, H;
    int64_t stride;
};

std::vector<batch_case> batch_cases() {
    std::vector<batch_case> cases;
    for (uint64_t H : {1, 2, 3, 4, 5, 7, 16, 17, 33})
        for (uint64_t n : {1, 2, 5, 16, 17, 40})
            for (int64_t extra : {0, 3})
                cases.push_back({n, H, int64_t(H) + extra});
    return cases;
}

void copy_complex(std::vector<real>& to, uint64_t at, const std::vector<real>& from, uint64_t f) {
    to[2 * at] = from[2 * f];
    to[2 * at + 1] = from[2 * f + 1];
}

TEST(BatchBuffer, GatherThenScatterOddAndEvenCounts) {
    for (const batch_case& b : batch_cases()) {
        const size_t strided = size_t(2 * b.n * b.stride + pad);
        const size_t packed = size_t(2 * b.n * b.H + pad);
        const std::vector<real> source = numbered(strided);
        std::vector<real> buffer(packed, marker), want_buffer = buffer;
        std::vector<real> back(strided, marker), want_back = back;
        for (uint64_t j = 0; j < b.H; ++j)
            for (uint64_t k = 0; k < b.n; ++k) {
                copy_complex(want_buffer, buffer_position(j, k, b.n, b.H), source,
                             k * b.stride + j);
                copy_complex(want_back, k * b.stride + j, source, k * b.stride + j);
            }
        gather_batch(source.data(), buffer.data(), b.n, b.H, b.stride);
        EXPECT_EQ(buffer, want_buffer) << "gather n " << b.n << " H " << b.H << " S " << b.stride;
        scatter_batch(buffer.data(), back.data(), b.n, b.H, b.stride);
        EXPECT_EQ(back, want_back) << "scatter n " << b.n << " H " << b.H << " S " << b.stride;
    }
}

void multiply_complex(std::vector<real>& to, uint64_t at, const std::vector<real>& x,
                      const std::vector<real>& t, uint64_t f) {
    const real xr = x[2 * f], xi = x[2 * f + 1], tr = t[2 * f], ti = t[2 * f + 1];
    to[2 * at] = xr * tr - xi * ti;
    to[2 * at + 1] = xr * ti + xi * tr;
}

TEST(RotatingTransposition, EachValueTimesItsFactorLandsTransposed) {
    for (const batch_case& b : batch_cases()) {
        const int64_t os = b.stride; // H or H + 3
        const size_t packed = size_t(2 * b.n * b.H);
        const std::vector<real> source = small_integers(packed, 3),
                                table = small_integers(packed, 4);
        std::vector<real> got(size_t(2 * int64_t(b.n) * os + pad), marker), want = got;
        for (uint64_t j = 0; j < b.H; ++j)
            for (uint64_t k = 0; k < b.n; ++k)
                multiply_complex(want, j + k * os, source, table, buffer_position(j, k, b.n, b.H));
        transpose_rotate_cpx(source.data(), got.data(), table.data(), b.H, b.n, os);
        EXPECT_EQ(got, want) << "n " << b.n << " H " << b.H << " os " << os;
    }
}

TEST(BlockCopy, EveryTailLength) {
    // 32-real steps, then one each of 16, 8, 4 and single reals.
    for (uint64_t count : {0, 1, 3, 4, 5, 7, 8, 15, 16, 17, 31, 32, 33, 60, 63, 64, 100, 1000}) {
        for (uint64_t B : {1, 2}) {
            const std::vector<real> source = numbered(size_t(count * B));
            std::vector<real> got(size_t(count * B + pad), marker), want = got;
            std::copy(source.begin(), source.end(), want.begin());
            copy_block_fp(source.data(), got.data(), count, B);
            EXPECT_EQ(got, want) << count << " x " << B;
        }
    }
}

} // namespace
