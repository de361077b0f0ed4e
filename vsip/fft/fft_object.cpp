// FFT objects: one-dimensional complex transforms of a fixed length, a thin wrapper around a
// single-precision engine plan made between two work buffers that the object owns. Contiguous
// interleaved views are transformed where they lie; any other view is gathered into the input
// buffer, transformed into the output buffer and scattered back. Scaling is a second pass.
#include "qtx_fft.h"
#include "qvsip.h"
#include "vsip/frame.hpp"
#include "vsip/record.hpp"
#include "vsip/support.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace qvsip {

// What the engine needs: the two work buffers of length N, the plan between them and its sign.
struct fft_engine_state {
    qtx_fftf_complex* input;
    qtx_fftf_complex* output;
    qtx_fftf_plan plan;
    std::int32_t sign;
    std::uint32_t tag;
};

// The place field of the two kinds of object.
inline constexpr std::uint32_t in_place_mode = 1;
inline constexpr std::uint32_t out_of_place_mode = 0;

// Planner flags passed for each hint. The engine accepts and ignores every flag (planning never
// measures); the values only keep what callers of the engine see unchanged.
inline constexpr unsigned planner_flags_for_space_hint = 0;
inline constexpr unsigned planner_flags_default = 64;

// Bytes of one complex float; a work buffer's byte count must be a positive 32-bit value.
inline constexpr std::uint64_t complex_bytes = 2 * sizeof(float);
inline constexpr std::uint64_t max_buffer_bytes = std::numeric_limits<std::int32_t>::max();

} // namespace qvsip

struct vsip_fft_f_s {
    std::uint64_t reserved[2];
    float scale;
    std::uint64_t length;
    std::int32_t direction;
    std::uint32_t place;
    std::uint32_t ntimes;
    std::uint32_t hint;
    qvsip::fft_engine_state* state;
    std::uint32_t tag;
};

namespace qvsip {
namespace {

qtx_fftf_complex* allocate_buffer(std::uint64_t bytes) {
    return static_cast<qtx_fftf_complex*>(allocate_record_bytes(bytes));
}

// Releases whatever of the state exists; safe on a partly built one.
void release_state(fft_engine_state* state) {
    if (state == nullptr) return;
    release_record(state->input);
    release_record(state->output);
    if (state->plan != nullptr) qtx_fftf_destroy_plan(state->plan);
    retire_record(state);
}

// Buffers and plan for length n, or null with everything released.
fft_engine_state* make_engine_state(vsip_length n, int sign, unsigned flags) {
    fft_engine_state* state = new_record<fft_engine_state>();
    if (state == nullptr) return nullptr;
    state->tag = live_tag;
    state->sign = sign;
    const bool size_fits = n > 0 && n <= max_buffer_bytes / complex_bytes;
    if (size_fits) {
        state->input = allocate_buffer(n * complex_bytes);
        state->output = allocate_buffer(n * complex_bytes);
    }
    qtx_fftf_plan_with_nthreads(qvsip::thread_count());
    if (state->input != nullptr && state->output != nullptr)
        state->plan =
            qtx_fftf_plan_dft_1d(static_cast<int>(n), state->input, state->output, sign, flags);
    if (state->plan == nullptr) {
        release_state(state);
        return nullptr;
    }
    return state;
}

vsip_fft_f* create_fft(vsip_length n, vsip_scalar_f scale, vsip_fft_dir dir, vsip_length ntimes,
                       vsip_alg_hint hint, std::uint32_t place) {
    vsip_fft_f* fft = new_record<vsip_fft_f>();
    if (fft == nullptr) return nullptr;
    const int sign = dir == VSIP_FFT_FWD ? -1 : +1;
    const unsigned flags =
        hint == VSIP_ALG_SPACE ? planner_flags_for_space_hint : planner_flags_default;
    fft->state = make_engine_state(n, sign, flags);
    if (fft->state == nullptr) {
        retire_record(fft);
        return nullptr;
    }
    fft->scale = scale;
    fft->length = n;
    fft->direction = dir;
    fft->place = place;
    fft->ntimes = static_cast<std::uint32_t>(ntimes);
    fft->hint = static_cast<std::uint32_t>(hint);
    fft->tag = live_tag;
    return fft;
}

// The engine may run on the caller's array only when it holds all N values contiguously
// interleaved; a shorter view goes through the buffers so nothing past its end is touched.
bool transformable_in_place(const complex_vector& v, vsip_length n) {
    return dense_interleaved(v) && v.length >= n;
}

qtx_fftf_complex* interleaved_data(const complex_vector& v) {
    return reinterpret_cast<qtx_fftf_complex*>(v.re);
}

// Copies the view's first min(length, n) values into the buffer and zeroes the rest, so that a
// short view is transformed as if padded with zeros rather than with an earlier call's data.
void gather(const complex_vector& v, vsip_length n, qtx_fftf_complex* buffer) {
    const vsip_length count = std::min(v.length, n);
    for (vsip_length i = 0; i < count; ++i) {
        const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(i) * v.stride;
        buffer[i][0] = v.re[at];
        buffer[i][1] = v.im[at];
    }
    std::fill(buffer[0] + 2 * count, buffer[0] + 2 * n, 0.0f);
}

void scatter(const qtx_fftf_complex* buffer, vsip_length n, const complex_vector& v) {
    const vsip_length count = std::min(v.length, n);
    for (vsip_length i = 0; i < count; ++i) {
        const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(i) * v.stride;
        v.re[at] = buffer[i][0];
        v.im[at] = buffer[i][1];
    }
}

void transform(const vsip_fft_f& fft, const vsip_cvview_f& x, const vsip_cvview_f& y) {
    const fft_engine_state& state = *fft.state;
    const complex_vector in = resolve(x), out = resolve(y);
    if (transformable_in_place(in, fft.length) && transformable_in_place(out, fft.length)) {
        qtx_fftf_execute_dft(state.plan, interleaved_data(in), interleaved_data(out));
    } else {
        gather(in, fft.length, state.input);
        qtx_fftf_execute_dft(state.plan, state.input, state.output);
        scatter(state.output, fft.length, out);
    }
    // A NaN scale is not 1 either: it is applied.
    if (!(fft.scale == 1.0f)) vsip_rscvmul_f(fft.scale, &y, &y);
}

} // namespace
} // namespace qvsip

vsip_fft_f* vsip_ccfftip_create_f(vsip_length N, vsip_scalar_f scale, vsip_fft_dir dir,
                                  vsip_length ntimes, vsip_alg_hint hint) {
    return qvsip::create_fft(N, scale, dir, ntimes, hint, qvsip::in_place_mode);
}

vsip_fft_f* vsip_ccfftop_create_f(vsip_length N, vsip_scalar_f scale, vsip_fft_dir dir,
                                  vsip_length ntimes, vsip_alg_hint hint) {
    return qvsip::create_fft(N, scale, dir, ntimes, hint, qvsip::out_of_place_mode);
}

void vsip_ccfftip_f(const vsip_fft_f* fft, const vsip_cvview_f* xy) {
    if (fft == nullptr || xy == nullptr) return;
    qvsip::transform(*fft, *xy, *xy);
}

void vsip_ccfftop_f(const vsip_fft_f* fft, const vsip_cvview_f* x, const vsip_cvview_f* y) {
    if (fft == nullptr || x == nullptr || y == nullptr) return;
    qvsip::transform(*fft, *x, *y);
}

int vsip_fft_destroy_f(vsip_fft_f* fft) {
    if (fft == nullptr) return 0;
    qvsip::release_state(fft->state);
    qvsip::retire_record(fft);
    return 0;
}
