// Two- and three-dimensional transforms of every kind against long-double guru transforms, and
// the child layouts the multi-dimensional solvers choose.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "common/case_names.hpp"
#include "common/engine_support.hpp"
#include "common/real_oracle.hpp"

using namespace qtx::QTX_ENGINE;
using namespace qtx::test;

namespace {

enum class family { c2c, r2c, c2r, r2r };

struct md_case {
    const char* label;
    family f;
    std::vector<guru_dim64> dims, howmany;
    std::vector<int> kinds; // r2r only
};

// Parameterised cases print as their labels.
void PrintTo(const md_case& c, std::ostream* os) {
    *os << c.label;
}

bool complex_input(family f) {
    return f == family::c2c || f == family::c2r;
}
bool complex_output(family f) {
    return f == family::c2c || f == family::r2c;
}

// Element counts along every dimension on one side: the innermost count of the complex side of
// a real transform is ⌊n/2⌋ + 1.
std::vector<int64_t> counts_of(const md_case& c, bool input) {
    std::vector<int64_t> counts;
    for (const guru_dim64& d : c.howmany)
        counts.push_back(d.n);
    for (const guru_dim64& d : c.dims)
        counts.push_back(d.n);
    const bool halved = input ? c.f == family::c2r : c.f == family::r2c;
    if (halved) counts.back() = counts.back() / 2 + 1;
    return counts;
}

std::vector<int64_t> strides_of(const md_case& c, bool input) {
    std::vector<int64_t> strides;
    for (const auto* list : {&c.howmany, &c.dims})
        for (const guru_dim64& d : *list)
            strides.push_back(input ? d.in_stride : d.out_stride);
    return strides;
}

// Element positions of one side, every index in row-major order.
std::vector<int64_t> positions(const md_case& c, bool input) {
    const std::vector<int64_t> counts = counts_of(c, input), strides = strides_of(c, input);
    std::vector<int64_t> out = {0};
    for (size_t i = 0; i < counts.size(); ++i) {
        std::vector<int64_t> next;
        for (int64_t base : out)
            for (int64_t j = 0; j < counts[i]; ++j)
                next.push_back(base + j * strides[i]);
        out.swap(next);
    }
    return out;
}

// Reals an array needs for one side.
size_t reals_of(const md_case& c, bool input) {
    const std::vector<int64_t> p = positions(c, input);
    const int64_t last = *std::max_element(p.begin(), p.end());
    return static_cast<size_t>(last + 1) *
           ((input ? complex_input(c.f) : complex_output(c.f)) ? 2 : 1);
}

std::vector<fftwl_iodim64> reference_dims(const std::vector<guru_dim64>& dims) {
    std::vector<fftwl_iodim64> out;
    for (const guru_dim64& d : dims)
        out.push_back({d.n, d.in_stride, d.out_stride});
    return out;
}

// The long-double transform of the same problem on long-double copies of the arrays.
void reference_transform(const md_case& c, std::vector<long double>& in,
                         std::vector<long double>& out, int sign) {
    const auto dims = reference_dims(c.dims), howmany = reference_dims(c.howmany);
    const int rank = static_cast<int>(dims.size()), batch = static_cast<int>(howmany.size());
    fftwl_plan plan = nullptr;
    switch (c.f) {
    case family::c2c:
        plan = fftwl_plan_guru64_dft(rank, dims.data(), batch, howmany.data(),
                                     reinterpret_cast<fftwl_complex*>(in.data()),
                                     reinterpret_cast<fftwl_complex*>(out.data()),
                                     sign < 0 ? FFTW_FORWARD : FFTW_BACKWARD, FFTW_ESTIMATE);
        break;
    case family::r2c:
        plan =
            fftwl_plan_guru64_dft_r2c(rank, dims.data(), batch, howmany.data(), in.data(),
                                      reinterpret_cast<fftwl_complex*>(out.data()), FFTW_ESTIMATE);
        break;
    case family::c2r:
        plan = fftwl_plan_guru64_dft_c2r(rank, dims.data(), batch, howmany.data(),
                                         reinterpret_cast<fftwl_complex*>(in.data()), out.data(),
                                         FFTW_ESTIMATE);
        break;
    case family::r2r: {
        std::vector<fftw_r2r_kind> kinds;
        for (int k : c.kinds)
            kinds.push_back(static_cast<fftw_r2r_kind>(k));
        plan = fftwl_plan_guru64_r2r(rank, dims.data(), batch, howmany.data(), in.data(),
                                     out.data(), kinds.data(), FFTW_ESTIMATE);
        break;
    }
    }
    ASSERT_NE(plan, nullptr) << c.label;
    fftwl_execute(plan);
    fftwl_destroy_plan(plan);
}

plan_handle plan_ours(const md_case& c, real* in, real* out, int sign) {
    const int rank = static_cast<int>(c.dims.size()), batch = static_cast<int>(c.howmany.size());
    auto* ci = reinterpret_cast<complex_value*>(in);
    auto* co = reinterpret_cast<complex_value*>(out);
    switch (c.f) {
    case family::c2c:
        return QTX_PUBLIC(plan_guru64_dft)(rank, c.dims.data(), batch, c.howmany.data(), ci, co,
                                           sign, 0);
    case family::r2c:
        return QTX_PUBLIC(plan_guru64_dft_r2c)(rank, c.dims.data(), batch, c.howmany.data(), in, co,
                                               0);
    case family::c2r:
        return QTX_PUBLIC(plan_guru64_dft_c2r)(rank, c.dims.data(), batch, c.howmany.data(), ci,
                                               out, 0);
    case family::r2r:
        return QTX_PUBLIC(plan_guru64_r2r)(rank, c.dims.data(), batch, c.howmany.data(), in, out,
                                           c.kinds.data(), 0);
    }
    return nullptr;
}

// Input values: random, and for c2r the spectrum of random real data so that it is consistent.
std::vector<long double> input_values(const md_case& c, size_t reals) {
    std::vector<long double> values(reals, 0);
    const reference_reals random = rounded_reals<real>(random_reals(reals, 41));
    if (c.f != family::c2r) {
        for (int64_t p : positions(c, true))
            for (int part = 0; part < (complex_input(c.f) ? 2 : 1); ++part) {
                const size_t at = static_cast<size_t>(p) * (complex_input(c.f) ? 2 : 1) + part;
                values[at] = random[at];
            }
        return values;
    }
    md_case forward = c;
    forward.f = family::r2c;
    for (guru_dim64& d : forward.dims)
        std::swap(d.in_stride, d.out_stride);
    for (guru_dim64& d : forward.howmany)
        std::swap(d.in_stride, d.out_stride);
    std::vector<long double> real_data(reals_of(forward, true), 0);
    for (int64_t p : positions(forward, true))
        real_data[static_cast<size_t>(p)] = random[static_cast<size_t>(p) % random.size()];
    reference_transform(forward, real_data, values, -1);
    for (long double& v : values)
        v = static_cast<real>(v);
    return values;
}

struct md_result {
    double error;
    std::string name;
    bool untouched; // nothing changed outside the output set (and, in place, the input set)
};

// Each array lies between guard reals, and every real of it that the transform may not write
// holds a guard value as well: a write outside the output set changes a guard.
constexpr size_t guard_reals = 16;
constexpr real guard_value = real(-1234.5);

// Real indices of the elements of one side.
std::vector<size_t> real_indices(const md_case& c, bool input) {
    const size_t parts = (input ? complex_input(c.f) : complex_output(c.f)) ? 2 : 1;
    std::vector<size_t> out;
    for (int64_t p : positions(c, input))
        for (size_t part = 0; part < parts; ++part)
            out.push_back(static_cast<size_t>(p) * parts + part);
    return out;
}

// Plans c on guarded arrays (one when in place), runs it and compares the output set with the
// out-of-place long-double transform.
md_result run_case(const md_case& c, bool in_place, int sign = -1) {
    const size_t in_reals = reals_of(c, true), out_reals = reals_of(c, false);
    const std::vector<long double> x = input_values(c, in_reals);
    std::vector<long double> x_copy = x, want(out_reals, 0);
    reference_transform(c, x_copy, want, sign);

    const size_t array_reals = in_place ? std::max(in_reals, out_reals) : in_reals;
    std::vector<real> in_array(array_reals + 2 * guard_reals, guard_value);
    std::vector<real> out_array(in_place ? 0 : out_reals + 2 * guard_reals, guard_value);
    real* in = in_array.data() + guard_reals;
    real* out = in_place ? in : out_array.data() + guard_reals;
    for (size_t at : real_indices(c, true))
        in[at] = static_cast<real>(x[at]);
    plan_guard p{plan_ours(c, in, out, sign)};
    if (p.plan == nullptr) return {1e9, "no plan", false};
    const std::vector<real> original = in_array;
    QTX_PUBLIC(execute)(p.plan);

    std::vector<real>& written = in_place ? in_array : out_array;
    std::vector<bool> writable(written.size(), false);
    long double error = 0, norm = 0;
    for (size_t at : real_indices(c, false)) {
        error += (out[at] - want[at]) * (out[at] - want[at]);
        norm += want[at] * want[at];
        writable[guard_reals + at] = true;
    }
    if (in_place)
        for (size_t at : real_indices(c, true))
            writable[guard_reals + at] = true;
    bool untouched = in_place || in_array == original;
    for (size_t i = 0; i < written.size(); ++i)
        untouched = untouched && (writable[i] || written[i] == guard_value);
    return {static_cast<double>(std::sqrt(error / norm)), p.record()->name, untouched};
}

double bound(const md_case& c) {
    size_t n = 1;
    for (const guru_dim64& d : c.dims)
        n *= static_cast<size_t>(d.n);
    return transform_error_bound<real>(n, 4.0);
}

const std::vector<md_case>& cases() {
    static const std::vector<md_case> all = {
        {"c2c 64 x 32", family::c2c, {{64, 32, 32}, {32, 1, 1}}, {}, {}},
        {"c2c 9 x 14 strided", family::c2c, {{9, 30, 14}, {14, 2, 1}}, {}, {}},
        {"c2c 8 x 6 x 10", family::c2c, {{8, 60, 60}, {6, 10, 10}, {10, 1, 1}}, {}, {}},
        {"c2c 3 batches of 16 x 12", family::c2c, {{16, 12, 12}, {12, 1, 1}}, {{3, 192, 192}}, {}},
        {"c2c embedded 10 x 12 in 10 x 16", family::c2c, {{10, 16, 16}, {12, 1, 1}}, {}, {}},
        {"r2c 12 x 10", family::r2c, {{12, 10, 6}, {10, 1, 1}}, {}, {}},
        {"r2c 9 x 7", family::r2c, {{9, 7, 4}, {7, 1, 1}}, {}, {}},
        {"r2c 6 x 4 x 10", family::r2c, {{6, 40, 24}, {4, 10, 6}, {10, 1, 1}}, {}, {}},
        {"c2r 12 x 10 unpadded", family::c2r, {{12, 6, 10}, {10, 1, 1}}, {}, {}},
        {"c2r 9 x 7 unpadded", family::c2r, {{9, 4, 7}, {7, 1, 1}}, {}, {}},
        {"c2r 6 x 4 x 10", family::c2r, {{6, 24, 40}, {4, 6, 10}, {10, 1, 1}}, {}, {}},
        {"r2r 8 x 6 x 10 kinds 5 4 0",
         family::r2r,
         {{8, 60, 60}, {6, 10, 10}, {10, 1, 1}},
         {},
         {5, 4, 0}},
        {"r2r 7 x 12 kinds 1 10", family::r2r, {{7, 12, 12}, {12, 1, 1}}, {}, {1, 10}},
    };
    return all;
}

using OutOfPlaceMultiDimensional = testing::TestWithParam<md_case>;

TEST_P(OutOfPlaceMultiDimensional, EveryKindOutOfPlace) {
    const md_case& c = GetParam();
    for (int sign : {-1, 1}) {
        if (sign == 1 && c.f != family::c2c) continue;
        const md_result got = run_case(c, false, sign);
        EXPECT_LE(got.error, bound(c)) << c.label << " sign " << sign << ": " << got.name;
        EXPECT_TRUE(got.untouched) << c.label << ": " << got.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Each, OutOfPlaceMultiDimensional, testing::ValuesIn(cases()),
                         named_by_label);

const std::vector<md_case> in_place_cases = {
    {"c2c 64 x 32", family::c2c, {{64, 32, 32}, {32, 1, 1}}, {}, {}},
    {"c2c 8 x 6 x 10", family::c2c, {{8, 60, 60}, {6, 10, 10}, {10, 1, 1}}, {}, {}},
    // Real rows padded to 2·(⌊n/2⌋ + 1) reals.
    {"r2c 12 x 10", family::r2c, {{12, 12, 6}, {10, 1, 1}}, {}, {}},
    {"r2c 9 x 7", family::r2c, {{9, 8, 4}, {7, 1, 1}}, {}, {}},
    {"c2r 12 x 10", family::c2r, {{12, 6, 12}, {10, 1, 1}}, {}, {}},
    {"c2r 5 x 4 x 9", family::c2r, {{5, 20, 40}, {4, 5, 10}, {9, 1, 1}}, {}, {}},
    {"r2r 8 x 6 x 10 kinds 3 7 2",
     family::r2r,
     {{8, 60, 60}, {6, 10, 10}, {10, 1, 1}},
     {},
     {3, 7, 2}},
};

using InPlaceMultiDimensional = testing::TestWithParam<md_case>;

TEST_P(InPlaceMultiDimensional, InPlaceWithPaddedRealRows) {
    const md_case& c = GetParam();
    const md_result got = run_case(c, true);
    EXPECT_LE(got.error, bound(c)) << c.label << ": " << got.name;
    EXPECT_TRUE(got.untouched) << c.label << ": " << got.name;
}

INSTANTIATE_TEST_SUITE_P(Each, InPlaceMultiDimensional, testing::ValuesIn(in_place_cases),
                         named_by_label);

// Padded or interleaved images, permuted dimensions, and in-place plans whose output layout
// is not their input layout: out of place a plan writes nothing but its output set.
TEST(MultiDimensional, UnusualLayouts) {
    struct layout_case {
        md_case c;
        bool in_place;
    };
    const std::vector<layout_case> layouts = {
        // Output rows 8 apart, the array ending with the last row.
        {{"c2r 4 x 6, rows 8 apart", family::c2r, {{4, 4, 8}, {6, 1, 1}}, {}, {}}, false},
        {{"c2r 3 x 4 x 6, rows 8 apart", family::c2r, {{3, 16, 40}, {4, 4, 8}, {6, 1, 1}}, {}, {}},
         false},
        {{"c2r 3 interleaved 4 x 6 in rows of 8",
          family::c2r,
          {{4, 12, 24}, {6, 3, 3}},
          {{3, 1, 1}},
          {}},
         false},
        {{"c2r 3 side by side 4 x 6 in rows of 18",
          family::c2r,
          {{4, 12, 18}, {6, 1, 1}},
          {{3, 4, 6}},
          {}},
         false},
        {{"c2r 4 x 5 x 6 with d0 inside d1",
          family::c2r,
          {{4, 4, 6}, {5, 16, 24}, {6, 1, 1}},
          {},
          {}},
         false},
        {{"c2r 4 x 5 x 6 with d0 inside d1, in place",
          family::c2r,
          {{4, 4, 8}, {5, 16, 32}, {6, 1, 1}},
          {},
          {}},
         true},
        {{"c2c 16, output stride 2", family::c2c, {{16, 1, 2}}, {}, {}}, true},
        {{"c2c 4 x 16, distances 16 and 20", family::c2c, {{16, 1, 1}}, {{4, 16, 20}}, {}}, true},
        {{"c2c 8 x 8 transposed", family::c2c, {{8, 8, 1}, {8, 1, 8}}, {}, {}}, true},
        {{"c2c 6 x 10, output rows 12 apart", family::c2c, {{6, 10, 12}, {10, 1, 1}}, {}, {}},
         true},
        {{"r2r 12 kind 0, output stride 2", family::r2r, {{12, 1, 2}}, {}, {0}}, true},
        {{"r2c 16, input stride 2", family::r2c, {{16, 2, 1}}, {}, {}}, true},
        {{"c2r 16 x 3, distances 9 and 16", family::c2r, {{16, 1, 1}}, {{3, 9, 16}}, {}}, true},
        {{"r2c 3 interleaved 4 x 6 in padded rows",
          family::r2c,
          {{4, 24, 12}, {6, 3, 3}},
          {{3, 1, 1}},
          {}},
         true},
        {{"c2r 3 interleaved 4 x 6 in padded rows",
          family::c2r,
          {{4, 12, 24}, {6, 3, 3}},
          {{3, 1, 1}},
          {}},
         true},
        {{"c2r 16, 3 interleaved", family::c2r, {{16, 3, 3}}, {{3, 1, 1}}, {}}, true},
        {{"c2r 8, 5 x 2 interleaved in padded rows",
          family::c2r,
          {{8, 2, 2}},
          {{5, 10, 20}, {2, 1, 1}},
          {}},
         true},
    };
    for (const layout_case& l : layouts) {
        const md_result got = run_case(l.c, l.in_place);
        EXPECT_LE(got.error, bound(l.c)) << l.c.label << ": " << got.name;
        EXPECT_TRUE(got.untouched) << l.c.label << ": " << got.name;
    }
}

const plan_record* record_of_handle(const plan_guard& g) {
    return g.record();
}

TEST(MultiDimensionalSolvers, ChildLayouts) {
    std::vector<real> a(2 * 64 * 32), b(2 * 64 * 32);
    plan_guard p{QTX_PUBLIC(plan_dft_2d)(64, 32, reinterpret_cast<complex_value*>(a.data()),
                                         reinterpret_cast<complex_value*>(b.data()), -1, 0)};
    ASSERT_NE(p.plan, nullptr);
    const plan_record* r = record_of_handle(p);
    EXPECT_STREQ(r->name, "execute_multidimension");
    ASSERT_EQ(r->child_count, 2u);
    const plan_record& rows = r->children[0];
    const plan_record& columns = r->children[1];
    EXPECT_EQ(rows.dims[0].n, 32);
    EXPECT_EQ(rows.howmany_dims[0].n, 64);
    EXPECT_EQ(rows.howmany_dims[0].is, 32);
    EXPECT_EQ(columns.dims[0].n, 64);
    EXPECT_EQ(columns.dims[0].is, 32);
    EXPECT_EQ(columns.howmany_dims[0].n, 32);
    EXPECT_EQ(columns.howmany_dims[0].is, 1);

    // c2r into an unpadded output needs the buffer; padded in place it does not.
    plan_guard unpadded{QTX_PUBLIC(plan_dft_c2r_2d)(
        12, 10, reinterpret_cast<complex_value*>(a.data()), b.data(), 0)};
    ASSERT_NE(unpadded.plan, nullptr);
    EXPECT_STREQ(record_of_handle(unpadded)->name, "execute_c2r_multidimension_buffered");
    EXPECT_EQ(record_of_handle(unpadded)->buffer_size, 12u * 6u * complex_bytes);
    const guru_dim64 padded[] = {{12, 6, 12}, {10, 1, 1}};
    plan_guard direct{QTX_PUBLIC(plan_guru64_dft_c2r)(
        2, padded, 0, nullptr, reinterpret_cast<complex_value*>(a.data()), a.data(), 0)};
    ASSERT_NE(direct.plan, nullptr);
    EXPECT_STREQ(record_of_handle(direct)->name, "execute_c2r_multidimension");
    EXPECT_EQ(record_of_handle(direct)->buffer, nullptr);

    // Rank 3 real-to-real: the inner pass carries the kinds of d1 and d2, the outer one d0's.
    const guru_dim64 cube[] = {{4, 30, 30}, {5, 6, 6}, {6, 1, 1}};
    const int kinds[] = {5, 7, 1};
    plan_guard r2r{QTX_PUBLIC(plan_guru64_r2r)(3, cube, 0, nullptr, a.data(), b.data(), kinds, 0)};
    ASSERT_NE(r2r.plan, nullptr);
    const plan_record* rr = record_of_handle(r2r);
    EXPECT_EQ(rr->children[0].r2r_kinds[0], 7u);
    EXPECT_EQ(rr->children[0].r2r_kinds[1], 1u);
    EXPECT_EQ(rr->children[1].r2r_kinds[0], 5u);
}

} // namespace
