// FFT objects on vectors: complex transforms in place and out of place, real-to-complex and
// complex-to-real transforms of even length, their attributes and their release.
#include "vsip/fft/fft_object.hpp"

namespace qvsip::fft {
namespace {

vsip_fft_f* create_vector_object(transform_kind kind, vsip_length n, std::int32_t sign,
                                 const object_settings& settings) {
    return create_object<vsip_fft_f>({kind, n, 1, sign, false}, settings);
}

} // namespace
} // namespace qvsip::fft

using namespace qvsip::fft;

vsip_fft_f* vsip_ccfftip_create_f(vsip_length N, vsip_scalar_f scale, vsip_fft_dir dir,
                                  vsip_length ntimes, vsip_alg_hint hint) {
    return create_vector_object(transform_kind::complex_to_complex, N, sign_of(dir),
                                {scale, VSIP_FFT_IP, VSIP_ROW, ntimes, hint});
}

vsip_fft_f* vsip_ccfftop_create_f(vsip_length N, vsip_scalar_f scale, vsip_fft_dir dir,
                                  vsip_length ntimes, vsip_alg_hint hint) {
    return create_vector_object(transform_kind::complex_to_complex, N, sign_of(dir),
                                {scale, VSIP_FFT_OP, VSIP_ROW, ntimes, hint});
}

vsip_fft_f* vsip_rcfftop_create_f(vsip_length N, vsip_scalar_f scale, vsip_length ntimes,
                                  vsip_alg_hint hint) {
    return create_vector_object(transform_kind::real_to_complex, N, -1,
                                {scale, VSIP_FFT_OP, VSIP_ROW, ntimes, hint});
}

vsip_fft_f* vsip_crfftop_create_f(vsip_length N, vsip_scalar_f scale, vsip_length ntimes,
                                  vsip_alg_hint hint) {
    return create_vector_object(transform_kind::complex_to_real, N, +1,
                                {scale, VSIP_FFT_OP, VSIP_ROW, ntimes, hint});
}

// Each execute runs only an object of its own kind: execute() returns at once when the views'
// element kinds are not the ones the object was planned for.
void vsip_ccfftip_f(const vsip_fft_f* fft, const vsip_cvview_f* xy) {
    if (fft == nullptr || xy == nullptr) return;
    execute(*fft->state, side_of(*xy), side_of(*xy), fft->scale);
}

void vsip_ccfftop_f(const vsip_fft_f* fft, const vsip_cvview_f* x, const vsip_cvview_f* y) {
    if (fft == nullptr || x == nullptr || y == nullptr) return;
    execute(*fft->state, side_of(*x), side_of(*y), fft->scale);
}

void vsip_rcfftop_f(const vsip_fft_f* fft, const vsip_vview_f* x, const vsip_cvview_f* y) {
    if (fft == nullptr || x == nullptr || y == nullptr) return;
    execute(*fft->state, side_of(*x), side_of(*y), fft->scale);
}

void vsip_crfftop_f(const vsip_fft_f* fft, const vsip_cvview_f* x, const vsip_vview_f* y) {
    if (fft == nullptr || x == nullptr || y == nullptr) return;
    execute(*fft->state, side_of(*x), side_of(*y), fft->scale);
}

void vsip_fft_getattr_f(const vsip_fft_f* fft, vsip_fft_attr_f* attr) {
    if (fft == nullptr || attr == nullptr) return;
    const transform_shape& shape = fft->state->shape;
    attr->input = input_length(shape);
    attr->output = output_length(shape);
    attr->place = static_cast<vsip_fft_place>(fft->place);
    attr->scale = fft->scale;
    attr->dir = static_cast<vsip_fft_dir>(fft->direction);
}

int vsip_fft_destroy_f(vsip_fft_f* fft) {
    return destroy_object(fft);
}
