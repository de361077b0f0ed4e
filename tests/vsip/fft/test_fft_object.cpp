// FFT objects against FFTW in double precision: lengths from 1 to 2^17, dense, strided, split
// and offset views, in place and out of place, scaling, directions, and the creation paths
// that must fail and release what they made.
#include "common/oracle.hpp"
#include "qvsip.h"
#include "vsip/memory_probe.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using qtx::test::double_signal;

constexpr float guard_value = -12345.0f; // marks block scalars that no call may touch

enum class complex_format { interleaved, split };

// A complex block on test-owned arrays filled with guard_value, and the views bound on it.
class complex_storage {
  public:
    complex_storage(complex_format layout, vsip_length elements)
        : layout_(layout),
          re_(layout == complex_format::interleaved ? 2 * elements : elements, guard_value),
          im_(layout == complex_format::split ? elements : 0, guard_value),
          block_(vsip_cblockbind_f(re_.data(),
                                   layout == complex_format::split ? im_.data() : nullptr, elements,
                                   VSIP_MEM_NONE)) {}
    ~complex_storage() {
        for (vsip_cvview_f* view : views_)
            vsip_cvdestroy_f(view);
        vsip_cblockdestroy_f(block_);
    }
    complex_storage(const complex_storage&) = delete;
    complex_storage& operator=(const complex_storage&) = delete;

    // Binds a view and stores x into its elements.
    vsip_cvview_f* view(vsip_offset offset, vsip_stride stride, const double_signal& x) {
        for (size_t i = 0; i < x.size(); ++i) {
            const size_t at = offset + i * stride;
            real(at) = static_cast<float>(x[i].real());
            imag(at) = static_cast<float>(x[i].imag());
        }
        views_.push_back(vsip_cvbind_f(block_, offset, stride, x.size()));
        return views_.back();
    }
    std::vector<float> snapshot() const {
        std::vector<float> all(re_);
        all.insert(all.end(), im_.begin(), im_.end());
        return all;
    }

  private:
    float& real(size_t at) { return layout_ == complex_format::split ? re_[at] : re_[2 * at]; }
    float& imag(size_t at) { return layout_ == complex_format::split ? im_[at] : re_[2 * at + 1]; }

    complex_format layout_;
    std::vector<float> re_, im_;
    vsip_cblock_f* block_;
    std::vector<vsip_cvview_f*> views_;
};

struct fft_deleter {
    void operator()(vsip_fft_f* fft) const { vsip_fft_destroy_f(fft); }
};
using fft_object = std::unique_ptr<vsip_fft_f, fft_deleter>;

fft_object in_place(vsip_length n, float scale, vsip_fft_dir dir) {
    return fft_object(vsip_ccfftip_create_f(n, scale, dir, 1, VSIP_ALG_TIME));
}
fft_object out_of_place(vsip_length n, float scale, vsip_fft_dir dir) {
    return fft_object(vsip_ccfftop_create_f(n, scale, dir, 1, VSIP_ALG_TIME));
}

double_signal random_values(vsip_length n, std::uint32_t seed) {
    return qtx::test::to_double(qtx::test::random_signal(n, seed));
}

double_signal values_of(const vsip_cvview_f* v, vsip_length n) {
    double_signal x(n);
    for (vsip_length i = 0; i < n; ++i) {
        const vsip_cscalar_f z = vsip_cvget_f(v, i);
        x[i] = {z.r, z.i};
    }
    return x;
}

// FFTW in double of the float-rounded input, times scale.
double_signal expected(const double_signal& x, int sign, double scale) {
    double_signal rounded(x.size());
    for (size_t i = 0; i < x.size(); ++i)
        rounded[i] = {float(x[i].real()), float(x[i].imag())};
    double_signal y = qtx::test::reference_dft_double(rounded, sign);
    for (auto& v : y)
        v *= scale;
    return y;
}

double relative_error(const double_signal& got, const double_signal& want) {
    double error = 0, norm = 0;
    for (size_t i = 0; i < want.size(); ++i) {
        error += std::norm(got[i] - want[i]);
        norm += std::norm(want[i]);
    }
    return norm == 0 ? std::sqrt(error) : std::sqrt(error / norm);
}

double bound(vsip_length n) {
    return qtx::test::transform_error_bound<float>(n, 4.0);
}

// ---------------------------------------------------------------------------------------------
// Creation and destruction

