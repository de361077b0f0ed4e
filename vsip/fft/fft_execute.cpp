// Execution of an engine state on two views. When both views have the same planned dense layout
// the plan runs on their memory; otherwise the input is gathered into the input buffer,
// transformed into the output buffer and scattered. Scaling is a pass over the dense output
// (the views' memory or the output buffer) before anything is scattered.
#include "vsip/elementwise/driver.hpp"
#include "vsip/elementwise/real_arith.hpp"
#include "vsip/fft/fft_engine.hpp"
#include "vsip/frame.hpp"
#include "vsip/support.hpp"

#include <algorithm>
#include <cstdint>

namespace qvsip::fft {
namespace {

enum class layout { axis_contiguous, batch_contiguous, other };

// Floats per element: 2 on a complex side, which must be interleaved to be dense.
std::uint64_t unit_of(const side& s) {
    return s.im == nullptr ? 1 : 2;
}

std::ptrdiff_t at(std::uint64_t index, std::ptrdiff_t step) {
    return static_cast<std::ptrdiff_t>(index) * step;
}

// The planned layout of a side whose transforms have `length` elements; a view longer than
// that (a vector object's view) is still dense over the part the plan touches.
layout layout_of(const side& s, std::uint64_t length, std::uint64_t batch) {
    if ((s.im != nullptr && !s.interleaved) || s.length < length) return layout::other;
    const auto unit = static_cast<std::ptrdiff_t>(unit_of(s));
    if (s.axis_step == unit && (batch == 1 || s.batch_step == at(length, unit)))
        return layout::axis_contiguous;
    if (batch > 1 && s.batch_step == unit && s.axis_step == at(batch, unit))
        return layout::batch_contiguous;
    return layout::other;
}

// Whether the dense spans of two sides share memory.
bool overlap(const side& a, std::uint64_t a_floats, const side& b, std::uint64_t b_floats) {
    const auto a_begin = reinterpret_cast<std::uintptr_t>(a.re);
    const auto b_begin = reinterpret_cast<std::uintptr_t>(b.re);
    return a_begin < b_begin + b_floats * sizeof(float) &&
           b_begin < a_begin + a_floats * sizeof(float);
}

// The plan that can run on the views' memory, or null. The engine runs a plan only between
// arrays that are the same exactly when the planned ones were; a vector object's complex plan
// may also run in place.
qtx_fftf_plan direct_plan(const engine_state& state, const side& in, const side& out) {
    const transform_shape& shape = state.shape;
    const std::uint64_t in_length = input_length(shape), out_length = output_length(shape);
    const layout planned = layout_of(in, in_length, shape.batch);
    if (planned == layout::other || layout_of(out, out_length, shape.batch) != planned)
        return nullptr;
    const qtx_fftf_plan plan =
        planned == layout::axis_contiguous ? state.axis_contiguous : state.batch_contiguous;
    const bool same = in.re == out.re;
    if (shape.in_place) return same ? plan : nullptr;
    if (same)
        return shape.kind == transform_kind::complex_to_complex && shape.batch == 1 ? plan
                                                                                    : nullptr;
    const bool shared = overlap(in, in_length * shape.batch * unit_of(in), out,
                                out_length * shape.batch * unit_of(out));
    return shared ? nullptr : plan;
}

void run_plan(qtx_fftf_plan plan, transform_kind kind, float* in, float* out) {
    auto* complex_in = reinterpret_cast<qtx_fftf_complex*>(in);
    auto* complex_out = reinterpret_cast<qtx_fftf_complex*>(out);
    switch (kind) {
    case transform_kind::complex_to_complex:
        qtx_fftf_execute_dft(plan, complex_in, complex_out);
        break;
    case transform_kind::real_to_complex:
        qtx_fftf_execute_dft_r2c(plan, in, complex_out);
        break;
    case transform_kind::complex_to_real:
        qtx_fftf_execute_dft_c2r(plan, complex_in, out);
        break;
    }
}

// kernel(first, last) over ranges of transforms, in parallel when the copies are large enough.
template <class Kernel>
void over_batches(std::uint64_t batch, std::uint64_t length, Kernel kernel) {
    const std::uint64_t per_thread = std::max<std::uint64_t>(
        1, frame::light_elements_per_thread / std::max<std::uint64_t>(length, 1));
    frame::run_in_units(thread_count(), batch, 1, kernel, per_thread);
}

// Whether each transform of the side is one run of floats in the buffer's order, which the
// copies below move as a block (a submatrix of a dense matrix, for instance).
bool contiguous_transform(const side& s) {
    return s.im == nullptr ? s.axis_step == 1 : s.interleaved && s.axis_step == 2;
}

// Transforms [first, last) of the side into rows of `length` elements of the dense buffer: the
// first min(side length, length) elements, then zeros, so that a short vector is transformed
// as if padded with zeros rather than with an earlier call's data.
void gather(const side& s, std::uint64_t length, float* buffer, std::uint64_t first,
            std::uint64_t last) {
    const std::uint64_t count = std::min(s.length, length), unit = unit_of(s);
    for (std::uint64_t b = first; b < last; ++b) {
        float* row = buffer + b * length * unit;
        const float* re = s.re + at(b, s.batch_step);
        if (contiguous_transform(s)) {
            std::copy_n(re, count * unit, row);
        } else if (s.im == nullptr) {
            for (std::uint64_t k = 0; k < count; ++k)
                row[k] = re[at(k, s.axis_step)];
        } else {
            const float* im = s.im + at(b, s.batch_step);
            for (std::uint64_t k = 0; k < count; ++k) {
                row[2 * k] = re[at(k, s.axis_step)];
                row[2 * k + 1] = im[at(k, s.axis_step)];
            }
        }
        std::fill(row + count * unit, row + length * unit, 0.0f);
    }
}

// The inverse copy, of the first min(side length, length) elements of each row.
void scatter(const float* buffer, std::uint64_t length, const side& s, std::uint64_t first,
             std::uint64_t last) {
    const std::uint64_t count = std::min(s.length, length), unit = unit_of(s);
    for (std::uint64_t b = first; b < last; ++b) {
        const float* row = buffer + b * length * unit;
        float* re = s.re + at(b, s.batch_step);
        if (contiguous_transform(s)) {
            std::copy_n(row, count * unit, re);
        } else if (s.im == nullptr) {
            for (std::uint64_t k = 0; k < count; ++k)
                re[at(k, s.axis_step)] = row[k];
        } else {
            float* im = s.im + at(b, s.batch_step);
            for (std::uint64_t k = 0; k < count; ++k) {
                re[at(k, s.axis_step)] = row[2 * k];
                im[at(k, s.axis_step)] = row[2 * k + 1];
            }
        }
    }
}

// Multiplies count contiguous floats by scale with the element-wise drivers. A NaN scale is not
// 1 either: it is applied.
void scale_dense(float* data, std::uint64_t count, float scale) {
    if (scale == 1.0f) return;
    const elementwise::scalar_port<float> port{data, 1, count};
    const elementwise::multiply_scalar multiply{scale};
    elementwise::apply_vector(elementwise::path_set{}, multiply, multiply, port, port);
}

// Whether each side holds the element kind and the transform count the plans were made for.
bool sides_fit(const transform_shape& shape, const side& in, const side& out) {
    const bool complex_in = shape.kind != transform_kind::real_to_complex;
    const bool complex_out = shape.kind != transform_kind::complex_to_real;
    return (in.im != nullptr) == complex_in && (out.im != nullptr) == complex_out &&
           in.batch == shape.batch && out.batch == shape.batch;
}

} // namespace

side side_of(const vsip_vview_f& view) {
    const real_vector v = resolve(view);
    return {v.start, nullptr, v.stride, 0, v.length, 1, false};
}

side side_of(const vsip_cvview_f& view) {
    const complex_vector v = resolve(view);
    return {v.re, v.im, v.stride, 0, v.length, 1, interleaved(v)};
}

side side_of(const vsip_mview_f& view, vsip_major major) {
    const real_matrix m = resolve(view);
    if (major == VSIP_ROW)
        return {m.start, nullptr, m.row_stride, m.col_stride, m.row_length, m.col_length, false};
    return {m.start, nullptr, m.col_stride, m.row_stride, m.col_length, m.row_length, false};
}

side side_of(const vsip_cmview_f& view, vsip_major major) {
    const complex_matrix m = resolve(view);
    const bool pairs = interleaved(m);
    if (major == VSIP_ROW)
        return {m.re, m.im, m.row_stride, m.col_stride, m.row_length, m.col_length, pairs};
    return {m.re, m.im, m.col_stride, m.row_stride, m.col_length, m.row_length, pairs};
}

void execute(const engine_state& state, const side& in, const side& out, float scale) {
    const transform_shape& shape = state.shape;
    if (!sides_fit(shape, in, out)) return;
    const std::uint64_t in_length = input_length(shape), out_length = output_length(shape);
    const std::uint64_t out_floats = out_length * shape.batch * unit_of(out);
    if (const qtx_fftf_plan plan = direct_plan(state, in, out)) {
        run_plan(plan, shape.kind, in.re, out.re);
        scale_dense(out.re, out_floats, scale);
        return;
    }
    over_batches(shape.batch, in_length, [&](std::uint64_t first, std::uint64_t last) {
        gather(in, in_length, state.input, first, last);
    });
    run_plan(state.axis_contiguous, shape.kind, state.input, state.output);
    scale_dense(state.output, out_floats, scale);
    over_batches(shape.batch, out_length, [&](std::uint64_t first, std::uint64_t last) {
        scatter(state.output, out_length, out, first, last);
    });
}

} // namespace qvsip::fft
