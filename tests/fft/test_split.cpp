// Split-complex transforms against the interleaved transforms of the same problems (which the
// other tests hold to the oracle), and the plans the split solvers make.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/case_names.hpp"
#include "common/engine_support.hpp"
#include "fft/solvers/split.hpp"

using namespace qtx::QTX_ENGINE;
using namespace qtx::test;

namespace {

enum class family { c2c, r2c, c2r };

struct split_case {
    const char* label;
    family f;
    std::vector<guru_dim64> dims, howmany;
    bool in_place = false; // the outputs are the input arrays
};

// Parameterised cases print as their labels.
void PrintTo(const split_case& c, std::ostream* os) {
    *os << c.label;
}

// Complex-side counts: the innermost length of a real transform's complex side is ⌊n/2⌋ + 1.
int64_t extent(const split_case& c, bool input) {
    int64_t last = 0;
    const bool complex_side = input ? c.f != family::r2c : c.f != family::c2r;
    for (const auto* list : {&c.howmany, &c.dims})
        for (size_t i = 0; i < list->size(); ++i) {
            const guru_dim64& d = (*list)[i];
            int64_t n = d.n;
            if (complex_side && c.f != family::c2c && list == &c.dims && i + 1 == list->size())
                n = n / 2 + 1;
            last += (n - 1) * (input ? d.in_stride : d.out_stride);
        }
    return last + 1;
}

struct split_arrays {
    std::vector<real> in_re, in_im, out_re, out_im;
};

constexpr real untouched = real(-7.25);

split_arrays make_arrays(const split_case& c) {
    size_t in = static_cast<size_t>(extent(c, true)), out = static_cast<size_t>(extent(c, false));
    if (c.in_place) in = out = std::max(in, out);
    const std::vector<real> re = to_working<real>(random_signal(in, 51));
    split_arrays a{std::vector<real>(in), std::vector<real>(in), std::vector<real>(out, untouched),
                   std::vector<real>(out, untouched)};
    for (size_t i = 0; i < in; ++i)
        a.in_re[i] = re[2 * i], a.in_im[i] = re[2 * i + 1];
    return a;
}

// In place, the output's real part is the input's real array, and a complex output's
// imaginary part the input's imaginary array.
plan_handle plan_split(const split_case& c, split_arrays& a) {
    const int rank = static_cast<int>(c.dims.size()), batch = static_cast<int>(c.howmany.size());
    real* out_re = c.in_place ? a.in_re.data() : a.out_re.data();
    real* out_im = c.in_place && c.f == family::c2c ? a.in_im.data() : a.out_im.data();
    switch (c.f) {
    case family::c2c:
        return QTX_PUBLIC(plan_guru64_split_dft)(rank, c.dims.data(), batch, c.howmany.data(),
                                                 a.in_re.data(), a.in_im.data(), out_re, out_im, 0);
    case family::r2c:
        return QTX_PUBLIC(plan_guru64_split_dft_r2c)(rank, c.dims.data(), batch, c.howmany.data(),
                                                     a.in_re.data(), out_re, out_im, 0);
    case family::c2r:
        return QTX_PUBLIC(plan_guru64_split_dft_c2r)(rank, c.dims.data(), batch, c.howmany.data(),
                                                     a.in_re.data(), a.in_im.data(), out_re, 0);
    }
    return nullptr;
}

// The same problem interleaved: complex arrays where the split case has two real ones.
std::vector<real> interleaved_result(const split_case& c, const split_arrays& a) {
    const size_t in = a.in_re.size(), out = a.out_re.size();
    std::vector<real> x(2 * in), y(2 * out, 0);
    for (size_t i = 0; i < in; ++i)
        x[2 * i] = a.in_re[i], x[2 * i + 1] = a.in_im[i];
    const int rank = static_cast<int>(c.dims.size()), batch = static_cast<int>(c.howmany.size());
    auto* cx = reinterpret_cast<complex_value*>(x.data());
    auto* cy = reinterpret_cast<complex_value*>(y.data());
    plan_guard p{nullptr};
    if (c.f == family::c2c)
        p.plan = QTX_PUBLIC(plan_guru64_dft)(rank, c.dims.data(), batch, c.howmany.data(), cx, cy,
                                             -1, 0);
    else if (c.f == family::r2c)
        p.plan = QTX_PUBLIC(plan_guru64_dft_r2c)(rank, c.dims.data(), batch, c.howmany.data(),
                                                 const_cast<real*>(a.in_re.data()), cy, 0);
    else
        p.plan = QTX_PUBLIC(plan_guru64_dft_c2r)(rank, c.dims.data(), batch, c.howmany.data(), cx,
                                                 y.data(), 0);
    EXPECT_NE(p.plan, nullptr) << c.label;
    if (p.plan != nullptr) QTX_PUBLIC(execute)(p.plan);
    return y;
}

const std::vector<split_case>& cases() {
    static const std::vector<split_case> all = {
        {"c2c 8", family::c2c, {{8, 1, 1}}, {}},
        {"c2c 100 strided", family::c2c, {{100, 2, 3}}, {}},
        {"c2c 12 x 10", family::c2c, {{12, 10, 10}, {10, 1, 1}}, {}},
        {"c2c 4 x 6 x 5", family::c2c, {{4, 30, 30}, {6, 5, 5}, {5, 1, 1}}, {}},
        {"c2c 3 batches of 16", family::c2c, {{16, 1, 1}}, {{3, 16, 20}}},
        {"c2c 2 batches of 6 x 4", family::c2c, {{6, 4, 4}, {4, 1, 1}}, {{2, 24, 24}}},
        {"r2c 9", family::r2c, {{9, 1, 1}}, {}},
        {"r2c 8 x 6", family::r2c, {{8, 6, 4}, {6, 1, 1}}, {}},
        {"r2c 3 batches of 16", family::r2c, {{16, 1, 1}}, {{3, 16, 9}}},
        {"c2r 8", family::c2r, {{8, 1, 1}}, {}},
        {"c2r 8 x 6", family::c2r, {{8, 4, 6}, {6, 1, 1}}, {}},
        {"c2r 3 batches of 15", family::c2r, {{15, 1, 1}}, {{3, 8, 15}}},
        // In place with other output distances: a transform's output lands on input that a
        // later transform has yet to read.
        {"c2c 3 batches of 16 in place", family::c2c, {{16, 1, 1}}, {{3, 16, 20}}, true},
        {"r2c 3 batches of 16 in place", family::r2c, {{16, 1, 1}}, {{3, 9, 16}}, true},
        {"c2r 3 batches of 15 in place", family::c2r, {{15, 1, 1}}, {{3, 8, 15}}, true},
    };
    return all;
}

using SplitTransform = testing::TestWithParam<split_case>;

TEST_P(SplitTransform, MatchTheInterleavedTransforms) {
    const split_case& c = GetParam();
    split_arrays a = make_arrays(c);
    const std::vector<real> want = interleaved_result(c, a);
    plan_guard p{plan_split(c, a)};
    ASSERT_NE(p.plan, nullptr) << c.label;
    QTX_PUBLIC(execute)(p.plan);
    if (c.in_place) {
        a.out_re = a.in_re;
        if (c.f == family::c2c) a.out_im = a.in_im;
    }
    double error = 0, norm = 0;
    for (size_t i = 0; i < a.out_re.size(); ++i) {
        const bool written = c.f == family::c2r ? true : want[2 * i] != 0 || want[2 * i + 1] != 0;
        const double re = c.f == family::c2r ? want[i] : want[2 * i];
        const double im = c.f == family::c2r ? 0 : want[2 * i + 1];
        if (!written) continue;
        error += (a.out_re[i] - re) * (a.out_re[i] - re);
        if (c.f != family::c2r) error += (a.out_im[i] - im) * (a.out_im[i] - im);
        norm += re * re + im * im;
    }
    EXPECT_LE(std::sqrt(error / norm), transform_error_bound<real>(64, 4.0)) << c.label;
    // The imaginary output of a complex-to-real transform is never written.
    if (c.f == family::c2r) {
        for (real v : a.out_im)
            EXPECT_EQ(v, untouched) << c.label;
    }
}

INSTANTIATE_TEST_SUITE_P(Each, SplitTransform, testing::ValuesIn(cases()), named_by_label);

TEST(SplitSolvers, PlansAndEntryPoints) {
    std::vector<real> re(8), im(8), out_re(8), out_im(8), re2(8), im2(8), out_re2(8), out_im2(8);
    for (int i = 0; i < 8; ++i)
        re[i] = re2[i] = real(i), im[i] = im2[i] = real(8 - i);
    const guru_dim64 dim = {8, 1, 1};
    plan_guard p{QTX_PUBLIC(plan_guru64_split_dft)(1, &dim, 0, nullptr, re.data(), im.data(),
                                                   out_re.data(), out_im.data(), 0)};
    ASSERT_NE(p.plan, nullptr);
    EXPECT_STREQ(p.record()->name, "execute_split");
    EXPECT_EQ(p.record()->buffer_size, 8u * complex_bytes);
    // The interleaved-signature entry runs on the arrays recorded at planning.
    QTX_PUBLIC(execute)(p.plan);
    QTX_PUBLIC(execute_split_dft)(p.plan, re2.data(), im2.data(), out_re2.data(), out_im2.data());
    EXPECT_EQ(out_re, out_re2);
    EXPECT_EQ(out_im, out_im2);

    const guru_dim64 batch = {3, 8, 8};
    std::vector<real> big(24);
    plan_guard many{QTX_PUBLIC(plan_guru64_split_dft)(1, &dim, 1, &batch, big.data(), big.data(),
                                                      big.data(), big.data(), 0)};
    ASSERT_NE(many.plan, nullptr);
    EXPECT_STREQ(many.record()->name, "execute_many_split");
    EXPECT_STREQ(many.record()->children->name, "execute_split");

    const guru_dim64 odd = {9, 1, 1};
    plan_guard r2c{QTX_PUBLIC(plan_guru64_split_dft_r2c)(1, &odd, 0, nullptr, big.data(),
                                                         out_re.data(), out_im.data(), 0)};
    ASSERT_NE(r2c.plan, nullptr);
    EXPECT_EQ(r2c.record()->buffer_size, 10u * sizeof(real)); // 5 complex values

    // Interleaved problems are not theirs.
    plan_record interleaved{};
    interleaved.kind = kind_c2c;
    interleaved.rank = 1;
    interleaved.dims[0] = {8, 1, 1};
    interleaved.complex_layout = layout_interleaved;
    EXPECT_EQ(solve_problem_dft_split(&interleaved), solve_declined);
    interleaved.howmany_rank = 1;
    interleaved.howmany_dims[0] = {2, 8, 8};
    EXPECT_EQ(solve_problem_dft_many_split(&interleaved), solve_declined);
}

} // namespace