TEST(FftObjectCreate, RefusesLengthsWithoutAPositive31BitBufferSize) {
    for (vsip_length n : {vsip_length{0}, vsip_length{268435456}, vsip_length{1} << 32}) {
        EXPECT_EQ(vsip_ccfftip_create_f(n, 1, VSIP_FFT_FWD, 1, VSIP_ALG_TIME), nullptr) << n;
        EXPECT_EQ(vsip_ccfftop_create_f(n, 1, VSIP_FFT_FWD, 1, VSIP_ALG_TIME), nullptr) << n;
    }
    EXPECT_EQ(vsip_fft_destroy_f(nullptr), 0);
}

TEST(FftObjectCreate, EveryFailedAllocationReleasesWhatWasMade) {
    qvsip::test::memory_probe probe;
    // Object, state, input buffer, output buffer.
    for (int successes = 0; successes < 4; ++successes) {
        probe.fail_after(successes);
        EXPECT_EQ(vsip_ccfftop_create_f(64, 1, VSIP_FFT_FWD, 1, VSIP_ALG_TIME), nullptr);
        EXPECT_EQ(probe.live(), 0) << successes;
    }
    probe.fail_after(-1);
    vsip_fft_f* fft = vsip_ccfftip_create_f(64, 1, VSIP_FFT_FWD, 1, VSIP_ALG_SPACE);
    ASSERT_NE(fft, nullptr);
    EXPECT_EQ(probe.live(), 4);
    EXPECT_EQ(vsip_fft_destroy_f(fft), 0);
    EXPECT_EQ(probe.live(), 0);
}

TEST(FftObjectExecute, NullArgumentsDoNothing) {
    fft_object fft = out_of_place(4, 1, VSIP_FFT_FWD);
    complex_storage storage(complex_format::interleaved, 4);
    const double_signal x = random_values(4, 1);
    vsip_cvview_f* v = storage.view(0, 1, x);
    const auto before = storage.snapshot();
    vsip_ccfftip_f(nullptr, v);
    vsip_ccfftip_f(fft.get(), nullptr);
    vsip_ccfftop_f(nullptr, v, v);
    vsip_ccfftop_f(fft.get(), nullptr, v);
    vsip_ccfftop_f(fft.get(), v, nullptr);
    EXPECT_EQ(storage.snapshot(), before);
}

// ---------------------------------------------------------------------------------------------
// Values

TEST(FftObjectExecute, ImpulseAndItsScaledInverse) {
    complex_storage storage(complex_format::interleaved, 4);
    vsip_cvview_f* v = storage.view(0, 1, {{1, 0}, {0, 0}, {0, 0}, {0, 0}});
    vsip_ccfftip_f(in_place(4, 1, VSIP_FFT_FWD).get(), v);
    EXPECT_EQ(values_of(v, 4), (double_signal{{1, 0}, {1, 0}, {1, 0}, {1, 0}}));
    vsip_ccfftip_f(in_place(4, 0.25f, VSIP_FFT_INV).get(), v);
    EXPECT_EQ(values_of(v, 4), (double_signal{{1, 0}, {0, 0}, {0, 0}, {0, 0}}));
}

// Every kind of view against FFTW: dense (direct), stride 2, split and offset by one element.
struct view_shape {
    const char* name;
    complex_format layout;
    vsip_offset offset;
    vsip_stride stride;
};
constexpr view_shape shapes[] = {{"dense", complex_format::interleaved, 0, 1},
                                 {"offset", complex_format::interleaved, 1, 1},
                                 {"stride2", complex_format::interleaved, 1, 2},
                                 {"split", complex_format::split, 0, 1},
                                 {"split_stride3", complex_format::split, 2, 3}};

std::vector<vsip_length> test_lengths() {
    std::vector<vsip_length> lengths;
    for (vsip_length n = 1; n <= 64; ++n)
        lengths.push_back(n);
    for (vsip_length n : {97, 101, 120, 128, 256, 1000, 1009, 4096, 4099, 131072})
        lengths.push_back(n);
    return lengths;
}

