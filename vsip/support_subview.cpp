// Views derived from views: subviews, rows, columns and diagonals, the real and imaginary parts
// of complex views, clones and transposes. Each is a new view record over the parent's block
// (for parts: the complex block's component), made by the public binds; destroying it leaves
// the parent alone. A null parent, a part outside the parent or an attribute overflow gives
// null, and so does running out of memory.
#include "vsip/support.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace qvsip {
namespace {

vsip_vview_f* bind_vector(const vsip_block_f* block, vsip_offset offset, vsip_stride stride,
                          vsip_length length) {
    return vsip_vbind_f(block, offset, stride, length);
}
vsip_cvview_f* bind_vector(const vsip_cblock_f* block, vsip_offset offset, vsip_stride stride,
                           vsip_length length) {
    return vsip_cvbind_f(block, offset, stride, length);
}
vsip_mview_f* bind_matrix(const vsip_block_f* block, vsip_offset offset, vsip_stride col_stride,
                          vsip_length col_length, vsip_stride row_stride, vsip_length row_length) {
    return vsip_mbind_f(block, offset, col_stride, col_length, row_stride, row_length);
}
vsip_cmview_f* bind_matrix(const vsip_cblock_f* block, vsip_offset offset, vsip_stride col_stride,
                           vsip_length col_length, vsip_stride row_stride, vsip_length row_length) {
    return vsip_cmbind_f(block, offset, col_stride, col_length, row_stride, row_length);
}

// Moves offset count strides on; false when the result is negative or overflows.
bool advance(vsip_offset& offset, vsip_index count, vsip_stride stride) {
    constexpr auto widest = static_cast<vsip_length>(std::numeric_limits<std::int64_t>::max());
    std::int64_t step = 0, moved = 0;
    if (count > widest || offset > widest ||
        __builtin_mul_overflow(static_cast<std::int64_t>(count), stride, &step) ||
        __builtin_add_overflow(static_cast<std::int64_t>(offset), step, &moved) || moved < 0)
        return false;
    offset = static_cast<vsip_offset>(moved);
    return true;
}

// [first, first + count) lies within [0, length).
bool within(vsip_index first, vsip_length count, vsip_length length) {
    return first <= length && count <= length - first;
}

template <class View> auto subvector(const View* view, vsip_index i, vsip_length n) {
    using Result = decltype(bind_vector(view->block, 0, 0, 0));
    vsip_offset offset = view == nullptr ? 0 : view->offset;
    if (view == nullptr || !within(i, n, view->length) || !advance(offset, i, view->stride))
        return Result{};
    return bind_vector(view->block, offset, view->stride, n);
}

template <class View> auto clone_vector(const View* view) {
    return view == nullptr ? nullptr
                           : bind_vector(view->block, view->offset, view->stride, view->length);
}

// The part (re or im component block) of a complex vector or matrix.
template <class View> const vsip_block_f* part(const View& view, bool imaginary) {
    return imaginary ? view.block->imag : view.block->real;
}

vsip_vview_f* vector_part(const vsip_cvview_f* view, bool imaginary) {
    if (view == nullptr) return nullptr;
    return bind_vector(part(*view, imaginary), view->offset, view->stride, view->length);
}

vsip_mview_f* matrix_part(const vsip_cmview_f* view, bool imaginary) {
    if (view == nullptr) return nullptr;
    return bind_matrix(part(*view, imaginary), view->offset, view->col_stride, view->col_length,
                       view->row_stride, view->row_length);
}

template <class View>
auto submatrix(const View* view, vsip_index row, vsip_index col, vsip_length rows,
               vsip_length cols) {
    using Result = decltype(bind_matrix(view->block, 0, 0, 0, 0, 0));
    vsip_offset offset = view == nullptr ? 0 : view->offset;
    if (view == nullptr || !within(row, rows, view->col_length) ||
        !within(col, cols, view->row_length) || !advance(offset, row, view->col_stride) ||
        !advance(offset, col, view->row_stride))
        return Result{};
    return bind_matrix(view->block, offset, view->col_stride, rows, view->row_stride, cols);
}

template <class View> auto clone_matrix(const View* view) {
    return view == nullptr ? nullptr
                           : bind_matrix(view->block, view->offset, view->col_stride,
                                         view->col_length, view->row_stride, view->row_length);
}

// Rows become columns: the two dimensions trade places over the same elements.
template <class View> auto transpose(const View* view) {
    return view == nullptr ? nullptr
                           : bind_matrix(view->block, view->offset, view->row_stride,
                                         view->row_length, view->col_stride, view->col_length);
}

template <class View> auto row(const View* view, vsip_index i) {
    using Result = decltype(bind_vector(view->block, 0, 0, 0));
    vsip_offset offset = view == nullptr ? 0 : view->offset;
    if (view == nullptr || i >= view->col_length || !advance(offset, i, view->col_stride))
        return Result{};
    return bind_vector(view->block, offset, view->row_stride, view->row_length);
}

template <class View> auto column(const View* view, vsip_index j) {
    using Result = decltype(bind_vector(view->block, 0, 0, 0));
    vsip_offset offset = view == nullptr ? 0 : view->offset;
    if (view == nullptr || j >= view->row_length || !advance(offset, j, view->row_stride))
        return Result{};
    return bind_vector(view->block, offset, view->col_stride, view->col_length);
}

// Diagonal k >= 0 starts in column k, diagonal -k in row k.
template <class View> auto diagonal(const View* view, vsip_stride k) {
    using Result = decltype(bind_vector(view->block, 0, 0, 0));
    if (view == nullptr) return Result{};
    const bool above = k >= 0;
    const vsip_index start = above ? static_cast<vsip_index>(k) : 0 - static_cast<vsip_index>(k);
    const vsip_length along = above ? view->row_length : view->col_length;
    vsip_offset offset = view->offset;
    vsip_stride stride = 0;
    if (start > along || !advance(offset, start, above ? view->row_stride : view->col_stride) ||
        __builtin_add_overflow(view->row_stride, view->col_stride, &stride))
        return Result{};
    const vsip_length length = above ? std::min(view->col_length, view->row_length - start)
                                     : std::min(view->col_length - start, view->row_length);
    return bind_vector(view->block, offset, stride, length);
}

constexpr bool real_part = false;
constexpr bool imaginary_part = true;

} // namespace
} // namespace qvsip

