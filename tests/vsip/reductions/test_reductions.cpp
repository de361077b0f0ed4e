// Means, count of true elements and dot products: the argument checks and small exact cases
// through the public functions, and every path (dense, strided, split; T = 1 and 3; both
// profiles) against a double-precision reference through the internal entry points.
#include "qvsip.h"
#include "reduction_fixtures.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <complex>

namespace {

using namespace qvsip::test;
using qvsip::reductions::reduction_setting;

constexpr std::uint32_t quiet_nan_bits = 0x7fc00000u;
// Float sums of a few thousand terms stay within this of the exact sum, relative to the sum of
// the terms' magnitudes.
constexpr double sum_tolerance = 2e-6;

bool is_quiet_nan(float x) {
    return std::bit_cast<std::uint32_t>(x) == quiet_nan_bits;
}

std::string describe(reduction_setting s, std::uint64_t n, std::ptrdiff_t stride) {
    return "T=" + std::to_string(s.threads) + " profile=" + std::to_string(s.profile) +
           " n=" + std::to_string(n) + " stride=" + std::to_string(stride);
}

// A public real view over data (length n, stride 1) with its block; released on destruction.
struct public_real {
    vsip_vview_f* view;
    public_real(float* data, vsip_length n)
        : view(vsip_vbind_f(vsip_blockbind_f(data, n, VSIP_MEM_NONE), 0, 1, n)) {}
    ~public_real() { vsip_valldestroy_f(view); }
};

struct public_complex {
    vsip_cvview_f* view;
    public_complex(float* pairs, vsip_length n)
        : view(vsip_cvbind_f(vsip_cblockbind_f(pairs, nullptr, n, VSIP_MEM_NONE), 0, 1, n)) {}
    ~public_complex() { vsip_cvalldestroy_f(view); }
};

// ---------------------------------------------------------------------------------------------
// Public functions

TEST(ReductionArguments, NullAndEmptyViews) {
    float data[4] = {1, 2, 3, 4};
    public_real empty(data, 0);
    EXPECT_TRUE(is_quiet_nan(vsip_vmeanval_f(nullptr)));
    EXPECT_TRUE(is_quiet_nan(vsip_vmeansqval_f(nullptr)));
    if (empty.view != nullptr) {
        EXPECT_TRUE(is_quiet_nan(vsip_vmeanval_f(empty.view)));
        EXPECT_TRUE(is_quiet_nan(vsip_vmeansqval_f(empty.view)));
    }
    EXPECT_EQ(vsip_vsumval_bl(nullptr), 0u);

    float pairs[2] = {1, 2};
    public_complex one(pairs, 1);
    for (auto dot : {vsip_cvdot_f, vsip_cvjdot_f}) {
        const vsip_cscalar_f missing = dot(nullptr, one.view);
        EXPECT_TRUE(is_quiet_nan(missing.r) && is_quiet_nan(missing.i));
        const vsip_cscalar_f also_missing = dot(one.view, nullptr);
        EXPECT_TRUE(is_quiet_nan(also_missing.r) && is_quiet_nan(also_missing.i));
    }
}

TEST(ReductionArguments, ZeroCountDotIsZero) {
    float pairs[2] = {1, 2}, other[2] = {3, 4};
    public_complex one(pairs, 1), none(other, 0);
    if (none.view == nullptr) GTEST_SKIP() << "zero-length views are not bound";
    for (auto dot : {vsip_cvdot_f, vsip_cvjdot_f}) {
        const vsip_cscalar_f r = dot(one.view, none.view);
        EXPECT_EQ(r.r, 0.0f);
        EXPECT_EQ(r.i, 0.0f);
    }
}

// Reductions also test the block and its data pointer behind a view.
TEST(ReductionArguments, MissingDataGivesNaN) {
    vsip_block_f_s no_data{};
    no_data.element_stride = 1;
    no_data.length = 4;
    vsip_vview_f_s view{};
    view.block = &no_data;
    view.stride = 1;
    view.length = 4;
    EXPECT_TRUE(is_quiet_nan(vsip_vmeanval_f(&view)));
    EXPECT_TRUE(is_quiet_nan(vsip_vmeansqval_f(&view)));
    view.block = nullptr;
    EXPECT_TRUE(is_quiet_nan(vsip_vmeanval_f(&view)));

    vsip_cblock_f_s no_parts{};
    no_parts.element_stride = 2;
    no_parts.length = 1;
    vsip_cvview_f_s complex_view{};
    complex_view.block = &no_parts;
    complex_view.stride = 1;
    complex_view.length = 1;
    const vsip_cscalar_f r = vsip_cvdot_f(&complex_view, &complex_view);
    EXPECT_TRUE(is_quiet_nan(r.r) && is_quiet_nan(r.i));

    vsip_block_bl_s no_flags{};
    vsip_vview_bl_s flags{};
    flags.block = &no_flags;
    flags.stride = 1;
    flags.length = 4;
    EXPECT_EQ(vsip_vsumval_bl(&flags), 0u);
}

TEST(ReductionValues, SmallExactCasesSeriallyAndInParallel) {
    for (int threads : {1, 3}) {
        ASSERT_EQ(QVSIP_SetOmpThreadNum(threads), 0);
        float four[4] = {1, 2, 3, 4}, two[2] = {1, -2};
        public_real a(four, 4), b(two, 2);
        EXPECT_EQ(vsip_vmeanval_f(a.view), 2.5f);
        EXPECT_EQ(vsip_vmeansqval_f(b.view), 2.5f);

        vsip_scalar_bl flags[4] = {0, 5, -1, 0};
        vsip_vview_bl* f = vsip_vbind_bl(vsip_blockbind_bl(flags, 4, VSIP_MEM_NONE), 0, 1, 4);
        EXPECT_EQ(vsip_vsumval_bl(f), 2u);
        vsip_valldestroy_bl(f);

        float x[2] = {1, 2}, y[2] = {3, 4};
        public_complex cx(x, 1), cy(y, 1);
        const vsip_cscalar_f d = vsip_cvdot_f(cx.view, cy.view);
        EXPECT_EQ(d.r, -5.0f);
        EXPECT_EQ(d.i, 10.0f);
        const vsip_cscalar_f j = vsip_cvjdot_f(cx.view, cy.view);
        EXPECT_EQ(j.r, 11.0f);
        EXPECT_EQ(j.i, 2.0f);
    }
    QVSIP_SetOmpThreadNum(1);
}

// ---------------------------------------------------------------------------------------------
// Every path against a double reference

TEST(Means, AgreeWithDoubleReferenceOnEveryPath) {
    for (const reduction_setting& setting : all_settings)
        for (std::ptrdiff_t stride : strides)
            for (std::uint64_t n : test_lengths) {
                strided_reals a(n, stride);
                double sum = 0, squares = 0, magnitudes = 0;
                for (std::uint64_t i = 0; i < n; ++i) {
                    a[i] = uniform(-2.0f, 3.0f);
                    sum += a[i];
                    squares += double(a[i]) * a[i];
                    magnitudes += std::fabs(a[i]);
                }
                const double dn = double(n);
                SCOPED_TRACE(describe(setting, n, stride));
                EXPECT_NEAR(qvsip::reductions::mean(a.view(), setting), sum / dn,
                            sum_tolerance * magnitudes / dn + 1e-7);
                EXPECT_NEAR(qvsip::reductions::mean_square(a.view(), setting), squares / dn,
                            sum_tolerance * squares / dn + 1e-7);
            }
}

TEST(CountTrue, ExactOnEveryPath) {
    for (const reduction_setting& setting : all_settings)
        for (std::ptrdiff_t stride : {std::ptrdiff_t{1}, std::ptrdiff_t{3}})
            for (std::uint64_t n : test_lengths) {
                std::vector<vsip_scalar_bl> data(n * static_cast<std::uint64_t>(stride), 7);
                vsip_length expected = 0;
                for (std::uint64_t i = 0; i < n; ++i) {
                    const bool on = uniform(0, 1) < 0.4f;
                    data[i * static_cast<std::uint64_t>(stride)] = on ? -3 : 0;
                    expected += on ? 1 : 0;
                }
                SCOPED_TRACE(describe(setting, n, stride));
                EXPECT_EQ(qvsip::reductions::count_true({data.data(), stride, n}, setting),
                          expected);
            }
}

TEST(DotProducts, AgreeWithDoubleReferenceInEveryStorageAndPath) {
    for (const reduction_setting& setting : all_settings)
        for (const complex_layout& sa : complex_layouts)
            for (const complex_layout& sb : complex_layouts)
                for (std::uint64_t n : test_lengths) {
                    complex_data a(n, sa), b(n + 5, sb);
                    std::complex<double> dot = 0, conjugate = 0;
                    double magnitudes = 0;
                    for (std::uint64_t i = 0; i < n + 5; ++i) {
                        b.re(i) = uniform(-1, 1);
                        b.im(i) = uniform(-1, 1);
                        if (i >= n) continue;
                        a.re(i) = uniform(-1, 1);
                        a.im(i) = uniform(-1, 1);
                        const std::complex<double> x(a.re(i), a.im(i)), y(b.re(i), b.im(i));
                        dot += x * y;
                        conjugate += x * std::conj(y);
                        magnitudes += std::abs(x) * std::abs(y);
                    }
                    SCOPED_TRACE(describe(setting, n, 0) + " storages " + sa.name + " " + sb.name);
                    const double tolerance = sum_tolerance * magnitudes + 1e-6;
                    const vsip_cscalar_f d = qvsip::reductions::dot(a.vector, b.vector, n, setting);
                    EXPECT_NEAR(d.r, dot.real(), tolerance);
                    EXPECT_NEAR(d.i, dot.imag(), tolerance);
                    const vsip_cscalar_f j =
                        qvsip::reductions::conjugate_dot(a.vector, b.vector, n, setting);
                    EXPECT_NEAR(j.r, conjugate.real(), tolerance);
                    EXPECT_NEAR(j.i, conjugate.imag(), tolerance);
                }
}

} // namespace