// Runs x through the object on a view of the given shape; checks the result, that nothing
// outside the output view changed and, out of place, that x is unchanged.
void check_transform(vsip_length n, const view_shape& shape, bool place_in, int direction,
                     float scale) {
    SCOPED_TRACE(testing::Message() << shape.name << " n=" << n << (place_in ? " ip" : " op")
                                    << " dir=" << direction << " scale=" << scale);
    const double_signal x = random_values(n, static_cast<std::uint32_t>(n));
    const vsip_length elements = shape.offset + (n - 1) * shape.stride + 2;
    complex_storage in_storage(shape.layout, elements), out_storage(shape.layout, elements);
    vsip_cvview_f* in = in_storage.view(shape.offset, shape.stride, x);
    const auto dir = static_cast<vsip_fft_dir>(direction);
    const int sign = direction == -1 ? -1 : +1;
    double_signal got;
    if (place_in) {
        fft_object fft = in_place(n, scale, dir);
        ASSERT_NE(fft, nullptr);
        vsip_ccfftip_f(fft.get(), in);
        got = values_of(in, n);
    } else {
        fft_object fft = out_of_place(n, scale, dir);
        ASSERT_NE(fft, nullptr);
        vsip_cvview_f* out = out_storage.view(shape.offset, shape.stride, double_signal(n));
        const auto input_before = in_storage.snapshot();
        const auto output_before = out_storage.snapshot();
        vsip_ccfftop_f(fft.get(), in, out);
        EXPECT_EQ(in_storage.snapshot(), input_before);
        got = values_of(out, n);
        // Only the view's own scalars may differ.
        const auto output_after = out_storage.snapshot();
        size_t changed = 0;
        for (size_t i = 0; i < output_after.size(); ++i)
            changed += output_after[i] != output_before[i];
        EXPECT_LE(changed, 2 * n);
    }
    EXPECT_LT(relative_error(got, expected(x, sign, scale)), bound(n));
}

TEST(FftObjectExecute, MatchesTheOracleOnEveryViewShape) {
    for (vsip_length n : test_lengths())
        for (const view_shape& shape : shapes)
            for (bool place_in : {true, false})
                check_transform(n, shape, place_in, place_in ? -1 : 1, 1.0f);
}

TEST(FftObjectExecute, ScalesAndTreatsAnyOtherDirectionAsInverse) {
    for (vsip_length n : {4, 60, 1000})
        for (const view_shape& shape : {shapes[0], shapes[2], shapes[3]})
            for (bool place_in : {true, false}) {
                check_transform(n, shape, place_in, -1, 2.0f);
                check_transform(n, shape, place_in, 5, 1.0f / float(n));
            }
}

TEST(FftObjectExecute, GuardsAroundTheViewStayUntouchedInPlace) {
    const vsip_length n = 48;
    for (const view_shape& shape : shapes) {
        complex_storage storage(shape.layout, shape.offset + (n - 1) * shape.stride + 2);
        const double_signal x = random_values(n, 9);
        vsip_cvview_f* v = storage.view(shape.offset, shape.stride, x);
        const auto before = storage.snapshot();
        vsip_ccfftip_f(in_place(n, 1, VSIP_FFT_FWD).get(), v);
        const auto after = storage.snapshot();
        size_t changed = 0;
        for (size_t i = 0; i < after.size(); ++i)
            changed += after[i] != before[i];
        EXPECT_LE(changed, 2 * n) << shape.name;
        EXPECT_LT(relative_error(values_of(v, n), expected(x, -1, 1)), bound(n)) << shape.name;
    }
}

// A view shorter than the object's length is transformed as if padded with zeros, and nothing
// past its end is read or written, even when it is dense.
TEST(FftObjectExecute, ShortViewsStayWithinThemselves) {
    const vsip_length n = 32, short_length = 20;
    fft_object fft = in_place(n, 1, VSIP_FFT_FWD);
    complex_storage storage(complex_format::interleaved, n);
    double_signal x = random_values(short_length, 3);
    vsip_cvview_f* v = storage.view(0, 1, x);
    vsip_ccfftip_f(fft.get(), v);
    const auto after = storage.snapshot();
    for (size_t i = 2 * short_length; i < after.size(); ++i)
        ASSERT_EQ(after[i], guard_value) << i;
    x.resize(n);
    double_signal want = expected(x, -1, 1);
    want.resize(short_length);
    EXPECT_LT(relative_error(values_of(v, short_length), want), bound(n));
}

TEST(FftObjectExecute, ObjectsMadeUnderEitherThreadCountAgree) {
    const int saved = QVSIP_GetOmpThreadNum();
    const vsip_length n = 131072;
    const double_signal x = random_values(n, 5);
    const double_signal want = expected(x, -1, 1);
    for (int threads : {1, 2}) {
        ASSERT_EQ(QVSIP_SetOmpThreadNum(threads), 0);
        complex_storage storage(complex_format::interleaved, n);
        vsip_cvview_f* v = storage.view(0, 1, x);
        vsip_ccfftip_f(in_place(n, 1, VSIP_FFT_FWD).get(), v);
        EXPECT_LT(relative_error(values_of(v, n), want), bound(n)) << threads;
    }
    QVSIP_SetOmpThreadNum(saved > 0 ? saved : 1);
}

} // namespace
