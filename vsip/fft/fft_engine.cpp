// Creation and release of the engine state: buffer sizes, and the plans of the two dense layouts
// made on the buffers with the engine's 64-bit guru planners.
#include "vsip/fft/fft_engine.hpp"

#include "vsip/frame.hpp"
#include "vsip/record.hpp"

#include <cstdint>
#include <limits>

namespace qvsip::fft {
namespace {

// Planner flags passed for each hint. The engine accepts and ignores every flag (planning never
// measures); the values only keep what callers of the engine see unchanged.
constexpr unsigned planner_flags_for_space_hint = 0;
constexpr unsigned planner_flags_default = 64;

// A work buffer's byte count must be a positive 32-bit value: at most 268435455 complex values.
constexpr std::uint64_t max_buffer_bytes = std::numeric_limits<std::int32_t>::max();

bool complex_input(const transform_shape& shape) {
    return shape.kind != transform_kind::real_to_complex;
}
bool complex_output(const transform_shape& shape) {
    return shape.kind != transform_kind::complex_to_real;
}

// Bytes of a buffer of batch transforms of `length` elements, or 0 when that exceeds the limit.
std::uint64_t buffer_bytes(std::uint64_t length, std::uint64_t batch, bool complex) {
    const std::uint64_t element_bytes = (complex ? 2 : 1) * sizeof(float);
    const std::uint64_t max_elements = max_buffer_bytes / element_bytes;
    if (length == 0 || batch == 0 || length > max_elements || batch > max_elements / length)
        return 0;
    return length * batch * element_bytes;
}

bool valid_shape(const transform_shape& shape) {
    // Plans in place share one buffer, which only complex transforms can.
    const bool real_data = shape.kind != transform_kind::complex_to_complex;
    return shape.length > 0 && shape.batch > 0 && !(real_data && shape.length % 2 != 0) &&
           !(real_data && shape.in_place);
}

// Strides and distances of the two layouts on the buffers, in elements of each side.
struct layout_dims {
    qtx_fftf_dim64 transform, batch;
};
layout_dims axis_contiguous_dims(const transform_shape& shape) {
    const auto n = static_cast<std::int64_t>(shape.length);
    const auto in = static_cast<std::int64_t>(input_length(shape));
    const auto out = static_cast<std::int64_t>(output_length(shape));
    return {{n, 1, 1}, {static_cast<std::int64_t>(shape.batch), in, out}};
}
layout_dims batch_contiguous_dims(const transform_shape& shape) {
    const auto n = static_cast<std::int64_t>(shape.length);
    const auto b = static_cast<std::int64_t>(shape.batch);
    return {{n, b, b}, {b, 1, 1}};
}

qtx_fftf_plan make_plan(const engine_state& state, const layout_dims& dims, unsigned flags) {
    const transform_shape& shape = state.shape;
    // A single transform is planned without a batch dimension, as a plain 1-D transform.
    const int batch_rank = shape.batch > 1 ? 1 : 0;
    auto* complex_in = reinterpret_cast<qtx_fftf_complex*>(state.input);
    auto* complex_out = reinterpret_cast<qtx_fftf_complex*>(state.output);
    switch (shape.kind) {
    case transform_kind::complex_to_complex:
        return qtx_fftf_plan_guru64_dft(1, &dims.transform, batch_rank, &dims.batch, complex_in,
                                        complex_out, shape.sign, flags);
    case transform_kind::real_to_complex:
        return qtx_fftf_plan_guru64_dft_r2c(1, &dims.transform, batch_rank, &dims.batch,
                                            state.input, complex_out, flags);
    case transform_kind::complex_to_real:
        return qtx_fftf_plan_guru64_dft_c2r(1, &dims.transform, batch_rank, &dims.batch, complex_in,
                                            state.output, flags);
    }
    return nullptr;
}

float* allocate_buffer(std::uint64_t bytes) {
    return bytes == 0 ? nullptr : static_cast<float*>(allocate_record_bytes(bytes));
}

} // namespace

std::uint64_t input_length(const transform_shape& shape) {
    return shape.kind == transform_kind::complex_to_real ? shape.length / 2 + 1 : shape.length;
}

std::uint64_t output_length(const transform_shape& shape) {
    return shape.kind == transform_kind::real_to_complex ? shape.length / 2 + 1 : shape.length;
}

void release_engine_state(engine_state* state) {
    if (state == nullptr) return;
    if (state->axis_contiguous != nullptr) qtx_fftf_destroy_plan(state->axis_contiguous);
    if (state->batch_contiguous != nullptr) qtx_fftf_destroy_plan(state->batch_contiguous);
    if (state->output != state->input) release_record(state->output);
    release_record(state->input);
    retire_record(state);
}

engine_state* make_engine_state(const transform_shape& shape, vsip_alg_hint hint) {
    engine_state* state = new_record<engine_state>();
    if (state == nullptr) return nullptr;
    state->tag = live_tag;
    state->shape = shape;
    if (valid_shape(shape)) {
        const std::uint64_t in_bytes =
            buffer_bytes(input_length(shape), shape.batch, complex_input(shape));
        const std::uint64_t out_bytes =
            buffer_bytes(output_length(shape), shape.batch, complex_output(shape));
        if (in_bytes != 0 && out_bytes != 0) {
            state->input = allocate_buffer(in_bytes);
            state->output = shape.in_place ? state->input : allocate_buffer(out_bytes);
        }
    }
    const unsigned flags =
        hint == VSIP_ALG_SPACE ? planner_flags_for_space_hint : planner_flags_default;
    qtx_fftf_plan_with_nthreads(thread_count());
    if (state->input != nullptr && state->output != nullptr) {
        state->axis_contiguous = make_plan(*state, axis_contiguous_dims(shape), flags);
        if (shape.batch > 1)
            state->batch_contiguous = make_plan(*state, batch_contiguous_dims(shape), flags);
    }
    if (state->axis_contiguous == nullptr) {
        release_engine_state(state);
        return nullptr;
    }
    return state;
}

} // namespace qvsip::fft
