// Multiple FFT objects: one transform per row (VSIP_ROW) or per column (any other major) of an
// M x N matrix, complex in place and out of place, real-to-complex and complex-to-real. M and N
// are the real matrix's sizes for the real forms; its complex side has n/2 + 1 elements along
// the transform direction. Matrices of any other size are left untouched.
#include "vsip/fft/fft_object.hpp"

namespace qvsip::fft {
namespace {

vsip_fftm_f* create_matrix_object(transform_kind kind, vsip_length M, vsip_length N,
                                  std::int32_t sign, const object_settings& settings) {
    const bool rows = settings.major == VSIP_ROW;
    return create_object<vsip_fftm_f>(
        {kind, rows ? N : M, rows ? M : N, sign, settings.place == VSIP_FFT_IP}, settings);
}

vsip_major major_of(const vsip_fftm_f& fft) {
    return static_cast<vsip_major>(fft.major);
}

template <class InView, class OutView>
void apply(const vsip_fftm_f* fft, const InView* x, const OutView* y) {
    if (fft == nullptr || x == nullptr || y == nullptr) return;
    const side in = side_of(*x, major_of(*fft)), out = side_of(*y, major_of(*fft));
    const transform_shape& shape = fft->state->shape;
    if (in.length != input_length(shape) || out.length != output_length(shape)) return;
    execute(*fft->state, in, out, fft->scale);
}

// Rows and columns of a matrix of the given transform length and count along the major.
vsip_scalar_mi matrix_size(vsip_major major, std::uint64_t length, std::uint64_t batch) {
    return major == VSIP_ROW ? vsip_scalar_mi{batch, length} : vsip_scalar_mi{length, batch};
}

} // namespace
} // namespace qvsip::fft

using namespace qvsip::fft;

vsip_fftm_f* vsip_ccfftmip_create_f(vsip_length M, vsip_length N, vsip_scalar_f scale,
                                    vsip_fft_dir dir, vsip_major major, vsip_length ntimes,
                                    vsip_alg_hint hint) {
    return create_matrix_object(transform_kind::complex_to_complex, M, N, sign_of(dir),
                                {scale, VSIP_FFT_IP, major, ntimes, hint});
}

vsip_fftm_f* vsip_ccfftmop_create_f(vsip_length M, vsip_length N, vsip_scalar_f scale,
                                    vsip_fft_dir dir, vsip_major major, vsip_length ntimes,
                                    vsip_alg_hint hint) {
    return create_matrix_object(transform_kind::complex_to_complex, M, N, sign_of(dir),
                                {scale, VSIP_FFT_OP, major, ntimes, hint});
}

vsip_fftm_f* vsip_rcfftmop_create_f(vsip_length M, vsip_length N, vsip_scalar_f scale,
                                    vsip_major major, vsip_length ntimes, vsip_alg_hint hint) {
    return create_matrix_object(transform_kind::real_to_complex, M, N, -1,
                                {scale, VSIP_FFT_OP, major, ntimes, hint});
}

vsip_fftm_f* vsip_crfftmop_create_f(vsip_length M, vsip_length N, vsip_scalar_f scale,
                                    vsip_major major, vsip_length ntimes, vsip_alg_hint hint) {
    return create_matrix_object(transform_kind::complex_to_real, M, N, +1,
                                {scale, VSIP_FFT_OP, major, ntimes, hint});
}

void vsip_ccfftmip_f(const vsip_fftm_f* fft, const vsip_cmview_f* XY) {
    apply(fft, XY, XY);
}

void vsip_ccfftmop_f(const vsip_fftm_f* fft, const vsip_cmview_f* X, const vsip_cmview_f* Y) {
    apply(fft, X, Y);
}

void vsip_rcfftmop_f(const vsip_fftm_f* fft, const vsip_mview_f* X, const vsip_cmview_f* Y) {
    apply(fft, X, Y);
}

void vsip_crfftmop_f(const vsip_fftm_f* fft, const vsip_cmview_f* X, const vsip_mview_f* Y) {
    apply(fft, X, Y);
}

void vsip_fftm_getattr_f(const vsip_fftm_f* fft, vsip_fftm_attr_f* attr) {
    if (fft == nullptr || attr == nullptr) return;
    const transform_shape& shape = fft->state->shape;
    attr->input = matrix_size(major_of(*fft), input_length(shape), shape.batch);
    attr->output = matrix_size(major_of(*fft), output_length(shape), shape.batch);
    attr->place = static_cast<vsip_fft_place>(fft->place);
    attr->scale = fft->scale;
    attr->dir = static_cast<vsip_fft_dir>(fft->direction);
    attr->major = major_of(*fft);
}

int vsip_fftm_destroy_f(vsip_fftm_f* fft) {
    return destroy_object(fft);
}
