// Vector and matrix views: binding with bounds checks, destruction and element access.
#include "vsip/support.hpp"

#include "vsip/frame.hpp"
#include "vsip/record.hpp"
#include "vsip/view_fit.hpp"

#include <cstdint>
#include <initializer_list>
#include <limits>

namespace qvsip {
namespace {

// Views never modify their block through the binding; the C interface passes it as const the
// way callers expect, and the view keeps it for later operations that write.
template <class View> View* new_view(const typename View::block_type* block) {
    View* view = new_record<View>();
    if (view == nullptr) return nullptr;
    view->block = const_cast<typename View::block_type*>(block);
    view->tag = live_tag;
    return view;
}

template <class View>
View* bind_vector(const typename View::block_type* block, vsip_offset offset, vsip_stride stride,
                  vsip_length length) {
    if (block == nullptr || !fits_block(block->length, offset, {{length, stride}})) return nullptr;
    View* view = new_view<View>(block);
    if (view == nullptr) return nullptr;
    view->offset = offset;
    view->stride = stride;
    view->length = length;
    return view;
}

template <class View>
View* bind_matrix(const typename View::block_type* block, vsip_offset offset,
                  vsip_stride col_stride, vsip_length col_length, vsip_stride row_stride,
                  vsip_length row_length) {
    if (block == nullptr ||
        !fits_block(block->length, offset, {{col_length, col_stride}, {row_length, row_stride}}))
        return nullptr;
    View* view = new_view<View>(block);
    if (view == nullptr) return nullptr;
    view->offset = offset;
    view->row_stride = row_stride;
    view->row_length = row_length;
    view->col_stride = col_stride;
    view->col_length = col_length;
    return view;
}

template <class View> typename View::block_type* destroy_view(View* view) {
    if (view == nullptr) return nullptr;
    typename View::block_type* block = view->block;
    retire_record(view);
    return block;
}

// The block destroy rules of the public functions, chosen by block type.
void destroy_block(vsip_block_f* block) {
    vsip_blockdestroy_f(block);
}
void destroy_block(vsip_block_i* block) {
    vsip_blockdestroy_i(block);
}
void destroy_block(vsip_block_bl* block) {
    vsip_blockdestroy_bl(block);
}
void destroy_block(vsip_cblock_f* block) {
    vsip_cblockdestroy_f(block);
}

template <class View> void destroy_view_and_block(View* view) {
    destroy_block(destroy_view(view));
}

std::ptrdiff_t scalar_index(vsip_index i, std::ptrdiff_t stride) {
    return static_cast<std::ptrdiff_t>(i) * stride;
}

} // namespace
} // namespace qvsip

using namespace qvsip;

vsip_vview_f* vsip_vbind_f(const vsip_block_f* block, vsip_offset offset, vsip_stride stride,
                           vsip_length length) {
    return bind_vector<vsip_vview_f>(block, offset, stride, length);
}
vsip_vview_i* vsip_vbind_i(const vsip_block_i* block, vsip_offset offset, vsip_stride stride,
                           vsip_length length) {
    return bind_vector<vsip_vview_i>(block, offset, stride, length);
}
vsip_vview_bl* vsip_vbind_bl(const vsip_block_bl* block, vsip_offset offset, vsip_stride stride,
                             vsip_length length) {
    return bind_vector<vsip_vview_bl>(block, offset, stride, length);
}
vsip_cvview_f* vsip_cvbind_f(const vsip_cblock_f* block, vsip_offset offset, vsip_stride stride,
                             vsip_length length) {
    return bind_vector<vsip_cvview_f>(block, offset, stride, length);
}
vsip_mview_f* vsip_mbind_f(const vsip_block_f* block, vsip_offset offset, vsip_stride col_stride,
                           vsip_length col_length, vsip_stride row_stride, vsip_length row_length) {
    return bind_matrix<vsip_mview_f>(block, offset, col_stride, col_length, row_stride, row_length);
}
vsip_cmview_f* vsip_cmbind_f(const vsip_cblock_f* block, vsip_offset offset, vsip_stride col_stride,
                             vsip_length col_length, vsip_stride row_stride,
                             vsip_length row_length) {
    return bind_matrix<vsip_cmview_f>(block, offset, col_stride, col_length, row_stride,
                                      row_length);
}

vsip_block_f* vsip_vdestroy_f(vsip_vview_f* view) {
    return destroy_view(view);
}
vsip_block_i* vsip_vdestroy_i(vsip_vview_i* view) {
    return destroy_view(view);
}
vsip_block_bl* vsip_vdestroy_bl(vsip_vview_bl* view) {
    return destroy_view(view);
}
vsip_cblock_f* vsip_cvdestroy_f(vsip_cvview_f* view) {
    return destroy_view(view);
}
vsip_block_f* vsip_mdestroy_f(vsip_mview_f* view) {
    return destroy_view(view);
}
vsip_cblock_f* vsip_cmdestroy_f(vsip_cmview_f* view) {
    return destroy_view(view);
}

void vsip_valldestroy_f(vsip_vview_f* view) {
    destroy_view_and_block(view);
}
void vsip_valldestroy_i(vsip_vview_i* view) {
    destroy_view_and_block(view);
}
void vsip_valldestroy_bl(vsip_vview_bl* view) {
    destroy_view_and_block(view);
}
void vsip_cvalldestroy_f(vsip_cvview_f* view) {
    destroy_view_and_block(view);
}
void vsip_malldestroy_f(vsip_mview_f* view) {
    destroy_view_and_block(view);
}
void vsip_cmalldestroy_f(vsip_cmview_f* view) {
    destroy_view_and_block(view);
}

vsip_scalar_f vsip_vget_f(const vsip_vview_f* view, vsip_index i) {
    if (view == nullptr || i >= view->length) return quiet_nan;
    const real_vector vector = resolve(*view);
    return vector.start[scalar_index(i, vector.stride)];
}

vsip_cscalar_f vsip_cvget_f(const vsip_cvview_f* view, vsip_index i) {
    if (view == nullptr || i >= view->length) return {quiet_nan, quiet_nan};
    const complex_vector vector = resolve(*view);
    const std::ptrdiff_t at = scalar_index(i, vector.stride);
    return {vector.re[at], vector.im[at]};
}

vsip_cscalar_f vsip_cmplx_f(vsip_scalar_f re, vsip_scalar_f im) {
    return {re, im};
}