using namespace qvsip;

vsip_vview_f* vsip_vsubview_f(const vsip_vview_f* view, vsip_index i, vsip_length n) {
    return subvector(view, i, n);
}
vsip_cvview_f* vsip_cvsubview_f(const vsip_cvview_f* view, vsip_index i, vsip_length n) {
    return subvector(view, i, n);
}
vsip_mview_f* vsip_msubview_f(const vsip_mview_f* view, vsip_index i, vsip_index j, vsip_length M,
                              vsip_length N) {
    return submatrix(view, i, j, M, N);
}
vsip_cmview_f* vsip_cmsubview_f(const vsip_cmview_f* view, vsip_index i, vsip_index j,
                                vsip_length M, vsip_length N) {
    return submatrix(view, i, j, M, N);
}

vsip_vview_f* vsip_mrowview_f(const vsip_mview_f* view, vsip_index i) {
    return row(view, i);
}
vsip_vview_f* vsip_mcolview_f(const vsip_mview_f* view, vsip_index j) {
    return column(view, j);
}
vsip_vview_f* vsip_mdiagview_f(const vsip_mview_f* view, vsip_stride idiag) {
    return diagonal(view, idiag);
}
vsip_cvview_f* vsip_cmrowview_f(const vsip_cmview_f* view, vsip_index i) {
    return row(view, i);
}
vsip_cvview_f* vsip_cmcolview_f(const vsip_cmview_f* view, vsip_index j) {
    return column(view, j);
}
vsip_cvview_f* vsip_cmdiagview_f(const vsip_cmview_f* view, vsip_stride idiag) {
    return diagonal(view, idiag);
}

vsip_vview_f* vsip_cvrealview_f(const vsip_cvview_f* view) {
    return vector_part(view, real_part);
}
vsip_vview_f* vsip_cvimagview_f(const vsip_cvview_f* view) {
    return vector_part(view, imaginary_part);
}
vsip_mview_f* vsip_cmrealview_f(const vsip_cmview_f* view) {
    return matrix_part(view, real_part);
}
vsip_mview_f* vsip_cmimagview_f(const vsip_cmview_f* view) {
    return matrix_part(view, imaginary_part);
}

vsip_vview_f* vsip_vcloneview_f(const vsip_vview_f* view) {
    return clone_vector(view);
}
vsip_cvview_f* vsip_cvcloneview_f(const vsip_cvview_f* view) {
    return clone_vector(view);
}
vsip_mview_f* vsip_mcloneview_f(const vsip_mview_f* view) {
    return clone_matrix(view);
}
vsip_cmview_f* vsip_cmcloneview_f(const vsip_cmview_f* view) {
    return clone_matrix(view);
}
vsip_mview_f* vsip_mtransview_f(const vsip_mview_f* view) {
    return transpose(view);
}
vsip_cmview_f* vsip_cmtransview_f(const vsip_cmview_f* view) {
    return transpose(view);
}
