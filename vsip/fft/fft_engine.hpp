// The engine side of every FFT object: a run of transforms (one for vector objects, one per row
// or column for matrix objects), the work buffers and the single-precision engine plans made for
// it at creation, and the execution of those plans on views.
#pragma once

#include "qtx_fft.h"
#include "qvsip.h"

#include <cstddef>
#include <cstdint>

namespace qvsip::fft {

enum class transform_kind : std::uint32_t { complex_to_complex, real_to_complex, complex_to_real };

// batch transforms of length n (the real length for real-data transforms).
struct transform_shape {
    transform_kind kind;
    std::uint64_t length;
    std::uint64_t batch;
    std::int32_t sign;
    // Plans made in place on one buffer. Vector objects always plan out of place: the engine
    // may also run a single complex transform of that plan in place.
    bool in_place;
};

// Elements of one transform on each side: n/2 + 1 on the complex side of a real transform.
std::uint64_t input_length(const transform_shape& shape);
std::uint64_t output_length(const transform_shape& shape);

// Buffers in the axis-contiguous layout (element k of transform b at k + b * side length) and
// the plans. A call runs a plan directly on the views' memory when both views have one of the
// two planned layouts, and through the buffers otherwise.
struct engine_state {
    float* input;  // complex sides hold interleaved pairs
    float* output; // the input buffer itself when the plans are in place
    qtx_fftf_plan axis_contiguous;
    // Element k of transform b at k * batch + b: the other dense matrix order. Only for more
    // than one transform, and optional: without it such views go through the buffers.
    qtx_fftf_plan batch_contiguous;
    transform_shape shape;
    std::uint32_t tag;
};

// Null when a length is 0, the transform of a real-data kind is odd, a buffer would exceed
// the largest size the object supports, or memory or planning fails; nothing is left allocated.
engine_state* make_engine_state(const transform_shape& shape, vsip_alg_hint hint);
void release_engine_state(engine_state* state);

// One side of a call, resolved from a view: element k of transform b is
// (re, im)[k * axis_step + b * batch_step].
struct side {
    float* re;
    float* im;                            // null on a real side
    std::ptrdiff_t axis_step, batch_step; // in floats
    std::uint64_t length, batch;          // as the view has them
    bool interleaved;                     // complex pairs adjacent in one array
};

side side_of(const vsip_vview_f& view);
side side_of(const vsip_cvview_f& view);
// major VSIP_ROW: the transforms run along the rows; any other value along the columns.
side side_of(const vsip_mview_f& view, vsip_major major);
side side_of(const vsip_cmview_f& view, vsip_major major);

// Transforms in into out and multiplies the output by scale. A side whose transforms are
// shorter than the plan's is read as if padded with zeros and written only as far as it
// reaches; the caller makes sure both sides have the object's batch count.
void execute(const engine_state& state, const side& in, const side& out, float scale);

} // namespace qvsip::fft
