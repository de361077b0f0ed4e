// Attributes of views: the gets, and the puts, which change a view only when every element it
// then reaches lies inside its block (otherwise null, view unchanged). A null view gets 0 (null
// block) and puts nothing; a null attribute record is neither read nor written. The block of a
// view never changes: the block member of an attribute record is ignored on a put.
#include "vsip/support.hpp"

#include "vsip/view_fit.hpp"

namespace qvsip {
namespace {

template <class View>
View* put_vector(View* view, vsip_offset offset, vsip_stride stride, vsip_length length) {
    if (view == nullptr || !fits_block(view->block->length, offset, {{length, stride}}))
        return nullptr;
    view->offset = offset;
    view->stride = stride;
    view->length = length;
    return view;
}

template <class View> View* put_length(View* view, vsip_length length) {
    return view == nullptr ? nullptr : put_vector(view, view->offset, view->stride, length);
}
template <class View> View* put_stride(View* view, vsip_stride stride) {
    return view == nullptr ? nullptr : put_vector(view, view->offset, stride, view->length);
}
template <class View> View* put_offset(View* view, vsip_offset offset) {
    return view == nullptr ? nullptr : put_vector(view, offset, view->stride, view->length);
}

template <class View, class Attributes> void get_vector(const View* view, Attributes* attr) {
    if (view == nullptr || attr == nullptr) return;
    *attr = {view->offset, view->stride, view->length, view->block};
}
template <class View, class Attributes> View* put_vector(View* view, const Attributes* attr) {
    if (attr == nullptr) return nullptr;
    return put_vector(view, attr->offset, attr->stride, attr->length);
}

// Matrix attributes in one record, the order the binds take them.
struct matrix_shape {
    vsip_offset offset;
    vsip_stride col_stride;
    vsip_length col_length;
    vsip_stride row_stride;
    vsip_length row_length;
};

template <class View> matrix_shape shape_of(const View& view) {
    return {view.offset, view.col_stride, view.col_length, view.row_stride, view.row_length};
}

template <class View> View* put_matrix(View* view, const matrix_shape& s) {
    if (view == nullptr ||
        !fits_block(view->block->length, s.offset,
                    {{s.col_length, s.col_stride}, {s.row_length, s.row_stride}}))
        return nullptr;
    view->offset = s.offset;
    view->col_stride = s.col_stride;
    view->col_length = s.col_length;
    view->row_stride = s.row_stride;
    view->row_length = s.row_length;
    return view;
}

// Puts one attribute: change(shape) edits the current attributes.
template <class View, class Change> View* put_matrix_with(View* view, Change change) {
    if (view == nullptr) return nullptr;
    matrix_shape s = shape_of(*view);
    change(s);
    return put_matrix(view, s);
}

template <class View, class Attributes> void get_matrix(const View* view, Attributes* attr) {
    if (view == nullptr || attr == nullptr) return;
    *attr = {view->offset,     view->col_stride, view->col_length,
             view->row_stride, view->row_length, view->block};
}
template <class View, class Attributes> View* put_matrix(View* view, const Attributes* attr) {
    if (attr == nullptr) return nullptr;
    return put_matrix(view, matrix_shape{attr->offset, attr->col_stride, attr->col_length,
                                         attr->row_stride, attr->row_length});
}

template <class View> auto block_of(const View* view) -> decltype(view->block) {
    return view == nullptr ? nullptr : view->block;
}

} // namespace
} // namespace qvsip

using namespace qvsip;

vsip_length vsip_vgetlength_f(const vsip_vview_f* view) {
    return view == nullptr ? 0 : view->length;
}
vsip_stride vsip_vgetstride_f(const vsip_vview_f* view) {
    return view == nullptr ? 0 : view->stride;
}
vsip_offset vsip_vgetoffset_f(const vsip_vview_f* view) {
    return view == nullptr ? 0 : view->offset;
}
vsip_block_f* vsip_vgetblock_f(const vsip_vview_f* view) {
    return block_of(view);
}
vsip_vview_f* vsip_vputlength_f(vsip_vview_f* view, vsip_length length) {
    return put_length(view, length);
}
vsip_vview_f* vsip_vputstride_f(vsip_vview_f* view, vsip_stride stride) {
    return put_stride(view, stride);
}
vsip_vview_f* vsip_vputoffset_f(vsip_vview_f* view, vsip_offset offset) {
    return put_offset(view, offset);
}
void vsip_vgetattrib_f(const vsip_vview_f* view, vsip_vattr_f* attr) {
    get_vector(view, attr);
}
vsip_vview_f* vsip_vputattrib_f(vsip_vview_f* view, const vsip_vattr_f* attr) {
    return put_vector(view, attr);
}

