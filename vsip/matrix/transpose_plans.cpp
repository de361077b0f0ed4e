// Dense transposes through rank-0 real-to-real guru plans of the FFT engines, which execute
// them as strided copies: interleaved complex floats move as single 8-byte double units,
// split parts as floats.
#include "qtx_fft.h"
#include "vsip/matrix/transpose_layout.hpp"

#include <climits>
#include <cstdint>

namespace qvsip::matrix {
namespace {

// Planner flags for a plan made once and executed once.
constexpr unsigned plan_estimate = 64;
constexpr int loop_dimensions = 2;

bool fits_int(vsip_length n) {
    return n <= static_cast<vsip_length>(INT_MAX);
}

// The loop dimensions of the transpose, outermost first, in the engine's dimension record.
template <class Dim>
bool transpose_dims(const matrix_lines& from, const matrix_lines& to, Dim (&dims)[2]) {
    if (!fits_int(from.outer) || !fits_int(from.inner) || !fits_int(to.inner) ||
        !fits_int(element_count(from)))
        return false;
    const int outer = static_cast<int>(from.outer);
    const int inner = static_cast<int>(from.inner);
    dims[0] = {outer, inner, 1};
    dims[1] = {inner, 1, static_cast<int>(to.inner)};
    return true;
}

bool double_aligned(const float* p) {
    return reinterpret_cast<std::uintptr_t>(p) % alignof(double) == 0;
}

} // namespace

bool plan_transpose_interleaved(const complex_matrix& a, const matrix_lines& from,
                                const complex_matrix& r, const matrix_lines& to) {
    qtx_fft_dim dims[loop_dimensions];
    if (!transpose_dims(from, to, dims) || !double_aligned(a.re) || !double_aligned(r.re))
        return false;
    qtx_fft_plan plan =
        qtx_fft_plan_guru_r2r(0, nullptr, loop_dimensions, dims, reinterpret_cast<double*>(a.re),
                              reinterpret_cast<double*>(r.re), nullptr, plan_estimate);
    if (!plan) return false;
    qtx_fft_execute(plan);
    qtx_fft_destroy_plan(plan);
    return true;
}

bool plan_transpose_split(const complex_matrix& a, const matrix_lines& from,
                          const complex_matrix& r, const matrix_lines& to) {
    qtx_fftf_dim dims[loop_dimensions];
    if (!transpose_dims(from, to, dims)) return false;
    // Both plans first, so that a refusal of the second leaves R untouched.
    qtx_fftf_plan real_part = qtx_fftf_plan_guru_r2r(0, nullptr, loop_dimensions, dims, a.re, r.re,
                                                     nullptr, plan_estimate);
    qtx_fftf_plan imag_part = qtx_fftf_plan_guru_r2r(0, nullptr, loop_dimensions, dims, a.im, r.im,
                                                     nullptr, plan_estimate);
    const bool planned = real_part && imag_part;
    if (planned) {
        qtx_fftf_execute(real_part);
        qtx_fftf_execute(imag_part);
    }
    if (real_part) qtx_fftf_destroy_plan(real_part);
    if (imag_part) qtx_fftf_destroy_plan(imag_part);
    return planned;
}

} // namespace qvsip::matrix
