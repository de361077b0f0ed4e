// Element access by index: the puts and the matrix and integer gets. An index outside the view
// or a null view makes a put do nothing and a get return NaN (real and complex) or 0.
#include "vsip/support.hpp"

#include "vsip/frame.hpp"

namespace qvsip {
namespace {

constexpr vsip_cscalar_f complex_nan{quiet_nan, quiet_nan};

std::ptrdiff_t at(vsip_index i, std::ptrdiff_t stride) {
    return static_cast<std::ptrdiff_t>(i) * stride;
}

template <class View> bool inside(const View* view, vsip_index i) {
    return view != nullptr && i < view->length;
}

template <class Matrix> bool inside(const Matrix* view, vsip_index i, vsip_index j) {
    return view != nullptr && i < view->col_length && j < view->row_length;
}

template <class Matrix> std::ptrdiff_t at(const Matrix& m, vsip_index i, vsip_index j) {
    return at(i, m.col_stride) + at(j, m.row_stride);
}

template <class View, class Scalar = typename View::block_type::scalar_type>
Scalar integer_get(const View* view, vsip_index i) {
    if (!inside(view, i)) return 0;
    const integer_vector<Scalar> v = resolve(*view);
    return v.start[at(i, v.stride)];
}

template <class View, class Scalar = typename View::block_type::scalar_type>
void integer_put(const View* view, vsip_index i, Scalar value) {
    if (!inside(view, i)) return;
    const integer_vector<Scalar> v = resolve(*view);
    v.start[at(i, v.stride)] = value;
}

} // namespace
} // namespace qvsip

using namespace qvsip;

void vsip_vput_f(const vsip_vview_f* view, vsip_index i, vsip_scalar_f value) {
    if (!inside(view, i)) return;
    const real_vector v = resolve(*view);
    v.start[at(i, v.stride)] = value;
}

void vsip_cvput_f(const vsip_cvview_f* view, vsip_index i, vsip_cscalar_f value) {
    if (!inside(view, i)) return;
    const complex_vector v = resolve(*view);
    v.re[at(i, v.stride)] = value.r;
    v.im[at(i, v.stride)] = value.i;
}

vsip_scalar_f vsip_mget_f(const vsip_mview_f* view, vsip_index i, vsip_index j) {
    if (!inside(view, i, j)) return quiet_nan;
    const real_matrix m = resolve(*view);
    return m.start[at(m, i, j)];
}

void vsip_mput_f(const vsip_mview_f* view, vsip_index i, vsip_index j, vsip_scalar_f value) {
    if (!inside(view, i, j)) return;
    const real_matrix m = resolve(*view);
    m.start[at(m, i, j)] = value;
}

vsip_cscalar_f vsip_cmget_f(const vsip_cmview_f* view, vsip_index i, vsip_index j) {
    if (!inside(view, i, j)) return complex_nan;
    const complex_matrix m = resolve(*view);
    return {m.re[at(m, i, j)], m.im[at(m, i, j)]};
}

void vsip_cmput_f(const vsip_cmview_f* view, vsip_index i, vsip_index j, vsip_cscalar_f value) {
    if (!inside(view, i, j)) return;
    const complex_matrix m = resolve(*view);
    m.re[at(m, i, j)] = value.r;
    m.im[at(m, i, j)] = value.i;
}

vsip_scalar_i vsip_vget_i(const vsip_vview_i* view, vsip_index i) {
    return integer_get(view, i);
}
void vsip_vput_i(const vsip_vview_i* view, vsip_index i, vsip_scalar_i value) {
    integer_put(view, i, value);
}
vsip_scalar_bl vsip_vget_bl(const vsip_vview_bl* view, vsip_index i) {
    return integer_get(view, i);
}
void vsip_vput_bl(const vsip_vview_bl* view, vsip_index i, vsip_scalar_bl value) {
    integer_put(view, i, value);
}