vsip_length vsip_vgetlength_i(const vsip_vview_i* view) {
    return view == nullptr ? 0 : view->length;
}
vsip_stride vsip_vgetstride_i(const vsip_vview_i* view) {
    return view == nullptr ? 0 : view->stride;
}
vsip_offset vsip_vgetoffset_i(const vsip_vview_i* view) {
    return view == nullptr ? 0 : view->offset;
}
vsip_block_i* vsip_vgetblock_i(const vsip_vview_i* view) {
    return block_of(view);
}
vsip_vview_i* vsip_vputlength_i(vsip_vview_i* view, vsip_length length) {
    return put_length(view, length);
}
vsip_vview_i* vsip_vputstride_i(vsip_vview_i* view, vsip_stride stride) {
    return put_stride(view, stride);
}
vsip_vview_i* vsip_vputoffset_i(vsip_vview_i* view, vsip_offset offset) {
    return put_offset(view, offset);
}
void vsip_vgetattrib_i(const vsip_vview_i* view, vsip_vattr_i* attr) {
    get_vector(view, attr);
}
vsip_vview_i* vsip_vputattrib_i(vsip_vview_i* view, const vsip_vattr_i* attr) {
    return put_vector(view, attr);
}

vsip_length vsip_vgetlength_bl(const vsip_vview_bl* view) {
    return view == nullptr ? 0 : view->length;
}
vsip_stride vsip_vgetstride_bl(const vsip_vview_bl* view) {
    return view == nullptr ? 0 : view->stride;
}
vsip_offset vsip_vgetoffset_bl(const vsip_vview_bl* view) {
    return view == nullptr ? 0 : view->offset;
}
vsip_block_bl* vsip_vgetblock_bl(const vsip_vview_bl* view) {
    return block_of(view);
}
vsip_vview_bl* vsip_vputlength_bl(vsip_vview_bl* view, vsip_length length) {
    return put_length(view, length);
}
vsip_vview_bl* vsip_vputstride_bl(vsip_vview_bl* view, vsip_stride stride) {
    return put_stride(view, stride);
}
vsip_vview_bl* vsip_vputoffset_bl(vsip_vview_bl* view, vsip_offset offset) {
    return put_offset(view, offset);
}
void vsip_vgetattrib_bl(const vsip_vview_bl* view, vsip_vattr_bl* attr) {
    get_vector(view, attr);
}
vsip_vview_bl* vsip_vputattrib_bl(vsip_vview_bl* view, const vsip_vattr_bl* attr) {
    return put_vector(view, attr);
}

vsip_length vsip_cvgetlength_f(const vsip_cvview_f* view) {
    return view == nullptr ? 0 : view->length;
}
vsip_stride vsip_cvgetstride_f(const vsip_cvview_f* view) {
    return view == nullptr ? 0 : view->stride;
}
vsip_offset vsip_cvgetoffset_f(const vsip_cvview_f* view) {
    return view == nullptr ? 0 : view->offset;
}
vsip_cblock_f* vsip_cvgetblock_f(const vsip_cvview_f* view) {
    return block_of(view);
}
vsip_cvview_f* vsip_cvputlength_f(vsip_cvview_f* view, vsip_length length) {
    return put_length(view, length);
}
vsip_cvview_f* vsip_cvputstride_f(vsip_cvview_f* view, vsip_stride stride) {
    return put_stride(view, stride);
}
vsip_cvview_f* vsip_cvputoffset_f(vsip_cvview_f* view, vsip_offset offset) {
    return put_offset(view, offset);
}
void vsip_cvgetattrib_f(const vsip_cvview_f* view, vsip_cvattr_f* attr) {
    get_vector(view, attr);
}
vsip_cvview_f* vsip_cvputattrib_f(vsip_cvview_f* view, const vsip_cvattr_f* attr) {
    return put_vector(view, attr);
}

