// Batches of transforms against long-double guru transforms over the whole arrays, and the
// solvers that take each batch shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "common/case_names.hpp"
#include "common/engine_support.hpp"
#include "common/real_oracle.hpp"
#include "fft/solvers/dft_many.hpp"
#include "fft/threads.hpp"

using namespace qtx::QTX_ENGINE;
using namespace qtx::test;

namespace {

// Planning with a thread count, restored to 1 afterwards.
struct thread_scope {
    explicit thread_scope(int threads) { QTX_PUBLIC(plan_with_nthreads)(threads); }
    ~thread_scope() { QTX_PUBLIC(plan_with_nthreads)(1); }
};

struct batch_case {
    const char* label;
    std::vector<guru_dim64> dims, howmany;
};

// Parameterised cases print as their labels.
void PrintTo(const batch_case& c, std::ostream* os) {
    *os << c.label;
}

// Elements an array needs for the layout: 1 + Σ (n − 1)·stride over every dimension.
size_t span_of(const batch_case& c, bool input) {
    size_t span = 1;
    for (const auto* list : {&c.dims, &c.howmany})
        for (const guru_dim64& d : *list)
            span += static_cast<size_t>(d.n - 1) *
                    static_cast<size_t>(input ? d.in_stride : d.out_stride);
    return span;
}

guru_shape reference_shape(const batch_case& c) {
    guru_shape shape;
    for (const guru_dim64& d : c.dims)
        shape.dims.push_back({d.n, d.in_stride, d.out_stride});
    for (const guru_dim64& d : c.howmany)
        shape.howmany.push_back({d.n, d.in_stride, d.out_stride});
    return shape;
}

struct batch_result {
    double error;
    std::string name;
};

// Runs the batch on a random array and compares the whole output array with the reference.
batch_result run_batch(const batch_case& c, int sign, bool in_place, int threads) {
    const size_t span = std::max(span_of(c, true), span_of(c, false));
    reference_signal x = rounded<real>(random_signal(span, 17));
    engine_array in(span), out(span);
    in.load(to_working<real>(x));
    out.load(std::vector<real>(2 * span, 0));
    complex_value* target = in_place ? in.data : out.data;
    plan_handle plan;
    {
        thread_scope scope(threads);
        plan = QTX_PUBLIC(plan_guru64_dft)(1, c.dims.data(), static_cast<int>(c.howmany.size()),
                                           c.howmany.data(), in.data, target, sign, 0);
    }
    plan_guard guard{plan};
    if (plan == nullptr) return {1e9, "no plan"};
    QTX_PUBLIC(execute)(plan);
    reference_signal want = in_place ? x : reference_signal(span);
    reference_guru_dft(reference_shape(c), x, in_place ? x : want, sign);
    return {relative_rms_error(reinterpret_cast<real*>(target), in_place ? x : want),
            guard.record()->name};
}

const std::vector<batch_case>& batch_cases() {
    static const std::vector<batch_case> cases = {
        {"contiguous 1000 x 64", {{64, 1, 1}}, {{1000, 64, 64}}},
        {"interleaved 3 x 64, stride 3", {{64, 3, 3}}, {{3, 1, 1}}},
        {"interleaved 5 x 60, stride 5", {{60, 5, 5}}, {{5, 1, 1}}},
        {"interleaved 4 x 48, strides 4 and 5", {{48, 4, 5}}, {{4, 1, 1}}},
        {"interleaved 3 x 16384, stride 3", {{16384, 3, 3}}, {{3, 1, 1}}},
        {"interleaved 2 x 20000, stride 2", {{20000, 2, 2}}, {{2, 1, 1}}},
        {"strided 7 x 100", {{100, 2, 3}}, {{7, 250, 333}}},
        {"prime length 5 x 17", {{17, 1, 1}}, {{5, 17, 17}}},
        {"two batch dimensions", {{30, 1, 1}}, {{4, 150, 150}, {5, 30, 30}}},
        {"three batch dimensions", {{12, 1, 2}}, {{2, 360, 720}, {3, 120, 240}, {10, 12, 24}}},
        {"columns of a matrix", {{40, 50, 50}}, {{50, 1, 1}}},
    };
    return cases;
}

using Batch = testing::TestWithParam<batch_case>;

TEST_P(Batch, AgainstTheReferenceOutOfPlace) {
    const batch_case& c = GetParam();
    for (int threads : {1, 4})
        for (int sign : {-1, 1}) {
            const batch_result got = run_batch(c, sign, false, threads);
            EXPECT_LE(got.error, transform_error_bound<real>(c.dims[0].n, 4.0))
                << c.label << ", " << threads << " threads, sign " << sign << ", " << got.name;
        }
}

TEST_P(Batch, AgainstTheReferenceInPlace) {
    const batch_case& c = GetParam();
    // In place needs one layout on both sides.
    bool same_layout = true;
    for (const auto* list : {&c.dims, &c.howmany})
        for (const guru_dim64& d : *list)
            same_layout = same_layout && d.in_stride == d.out_stride;
    if (!same_layout) return;
    for (int threads : {1, 4}) {
        const batch_result got = run_batch(c, -1, true, threads);
        EXPECT_LE(got.error, transform_error_bound<real>(c.dims[0].n, 4.0))
            << c.label << ", " << threads << " threads, " << got.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Each, Batch, testing::ValuesIn(batch_cases()), named_by_label);

TEST(Batches, PostTransposeOfLongInPlaceTransforms) {
    const batch_case c = {"4 x 65536 to stride 4", {{65536, 1, 4}}, {{4, 65536, 1}}};
    const batch_result got = run_batch(c, -1, true, 1);
    EXPECT_EQ(got.name, "execute_many_post_transpose");
    EXPECT_LE(got.error, transform_error_bound<real>(65536, 4.0));
}

// The plan a batch gets, planned on scratch arrays large enough for the layout.
struct planned_batch {
    engine_array array;
    plan_guard guard;
    planned_batch(const batch_case& c, int threads, bool in_place = false)
        : array(2 * std::max(span_of(c, true), span_of(c, false))), guard{nullptr} {
        thread_scope scope(threads);
        complex_value* out = in_place ? array.data : array.data + array.length / 2;
        guard.plan =
            QTX_PUBLIC(plan_guru64_dft)(1, c.dims.data(), static_cast<int>(c.howmany.size()),
                                        c.howmany.data(), array.data, out, -1, 0);
    }
    const plan_record* record() const { return guard.record(); }
};

TEST(BatchSolvers, ThreadChunksFollowTheGranule) {
    const planned_batch many({"", {{64, 1, 1}}, {{1000, 64, 64}}}, 4);
    ASSERT_NE(many.guard.plan, nullptr);
    const plan_record* p = many.record();
    EXPECT_STREQ(p->name, "execute_multithread");
    EXPECT_EQ(thread_granule(p), is_double ? 8u : 16u);
    const int64_t expected_chunk = 256;
    ASSERT_EQ(p->child_count, 4u);
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(p->children[i].howmany_dims[0].n, expected_chunk);
    EXPECT_EQ(p->children[3].howmany_dims[0].n, 1000 - 3 * expected_chunk);
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(p->children[i].thread_count, 1u);

    // 10 transforms of length 8 are 80 elements: not worth a thread.
    const planned_batch small({"", {{8, 1, 1}}, {{10, 8, 8}}}, 4);
    ASSERT_NE(small.guard.plan, nullptr);
    EXPECT_STREQ(small.record()->name, "execute_many");
}

TEST(BatchSolvers, InterleavedBatchesByStrideSpan) {
    const planned_batch near({"", {{64, 3, 3}}, {{3, 1, 1}}}, 1);
    ASSERT_NE(near.guard.plan, nullptr);
    const planned_batch far({"", {{16384, 3, 3}}, {{3, 1, 1}}}, 1);
    ASSERT_NE(far.guard.plan, nullptr);
    EXPECT_STREQ(far.record()->name, "execute_many_transpose");
    EXPECT_EQ(far.record()->buffer_size, 3u * 16384u * complex_bytes);
    if constexpr (is_double) {
        EXPECT_STREQ(near.record()->name, "execute_many");
    } else {
        EXPECT_STREQ(near.record()->name, "execute_many_parallel");
        ASSERT_EQ(near.record()->child_count, 2u);
        EXPECT_EQ(near.record()->children[0].howmany_rank, 1);
        EXPECT_EQ(near.record()->children[1].howmany_rank, 0);
        // Two interleaved transforms are left to the one-dimensional solvers.
        const planned_batch pair({"", {{64, 2, 2}}, {{2, 1, 1}}}, 4);
        ASSERT_NE(pair.guard.plan, nullptr);
        EXPECT_STREQ(pair.record()->name, "execute_dft_direct");
    }
}

TEST(BatchSolvers, EachBatchDimensionPeeledByOneLoop) {
    const planned_batch nested({"", {{30, 1, 1}}, {{4, 150, 150}, {5, 30, 30}}}, 1);
    ASSERT_NE(nested.guard.plan, nullptr);
    EXPECT_STREQ(nested.record()->name, "execute_many");
    ASSERT_EQ(nested.record()->child_count, 1u);
    EXPECT_STREQ(nested.record()->children->name, "execute_many");
    EXPECT_EQ(nested.record()->children->howmany_dims[0].n, 5);
}

// ---- Every thread count on plans whose children are split by thread ------------------------

enum class family { c2c, r2c, c2r, r2r };

struct threaded_case {
    const char* label;
    family kind;
    std::vector<int> n; // outermost first; the real families are one-dimensional
};

void PrintTo(const threaded_case& c, std::ostream* os) {
    *os << c.label;
}

constexpr int redft10 = 5;

// The plan's input (complex values or plain reals) and the oracle's output for it.
struct threaded_problem {
    std::vector<real> input;
    reference_signal want_complex; // c2c and r2c
    reference_reals want_reals;    // c2r and r2r
};

size_t element_count(const threaded_case& c) {
    return std::accumulate(c.n.begin(), c.n.end(), size_t{1}, std::multiplies<>());
}

threaded_problem threaded_reference(const threaded_case& c) {
    const size_t count = element_count(c), half = count / 2 + 1;
    const reference_reals reals = rounded_reals<real>(random_reals(count, 5));
    reference_signal values = rounded<real>(random_signal(c.kind == family::c2r ? half : count, 5));
    threaded_problem t;
    switch (c.kind) {
    case family::c2c: {
        guru_shape shape;
        int64_t stride = 1;
        for (size_t d = c.n.size(); d-- > 0; stride *= c.n[d])
            shape.dims.insert(shape.dims.begin(), {c.n[d], stride, stride});
        t.input = to_working<real>(values);
        t.want_complex.resize(count);
        reference_guru_dft(shape, values, t.want_complex, -1);
        break;
    }
    case family::r2c:
        t.input.assign(reals.begin(), reals.end());
        t.want_complex = reference_r2c<real>(reals);
        break;
    case family::c2r:
        t.input = to_working<real>(values);
        t.want_reals = reference_c2r<real>(values, count);
        break;
    case family::r2r:
        t.input.assign(reals.begin(), reals.end());
        t.want_reals = reference_r2r<real>(reals, redft10);
        break;
    }
    return t;
}

// An output array between two runs of guard values that no transform may overwrite.
class guarded_output {
  public:
    explicit guarded_output(size_t reals)
        : storage_((reals + 2 * guard_reals + 1) / 2), reals_(reals) {
        std::fill_n(storage_.reals(), 2 * storage_.length, guard_value);
    }
    real* reals() { return storage_.reals() + guard_reals; }
    complex_value* values() { return reinterpret_cast<complex_value*>(reals()); }
    bool guards_intact() {
        const real* all = storage_.reals();
        for (size_t i = 0; i < 2 * storage_.length; ++i)
            if ((i < guard_reals || i >= guard_reals + reals_) && all[i] != guard_value)
                return false;
        return true;
    }

  private:
    static constexpr size_t guard_reals = 32; // 128 or 256 bytes: whole alignment units
    static constexpr real guard_value = real(-1234.5);
    engine_array storage_;
    size_t reals_;
};

plan_handle plan_threaded(const threaded_case& c, engine_array& in, guarded_output& out) {
    switch (c.kind) {
    case family::c2c:
        return QTX_PUBLIC(plan_dft)(static_cast<int>(c.n.size()), c.n.data(), in.data, out.values(),
                                    -1, 0);
    case family::r2c:
        return QTX_PUBLIC(plan_dft_r2c_1d)(c.n[0], in.reals(), out.values(), 0);
    case family::c2r:
        return QTX_PUBLIC(plan_dft_c2r_1d)(c.n[0], in.data, out.reals(), 0);
    case family::r2r:
        return QTX_PUBLIC(plan_r2r_1d)(c.n[0], in.reals(), out.reals(), redft10, 0);
    }
    return nullptr;
}

const threaded_case threaded_cases[] = {
    {"c2c 4096", family::c2c, {4096}},        {"c2c 8192", family::c2c, {8192}},
    {"c2c 65536", family::c2c, {65536}},      {"c2c prime 1009", family::c2c, {1009}},
    {"c2c prime 2003", family::c2c, {2003}},  {"2-D 3 x 1009", family::c2c, {3, 1009}},
    {"2-D 1009 x 6", family::c2c, {1009, 6}}, {"r2c prime 2003", family::r2c, {2003}},
    {"c2r prime 2003", family::c2r, {2003}},  {"r2r prime 2003", family::r2r, {2003}},
};

using ThreadedProblem = testing::TestWithParam<threaded_case>;

TEST_P(ThreadedProblem, EveryThreadCountAgainstTheReference) {
    const threaded_case& c = GetParam();
    const threaded_problem t = threaded_reference(c);
    const bool complex_out = !t.want_complex.empty();
    const size_t out_reals = complex_out ? 2 * t.want_complex.size() : t.want_reals.size();
    const double bound = transform_error_bound<real>(4 * element_count(c), 8.0);
    for (int threads : {0, -1, 2, 3, 48, 64, 512, 600}) {
        engine_array in((t.input.size() + 1) / 2);
        in.load(t.input);
        guarded_output out(out_reals);
        plan_handle plan;
        {
            thread_scope scope(threads);
            plan = plan_threaded(c, in, out);
        }
        plan_guard guard{plan};
        ASSERT_NE(plan, nullptr) << c.label << ", " << threads << " threads";
        QTX_PUBLIC(execute)(plan);
        const double error = complex_out ? relative_rms_error(out.reals(), t.want_complex)
                                         : relative_rms_error_reals(out.reals(), t.want_reals);
        EXPECT_LE(error, bound) << c.label << ", " << threads << " threads";
        EXPECT_TRUE(out.guards_intact()) << c.label << ", " << threads << " threads";
    }
}

INSTANTIATE_TEST_SUITE_P(Each, ThreadedProblem, testing::ValuesIn(threaded_cases), named_by_label);

} // namespace
