// Real-to-complex and complex-to-real transforms on every path against FFTW.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/case_names.hpp"
#include "common/engine_support.hpp"
#include "common/real_oracle.hpp"
#include "fft/solvers/r2c_1d.hpp"
#include "fft/solvers/r2c_direct.hpp"

using namespace qtx::QTX_ENGINE;
using namespace qtx::test;

namespace {

// Relative rms error allowed: kRealC · ε · log2(n), the bound of the complex transforms.
constexpr double kRealC = 2.0;

double real_bound(size_t n) {
    return transform_error_bound<real>(n, kRealC);
}

// One real transform's layout: element strides of the real and complex sides, and whether the
// two share one array.
struct real_layout {
    int real_stride = 1;
    int complex_stride = 1;
    bool in_place = false;
    bool unit() const { return real_stride == 1 && complex_stride == 1; }
};

const real_layout layouts[] = {{1, 1, false}, {3, 2, false}, {1, 1, true}, {2, 3, true}};

size_t real_extent(size_t n, const real_layout& l) {
    return (n - 1) * static_cast<size_t>(l.real_stride) + 1;
}

size_t complex_extent(size_t n, const real_layout& l) {
    return n / 2 * static_cast<size_t>(l.complex_stride) + 1;
}

// Complex values an array needs to hold either side of the layout.
size_t array_values(size_t n, const real_layout& l) {
    return std::max(complex_extent(n, l), (real_extent(n, l) + 1) / 2);
}

bool direct_length(size_t n) {
    return is_double && (n == 2 || n == 4 || n == 8 || n == 16 || n == 32 || n == 512);
}

std::string expected_name(size_t n, const real_layout& l, const char* transform) {
    const std::string prefix = std::string("execute_1d_") + transform;
    if (direct_length(n) && !(n == 512 && (l.in_place || transform[0] == 'c')))
        return std::string("execute_") + transform + "_direct";
    if (n % 2 == 1) return prefix + "_odd";
    return l.unit() ? prefix : prefix + "_discrete";
}

plan_handle plan_r2c(size_t n, const real_layout& l, real* in, complex_value* out) {
    const guru_dim dim{static_cast<int>(n), l.real_stride, l.complex_stride};
    if (l.unit()) return QTX_PUBLIC(plan_dft_r2c_1d)(dim.n, in, out, 0);
    return QTX_PUBLIC(plan_guru_dft_r2c)(1, &dim, 0, nullptr, in, out, 0);
}

plan_handle plan_c2r(size_t n, const real_layout& l, complex_value* in, real* out) {
    const guru_dim dim{static_cast<int>(n), l.complex_stride, l.real_stride};
    if (l.unit()) return QTX_PUBLIC(plan_dft_c2r_1d)(dim.n, in, out, 0);
    return QTX_PUBLIC(plan_guru_dft_c2r)(1, &dim, 0, nullptr, in, out, 0);
}

struct r2c_outcome {
    double error;
    bool real_end_points; // Im X[0] and, for even n, Im X[n/2] exactly 0
    std::string name;
};

r2c_outcome run_r2c(size_t n, const real_layout& l, uint32_t seed = 1) {
    const reference_reals x = rounded_reals<real>(random_reals(n, seed));
    engine_array a(array_values(n, l)), b(array_values(n, l));
    a.load(reals_at_stride<real>(x, static_cast<size_t>(l.real_stride), real_extent(n, l)));
    std::fill_n(b.reals(), 2 * b.length, real(7)); // no zero to find by accident
    complex_value* out = l.in_place ? a.data : b.data;
    plan_guard p{plan_r2c(n, l, a.reals(), out)};
    if (p.plan == nullptr) return {1e9, false, "no plan"};
    QTX_PUBLIC(execute)(p.plan);
    const real* X = reinterpret_cast<const real*>(out);
    const size_t cs = static_cast<size_t>(l.complex_stride);
    const bool ends = X[1] == 0 && (n % 2 == 1 || X[2 * (n / 2) * cs + 1] == 0);
    return {relative_rms_error(X, reference_r2c<real>(x), cs), ends, p.record()->name};
}

// The half spectrum of a random real sequence, rounded, with values in the imaginary parts
// that c2r must ignore.
reference_signal spectrum_for_c2r(size_t n, uint32_t seed, bool filled_ends = true) {
    reference_signal X = rounded<real>(reference_r2c<real>(random_reals(n, seed)));
    X[0].imag(filled_ends ? 0.375L : 0.0L);
    if (n % 2 == 0) X[n / 2].imag(filled_ends ? -0.625L : 0.0L);
    return X;
}

struct c2r_outcome {
    double error;
    bool input_unchanged;
    std::string name;
    std::vector<real> output;
};

c2r_outcome run_c2r(size_t n, const real_layout& l, const reference_signal& X) {
    engine_array a(array_values(n, l)), b(array_values(n, l));
    const std::vector<real> spectrum =
        to_working<real>(X, static_cast<size_t>(l.complex_stride), a.length);
    a.load(spectrum);
    real* out = l.in_place ? a.reals() : b.reals();
    plan_guard p{plan_c2r(n, l, a.data, out)};
    if (p.plan == nullptr) return {1e9, false, "no plan", {}};
    QTX_PUBLIC(execute)(p.plan);
    const size_t rs = static_cast<size_t>(l.real_stride);
    std::vector<real> y(n);
    for (size_t t = 0; t < n; ++t)
        y[t] = out[t * rs];
    const bool unchanged =
        std::memcmp(a.reals(), spectrum.data(), spectrum.size() * sizeof(real)) == 0;
    return {relative_rms_error_reals(y.data(), reference_c2r<real>(X, n)), unchanged,
            p.record()->name, y};
}

std::vector<size_t> tested_lengths() {
    std::vector<size_t> lengths;
    for (size_t n = 1; n <= 64; ++n)
        lengths.push_back(n);
    for (size_t n : {100u, 101u, 512u, 1000u, 1024u, 4097u, 65536u})
        lengths.push_back(n);
    return lengths;
}

using RealLength = testing::TestWithParam<size_t>;

TEST_P(RealLength, RealToComplexEveryPathAgainstTheOracle) {
    const size_t n = GetParam();
    for (const real_layout& l : layouts) {
        const r2c_outcome got = run_r2c(n, l);
        const std::string where =
            "n=" + std::to_string(n) + " strides " + std::to_string(l.real_stride) + "," +
            std::to_string(l.complex_stride) + " in place " + std::to_string(l.in_place);
        EXPECT_EQ(got.name, expected_name(n, l, "r2c")) << where;
        EXPECT_LE(got.error, real_bound(n)) << where;
        EXPECT_TRUE(got.real_end_points) << where;
    }
}

TEST_P(RealLength, ComplexToRealEveryPathAgainstTheOracle) {
    const size_t n = GetParam();
    const reference_signal X = spectrum_for_c2r(n, 2);
    for (const real_layout& l : layouts) {
        const c2r_outcome got = run_c2r(n, l, X);
        const std::string where =
            "n=" + std::to_string(n) + " strides " + std::to_string(l.complex_stride) + "," +
            std::to_string(l.real_stride) + " in place " + std::to_string(l.in_place);
        EXPECT_EQ(got.name, expected_name(n, l, "c2r")) << where;
        EXPECT_LE(got.error, real_bound(n)) << where;
        EXPECT_TRUE(l.in_place || got.input_unchanged) << where;
    }
}

INSTANTIATE_TEST_SUITE_P(Each, RealLength, testing::ValuesIn(tested_lengths()), named_by{"n"});

// Even lengths never read the imaginary parts of X[0] and X[n/2]: the output is the same bits
// whatever they hold.
using EvenRealLength = testing::TestWithParam<size_t>;

TEST_P(EvenRealLength, EvenLengthsIgnoreTheImaginaryPartsOfTheRealBins) {
    const size_t n = GetParam();
    for (const real_layout& l : layouts) {
        const c2r_outcome filled = run_c2r(n, l, spectrum_for_c2r(n, 3, true));
        const c2r_outcome zeroed = run_c2r(n, l, spectrum_for_c2r(n, 3, false));
        EXPECT_EQ(filled.output, zeroed.output) << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Each, EvenRealLength, testing::Values(2, 16, 30, 1000), named_by{"n"});

// c2r(r2c(x)) = n·x, for both parities and any strides.
using RealRoundTrip = testing::TestWithParam<size_t>;

TEST_P(RealRoundTrip, RoundTripScalesByN) {
    const size_t n = GetParam();
    for (const real_layout& l : {real_layout{1, 1, false}, real_layout{2, 3, false}}) {
        const reference_reals x = rounded_reals<real>(random_reals(n, 4));
        engine_array signal(array_values(n, l)), spectrum(array_values(n, l));
        signal.load(
            reals_at_stride<real>(x, static_cast<size_t>(l.real_stride), real_extent(n, l)));
        plan_guard forward{plan_r2c(n, l, signal.reals(), spectrum.data)};
        plan_guard backward{plan_c2r(n, l, spectrum.data, signal.reals())};
        ASSERT_NE(forward.plan, nullptr);
        ASSERT_NE(backward.plan, nullptr);
        QTX_PUBLIC(execute)(forward.plan);
        QTX_PUBLIC(execute)(backward.plan);
        reference_reals scaled(x);
        for (auto& v : scaled)
            v *= static_cast<long double>(n);
        EXPECT_LE(
            relative_rms_error_reals(signal.reals(), scaled, static_cast<size_t>(l.real_stride)),
            2 * real_bound(n))
            << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Each, RealRoundTrip, testing::Values(2, 15, 64, 99, 1000, 1001),
                         named_by{"n"});

TEST(RealSolver, ChildIsHalfLengthForEvenAndFullLengthForOdd) {
    engine_array a(1001), b(1001);
    const struct {
        int n;
        real_layout layout;
        int64_t child_length;
        uint64_t buffer_values, table_values;
    } cases[] = {
        {1000, {1, 1, false}, 500, 0, 500},
        {1000, {2, 1, false}, 500, 500, 500},
        {999, {1, 1, false}, 999, 999, 0},
    };
    for (const auto& c : cases) {
        plan_guard forward{plan_r2c(static_cast<size_t>(c.n), c.layout, a.reals(), b.data)};
        plan_guard backward{plan_c2r(static_cast<size_t>(c.n), c.layout, b.data, a.reals())};
        for (const plan_guard* p : {&forward, &backward}) {
            ASSERT_NE(p->plan, nullptr);
            const plan_record* plan = p->record();
            ASSERT_EQ(plan->child_count, 1u);
            EXPECT_EQ(plan->children->kind, kind_c2c);
            EXPECT_EQ(plan->children->dims[0].n, c.child_length) << c.n;
            EXPECT_EQ(plan->children->sign, p == &forward ? -1 : 1);
            EXPECT_EQ(plan->buffer_size, c.buffer_values * complex_bytes) << c.n;
            EXPECT_EQ(plan->table_size, c.table_values * complex_bytes) << c.n;
        }
    }
}

// The passes write interleaved values; split storage and batches are other solvers' problems.
TEST(RealSolver, DeclinesSplitStorageAndBatches) {
    for (uint32_t kind : {kind_r2c, kind_c2r}) {
        plan_record p{};
        p.kind = kind;
        p.sign = kind == kind_r2c ? -1 : 1;
        p.rank = 1;
        p.dims[0] = {16, 1, 1};
        p.complex_layout = layout_split;
        EXPECT_EQ(solve_problem_r2c_1d(&p), solve_declined);
        EXPECT_EQ(solve_problem_c2r_1d(&p), solve_declined);
#if defined(QTX_FFT_DOUBLE)
        EXPECT_EQ(solve_problem_r2c_direct(&p), solve_declined);
        EXPECT_EQ(solve_problem_c2r_direct(&p), solve_declined);
#endif
        p.complex_layout = layout_interleaved;
        p.howmany_rank = 1;
        p.howmany_dims[0] = {3, 16, 9};
        EXPECT_EQ(solve_problem_r2c_1d(&p), solve_declined);
        EXPECT_EQ(solve_problem_c2r_1d(&p), solve_declined);
        reset_plan(&p);
    }
}

// Sets the plan thread count for the scope.
struct thread_scope {
    explicit thread_scope(int threads) { QTX_PUBLIC(plan_with_nthreads)(threads); }
    ~thread_scope() { QTX_PUBLIC(plan_with_nthreads)(1); }
};

// A plan record that differs from a threaded plan only in running its pass on one thread: the
// same children and tables, so the pass alone decides the result.
plan_record serial_copy(const plan_record* plan) {
    plan_record copy = *plan;
    copy.thread_count = 1;
    return copy;
}

using ThreadedRealLength = testing::TestWithParam<size_t>;

TEST_P(ThreadedRealLength, ThreadedPassesMatchTheSerialOnesBitForBit) {
    const thread_scope threads(4);
    const size_t n = GetParam();
    const reference_reals x = rounded_reals<real>(random_reals(n, 5));
    const real_layout unit;
    engine_array signal(n), threaded(n / 2 + 1), serial(n / 2 + 1);
    signal.load(reals_at_stride<real>(x, 1, n));
    plan_guard forward{plan_r2c(n, unit, signal.reals(), threaded.data)};
    ASSERT_NE(forward.plan, nullptr);
    EXPECT_GE(forward.record()->thread_count, 2u);
    EXPECT_EQ(std::string(forward.record()->name), "execute_1d_r2c");
    QTX_PUBLIC(execute)(forward.plan);
    const plan_record forward_serial = serial_copy(forward.record());
    forward_serial.execute(&forward_serial, signal.reals(), serial.data);
    EXPECT_EQ(std::memcmp(threaded.data, serial.data, (n / 2 + 1) * complex_bytes), 0) << n;
    EXPECT_LE(relative_rms_error(threaded.reals(), reference_r2c<real>(x)), real_bound(n));

    engine_array threaded_out(n / 2), serial_out(n / 2);
    plan_guard backward{plan_c2r(n, unit, serial.data, threaded_out.reals())};
    ASSERT_NE(backward.plan, nullptr);
    QTX_PUBLIC(execute)(backward.plan);
    const plan_record backward_serial = serial_copy(backward.record());
    backward_serial.execute(&backward_serial, serial.data, serial_out.reals());
    EXPECT_EQ(std::memcmp(threaded_out.data, serial_out.data, n * sizeof(real)), 0) << n;
}

INSTANTIATE_TEST_SUITE_P(Each, ThreadedRealLength, testing::Values(16384, 20000, 65536),
                         named_by{"n"});

#if defined(QTX_FFT_DOUBLE)

// Batches of the fixed-kernel lengths, one kernel call for all transforms.
struct batch_layout {
    int stride;
    int real_dist, complex_dist;
    bool in_place;
};

using RealDirectLength = testing::TestWithParam<int>;

TEST_P(RealDirectLength, BatchedKernelsOfEveryLength) {
    constexpr int howmany = 5;
    const int n = GetParam();
    const int half = n / 2 + 1;
    const batch_layout batches[] = {
        {1, n, half, false},
        {2, 2 * n + 3, 2 * half + 1, false},
        {1, 2 * half, half, true},
    };
    for (const batch_layout& bl : batches) {
        if (n == 512 && bl.in_place) continue;
        const size_t values = static_cast<size_t>(howmany * (bl.real_dist + bl.complex_dist));
        engine_array a(values), b(values);
        std::vector<reference_reals> signals;
        for (int t = 0; t < howmany; ++t) {
            signals.push_back(rounded_reals<real>(random_reals(static_cast<size_t>(n), t)));
            for (int j = 0; j < n; ++j)
                a.reals()[t * bl.real_dist + j * bl.stride] = static_cast<real>(signals[t][j]);
        }
        complex_value* spectrum = bl.in_place ? a.data : b.data;
        plan_guard forward{QTX_PUBLIC(plan_many_dft_r2c)(1, &n, howmany, a.reals(), nullptr,
                                                         bl.stride, bl.real_dist, spectrum, nullptr,
                                                         bl.stride, bl.complex_dist, 0)};
        ASSERT_NE(forward.plan, nullptr);
        EXPECT_EQ(std::string(forward.record()->name), "execute_r2c_direct") << n;
        QTX_PUBLIC(execute)(forward.plan);
        for (int t = 0; t < howmany; ++t) {
            const real* X = spectrum[t * bl.complex_dist];
            EXPECT_LE(relative_rms_error(X, reference_r2c<real>(signals[t]),
                                         static_cast<size_t>(bl.stride)),
                      real_bound(static_cast<size_t>(n)))
                << n << " transform " << t;
            EXPECT_EQ(X[1], 0.0);
            EXPECT_EQ(X[2 * (n / 2) * bl.stride + 1], 0.0);
        }
        if (n == 512) continue;
        real* back = bl.in_place ? a.reals() : b.reals() + 2 * howmany * bl.complex_dist;
        plan_guard backward{QTX_PUBLIC(plan_many_dft_c2r)(1, &n, howmany, spectrum, nullptr,
                                                          bl.stride, bl.complex_dist, back, nullptr,
                                                          bl.stride, bl.real_dist, 0)};
        ASSERT_NE(backward.plan, nullptr);
        EXPECT_EQ(std::string(backward.record()->name), "execute_c2r_direct") << n;
        QTX_PUBLIC(execute)(backward.plan);
        for (int t = 0; t < howmany; ++t) {
            reference_reals scaled(signals[t]);
            for (auto& v : scaled)
                v *= n;
            EXPECT_LE(relative_rms_error_reals(back + t * bl.real_dist, scaled,
                                               static_cast<size_t>(bl.stride)),
                      2 * real_bound(static_cast<size_t>(n)))
                << n << " transform " << t;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Each, RealDirectLength, testing::Values(2, 4, 8, 16, 32, 512),
                         named_by{"n"});

#endif

} // namespace