vsip_length vsip_mgetcollength_f(const vsip_mview_f* view) {
    return view == nullptr ? 0 : view->col_length;
}
vsip_length vsip_mgetrowlength_f(const vsip_mview_f* view) {
    return view == nullptr ? 0 : view->row_length;
}
vsip_stride vsip_mgetcolstride_f(const vsip_mview_f* view) {
    return view == nullptr ? 0 : view->col_stride;
}
vsip_stride vsip_mgetrowstride_f(const vsip_mview_f* view) {
    return view == nullptr ? 0 : view->row_stride;
}
vsip_offset vsip_mgetoffset_f(const vsip_mview_f* view) {
    return view == nullptr ? 0 : view->offset;
}
vsip_block_f* vsip_mgetblock_f(const vsip_mview_f* view) {
    return block_of(view);
}
vsip_mview_f* vsip_mputcollength_f(vsip_mview_f* view, vsip_length col_length) {
    return put_matrix_with(view, [=](matrix_shape& s) { s.col_length = col_length; });
}
vsip_mview_f* vsip_mputrowlength_f(vsip_mview_f* view, vsip_length row_length) {
    return put_matrix_with(view, [=](matrix_shape& s) { s.row_length = row_length; });
}
vsip_mview_f* vsip_mputcolstride_f(vsip_mview_f* view, vsip_stride col_stride) {
    return put_matrix_with(view, [=](matrix_shape& s) { s.col_stride = col_stride; });
}
vsip_mview_f* vsip_mputrowstride_f(vsip_mview_f* view, vsip_stride row_stride) {
    return put_matrix_with(view, [=](matrix_shape& s) { s.row_stride = row_stride; });
}
vsip_mview_f* vsip_mputoffset_f(vsip_mview_f* view, vsip_offset offset) {
    return put_matrix_with(view, [=](matrix_shape& s) { s.offset = offset; });
}
void vsip_mgetattrib_f(const vsip_mview_f* view, vsip_mattr_f* attr) {
    get_matrix(view, attr);
}
vsip_mview_f* vsip_mputattrib_f(vsip_mview_f* view, const vsip_mattr_f* attr) {
    return put_matrix(view, attr);
}

vsip_length vsip_cmgetcollength_f(const vsip_cmview_f* view) {
    return view == nullptr ? 0 : view->col_length;
}
vsip_length vsip_cmgetrowlength_f(const vsip_cmview_f* view) {
    return view == nullptr ? 0 : view->row_length;
}
vsip_stride vsip_cmgetcolstride_f(const vsip_cmview_f* view) {
    return view == nullptr ? 0 : view->col_stride;
}
vsip_stride vsip_cmgetrowstride_f(const vsip_cmview_f* view) {
    return view == nullptr ? 0 : view->row_stride;
}
vsip_offset vsip_cmgetoffset_f(const vsip_cmview_f* view) {
    return view == nullptr ? 0 : view->offset;
}
vsip_cblock_f* vsip_cmgetblock_f(const vsip_cmview_f* view) {
    return block_of(view);
}
vsip_cmview_f* vsip_cmputcollength_f(vsip_cmview_f* view, vsip_length col_length) {
    return put_matrix_with(view, [=](matrix_shape& s) { s.col_length = col_length; });
}
vsip_cmview_f* vsip_cmputrowlength_f(vsip_cmview_f* view, vsip_length row_length) {
    return put_matrix_with(view, [=](matrix_shape& s) { s.row_length = row_length; });
}
vsip_cmview_f* vsip_cmputcolstride_f(vsip_cmview_f* view, vsip_stride col_stride) {
    return put_matrix_with(view, [=](matrix_shape& s) { s.col_stride = col_stride; });
}
vsip_cmview_f* vsip_cmputrowstride_f(vsip_cmview_f* view, vsip_stride row_stride) {
    return put_matrix_with(view, [=](matrix_shape& s) { s.row_stride = row_stride; });
}
vsip_cmview_f* vsip_cmputoffset_f(vsip_cmview_f* view, vsip_offset offset) {
    return put_matrix_with(view, [=](matrix_shape& s) { s.offset = offset; });
}
void vsip_cmgetattrib_f(const vsip_cmview_f* view, vsip_cmattr_f* attr) {
    get_matrix(view, attr);
}
vsip_cmview_f* vsip_cmputattrib_f(vsip_cmview_f* view, const vsip_cmattr_f* attr) {
    return put_matrix(view, attr);
}
