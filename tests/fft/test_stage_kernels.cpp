// The stage kernels against the stage formula evaluated in long double: every table row, radix
// and direction, the generic kernels, in-place first stages, and the elements a stage must not
// touch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/case_names.hpp"
#include "fft/kernel_set.hpp"

using namespace qtx::QTX_ENGINE;
using qtx::test::named_by;

namespace {

using cval = std::complex<real>;
using cld = std::complex<long double>;

constexpr uint64_t dedicated_radices[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 16, 32};
// Odd and even radices of the generic kernel, and radix 1 (the length-1 transform).
constexpr uint64_t generic_radices[] = {1, 2, 11, 13, 14, 17};

// Relative rms error bound: a few roundings per radix-2 level of the butterfly plus one for the
// twiddle product, 3·ε·(1 + log2 r). A constant or twiddle rounded to single precision in the
// double-precision build exceeds it by orders of magnitude.
double error_bound(uint64_t r) {
    return 3.0 * std::numeric_limits<real>::epsilon() * (1.0 + std::log2(double(r)));
}

enum class position { first, middle, last };

struct row_kind {
    stage_row row;
    position where;
    bool pair;
};

constexpr row_kind all_rows[] = {
    {stage_row::first_pair, position::first, true},
    {stage_row::first_unit, position::first, false},
    {stage_row::first_strided, position::first, false},
    {stage_row::middle_pair, position::middle, true},
    {stage_row::middle, position::middle, false},
    {stage_row::last_pair, position::last, true},
    {stage_row::last_unit, position::last, false},
    {stage_row::last_strided, position::last, false},
};

bool has_pair_rows() {
    return !is_double;
}

struct geometry {
    uint64_t r, m, P;
    int64_t is, os; // element strides
    bool pair, twiddled, paired_twiddles;
    int64_t sign;
};

std::string describe(const geometry& g) {
    return "r=" + std::to_string(g.r) + " m=" + std::to_string(g.m) + " P=" + std::to_string(g.P) +
           " is=" + std::to_string(g.is) + " os=" + std::to_string(g.os) +
           " sign=" + std::to_string(g.sign) + (g.pair ? " pair" : "") +
           (g.paired_twiddles ? " paired-twiddles" : "");
}

// Record shapes of a row: odd and even column and row counts, and the strides its layout allows.
std::vector<geometry> shapes_of(const row_kind& kind, uint64_t r) {
    struct strides {
        int64_t is, os;
    };
    std::vector<strides> choices;
    std::vector<std::pair<uint64_t, uint64_t>> m_and_P;
    switch (kind.row) {
    case stage_row::first_unit:
        choices = {{1, 1}};
        break;
    case stage_row::first_strided:
        choices = {{1, 1}, {2, 3}, {3, 2}};
        break;
    case stage_row::first_pair:
        choices = {{2, 2}, {3, 4}};
        break;
    case stage_row::middle:
        choices = {{1, 1}};
        break;
    case stage_row::middle_pair:
        choices = {{2, 2}};
        break;
    case stage_row::last_unit:
        choices = {{1, 1}};
        break;
    case stage_row::last_strided:
        choices = {{1, 1}, {1, 3}};
        break;
    case stage_row::last_pair:
        choices = {{2, 2}, {2, 3}};
        break;
    }
    if (kind.where == position::first) m_and_P = {{1, 1}, {2, 1}, {3, 1}, {6, 1}, {7, 1}};
    if (kind.where == position::middle) m_and_P = {{2, 1}, {1, 2}, {3, 3}, {5, 4}};
    if (kind.where == position::last) m_and_P = {{1, 1}, {1, 2}, {1, 3}, {1, 6}, {1, 7}};
    std::vector<geometry> shapes;
    for (auto [m, P] : m_and_P)
        for (auto s : choices)
            shapes.push_back(
                {r, m, P, s.is, s.os, kind.pair, kind.where != position::first, false, -1});
    return shapes;
}

// Complex index of T(k, q) in the twiddle block: plain rows, or rows k, k+1 interleaved value by
// value with a plain last row when P is odd.
uint64_t twiddle_index(const geometry& g, uint64_t k, uint64_t q) {
    const uint64_t length = g.r - 1;
    const bool in_pair = g.paired_twiddles && (k % 2 == 1 || k + 1 < g.P);
    if (!in_pair) return k * length + q - 1;
    return (k - k % 2) * length + 2 * (q - 1) + k % 2;
}

constexpr size_t guard = 3; // elements before and after each array; also misaligns the data
const cval sentinel{real(-1234.5), real(678.25)};

size_t extent(const geometry& g, int64_t stride) {
    return (g.P * g.r * g.m - 1) * size_t(stride) + (g.pair ? 2 : 1) + 2 * guard;
}

size_t input_index(const geometry& g, uint64_t k, uint64_t q, uint64_t j, int s) {
    return guard + ((k * g.r + q) * g.m + j) * size_t(g.is) + size_t(s);
}
size_t output_index(const geometry& g, uint64_t k, uint64_t q, uint64_t j, int s) {
    return guard + ((q * g.P + k) * g.m + j) * size_t(g.os) + size_t(s);
}

cval random_value(std::mt19937& rng) {
    std::uniform_real_distribution<double> d(-1, 1);
    return {real(d(rng)), real(d(rng))};
}

cld widen(cval v) {
    return {v.real(), v.imag()};
}

// Runs kernel on a random stage of shape g (in place: source and target the same array) and
// checks the addressed outputs against the formula and every other element for being untouched.
void check_stage(const geometry& g, stage_kernel kernel, bool in_place, std::mt19937& rng) {
    SCOPED_TRACE(describe(g) + (in_place ? " in place" : ""));
    std::vector<cval> source(extent(g, g.is));
    for (cval& v : source)
        v = random_value(rng);
    // Row 0 holds ones, as the solver stores it; middle kernels skip its multiplications.
    std::vector<cld> T(g.P * g.r, 1);
    std::vector<cval> block(1 + g.P * (g.r - 1)); // one element ahead to misalign the block
    for (uint64_t k = 1; g.twiddled && k < g.P; ++k)
        for (uint64_t q = 1; q < g.r; ++q) {
            const cval t = random_value(rng);
            T[k * g.r + q] = widen(t);
            block[1 + twiddle_index(g, k, q)] = t;
        }
    for (uint64_t q = 1; g.twiddled && q < g.r; ++q)
        block[1 + twiddle_index(g, 0, q)] = 1;

    std::vector<cval> target = in_place ? source : std::vector<cval>(extent(g, g.os), sentinel);
    std::vector<cval> untouched = target;
    std::vector<cld> reference(target.size());
    std::vector<bool> addressed(target.size());
    // Plain products: the library's complex product checks for infinities and, with long
    // double in software on aarch64, would dominate the runtime under emulation.
    const auto times = [](cld a, cld b) {
        return cld(a.real() * b.real() - a.imag() * b.imag(),
                   a.real() * b.imag() + a.imag() * b.real());
    };
    std::vector<cld> roots(g.r);
    for (uint64_t t = 0; t < g.r; ++t)
        roots[t] = std::polar(1.0L, 2 * std::numbers::pi_v<long double> * g.sign * t / g.r);
    std::vector<cld> inputs(g.r);
    for (int s = 0; s < (g.pair ? 2 : 1); ++s)
        for (uint64_t k = 0; k < g.P; ++k)
            for (uint64_t j = 0; j < g.m; ++j) {
                for (uint64_t p = 0; p < g.r; ++p)
                    inputs[p] = times(widen(source[input_index(g, k, p, j, s)]), T[k * g.r + p]);
                for (uint64_t q = 0; q < g.r; ++q) {
                    cld sum = 0;
                    for (uint64_t p = 0; p < g.r; ++p)
                        sum += times(inputs[p], roots[q * p % g.r]);
                    reference[output_index(g, k, q, j, s)] = sum;
                    addressed[output_index(g, k, q, j, s)] = true;
                }
            }

    const stage_record record{
        kernel, g.m,   g.P,
        g.is,   g.os,  g.twiddled ? reinterpret_cast<const real*>(block.data() + 1) : nullptr,
        g.r,    g.sign};
    kernel(&record, (in_place ? target : source).data() + guard, target.data() + guard);

    long double error = 0, norm = 0;
    size_t changed = 0;
    for (size_t i = 0; i < target.size(); ++i) {
        if (addressed[i]) {
            error += std::norm(widen(target[i]) - reference[i]);
            norm += std::norm(reference[i]);
        } else if (std::memcmp(&target[i], &untouched[i], sizeof(cval)) != 0) {
            ++changed;
        }
    }
    EXPECT_EQ(changed, 0u) << "elements outside the stage were written";
    EXPECT_LE(double(std::sqrt(error / norm)), error_bound(g.r));
}

// Every shape of every row in both directions, through `kernel_of(row, forward)`.
template <class KernelOf>
void check_all_rows(uint64_t r, bool dedicated, KernelOf kernel_of, std::mt19937& rng) {
    for (const row_kind& kind : all_rows) {
        if (kind.pair && !has_pair_rows()) continue;
        for (bool forward : {true, false}) {
            const stage_kernel kernel = kernel_of(kind, forward);
            ASSERT_NE(kernel, nullptr) << "row " << int(kind.row) << " r=" << r;
            for (geometry g : shapes_of(kind, r)) {
                g.sign = forward ? -1 : 1;
                g.paired_twiddles =
                    dedicated && kind.row == stage_row::last_unit && has_paired_last_twiddles(r);
                check_stage(g, kernel, false, rng);
                if (kind.where == position::first && g.is == g.os)
                    check_stage(g, kernel, true, rng);
            }
        }
    }
}

TEST(StageKernelTables, DedicatedRadicesFillTheirSlotsInEveryRow) {
    for (const row_kind& kind : all_rows)
        for (bool forward : {true, false}) {
            const stage_kernel_table* table = active_kernel_set().stage_kernels(kind.row, forward);
            if (kind.pair && !has_pair_rows()) {
                EXPECT_EQ(table, nullptr);
                continue;
            }
            ASSERT_NE(table, nullptr);
            for (uint64_t r = 1; r <= stage_kernel_slots; ++r) {
                const bool dedicated =
                    std::find(std::begin(dedicated_radices), std::end(dedicated_radices), r) !=
                    std::end(dedicated_radices);
                EXPECT_EQ(table->slot[r - 1] != nullptr, dedicated) << int(kind.row) << " " << r;
            }
        }
    EXPECT_NE(active_kernel_set().stage_kernels(stage_row::middle, true),
              active_kernel_set().stage_kernels(stage_row::middle, false));
    EXPECT_EQ(active_kernel_set().stage_kernels(static_cast<stage_row>(8), true), nullptr);
    EXPECT_EQ(active_kernel_set().stage_kernels(static_cast<stage_row>(-1), false), nullptr);
}

TEST(StageKernelTables, LastUnitStagesPairTwiddlesForDedicatedRadicesInSinglePrecision) {
    for (uint64_t r : dedicated_radices)
        EXPECT_EQ(has_paired_last_twiddles(r), !is_double) << r;
    for (uint64_t r : {0, 1, 11, 13, 14, 17, 31, 33, 64})
        EXPECT_FALSE(has_paired_last_twiddles(r));
}

// One case per radix, so that a failure names its radix.
class DedicatedStageKernel : public testing::TestWithParam<uint64_t> {};

TEST_P(DedicatedStageKernel, MatchesTheStageFormulaInEveryRowAndDirection) {
    const uint64_t r = GetParam();
    std::mt19937 rng(2024 + static_cast<unsigned>(r));
    check_all_rows(
        r, true,
        [r](const row_kind& kind, bool forward) {
            return active_kernel_set().stage_kernels(kind.row, forward)->slot[r - 1];
        },
        rng);
}

INSTANTIATE_TEST_SUITE_P(Each, DedicatedStageKernel, testing::ValuesIn(dedicated_radices),
                         named_by{"radix"});

class GenericStageKernelRadix : public testing::TestWithParam<uint64_t> {};

TEST_P(GenericStageKernelRadix, MatchesTheStageFormulaInEveryLayout) {
    std::mt19937 rng(7 + static_cast<unsigned>(GetParam()));
    check_all_rows(
        GetParam(), false,
        [](const row_kind& kind, bool) {
            return kind.pair ? active_kernel_set().generic_pair_stage_kernel
                             : active_kernel_set().generic_stage_kernel;
        },
        rng);
}

INSTANTIATE_TEST_SUITE_P(Each, GenericStageKernelRadix, testing::ValuesIn(generic_radices),
                         named_by{"radix"});

TEST(GenericStageKernel, LeavesTheTargetUnwrittenWhenItGetsNoScratch) {
    // Radices whose scratch size is zero or overflows: nothing may be read or written.
    for (uint64_t r : {uint64_t{0}, uint64_t{1} << 62, ~uint64_t{0}}) {
        std::vector<cval> source(4, cval(1, 2)), target(4, sentinel);
        const stage_record record{
            active_kernel_set().generic_stage_kernel, 1, 1, 1, 1, nullptr, r, -1};
        active_kernel_set().generic_stage_kernel(&record, source.data(), target.data());
        for (const cval& v : target)
            EXPECT_EQ(v, sentinel) << r;
    }
}

} // namespace
