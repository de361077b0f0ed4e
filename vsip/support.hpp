// Record layouts of blocks and views, and the address arithmetic by which operations reach the
// elements of a view: a view becomes a start address and a stride in scalars once per call.
#pragma once

#include "qvsip.h"

#include <cstddef>
#include <cstdint>

namespace qvsip {

// Block kinds.
inline constexpr std::int32_t bound_to_user = 1;
inline constexpr std::int32_t complex_component = 2;

// The reserved field of a block whose storage the library allocated with the record (a create):
// the storage goes with the record, and release and find hand out no array for it.
inline constexpr std::int32_t library_storage = 1;

// Element strides in scalars: a plain block is contiguous, and so is each part of a split
// complex block; the parts of an interleaved complex block alternate in one array.
inline constexpr vsip_stride contiguous_stride = 1;
inline constexpr vsip_stride split_stride = contiguous_stride;
inline constexpr vsip_stride interleaved_stride = 2;

// Longest block whose array, at the given element stride, is addressable: element addresses
// and their differences then never overflow.
template <class Scalar>
constexpr vsip_length max_block_length(vsip_stride element_stride = contiguous_stride) {
    return static_cast<vsip_length>(PTRDIFF_MAX) / sizeof(Scalar) /
           static_cast<vsip_length>(element_stride);
}

// Integer and boolean blocks share one layout; their elements are always contiguous.
template <class Scalar> struct integer_block_record {
    using scalar_type = Scalar;
    Scalar* data;
    std::int32_t kind;
    std::int32_t admitted;
    vsip_length length;
    std::int32_t reserved;
    std::uint32_t tag;
    std::int32_t hint;
};

// Every vector view type has this layout; offset, stride and length count block elements.
template <class Block> struct vector_view_record {
    using block_type = Block;
    Block* block;
    vsip_offset offset;
    vsip_stride stride;
    vsip_length length;
    std::uint32_t tag;
};

// Matrix views: the row stride steps along a row (row length = number of columns), the column
// stride from row to row (column length = number of rows).
template <class Block> struct matrix_view_record {
    using block_type = Block;
    Block* block;
    vsip_offset offset;
    vsip_stride row_stride;
    vsip_length row_length;
    vsip_stride col_stride;
    vsip_length col_length;
    std::uint32_t tag;
};

} // namespace qvsip

// The public opaque types, completed here in global scope so that the C declarations and the
// library's definitions name the same types.
struct vsip_block_f_s {
    vsip_cblock_f* parent; // the complex block this block is a component of, else null
    vsip_scalar_f* data;
    std::int32_t kind;
    std::int32_t admitted;
    vsip_stride element_stride; // scalars between consecutive elements
    vsip_length length;
    std::int32_t reserved;
    std::uint32_t tag;
    std::int32_t hint;
};

struct vsip_cblock_f_s {
    vsip_block_f* real;
    vsip_block_f* imag;
    std::int32_t kind;
    std::int32_t admitted;
    vsip_stride element_stride; // split_stride or interleaved_stride
    vsip_length length;
    std::int32_t reserved;
    std::uint32_t tag;
    std::int32_t hint;
};

struct vsip_block_i_s : qvsip::integer_block_record<vsip_scalar_i> {};
struct vsip_block_bl_s : qvsip::integer_block_record<vsip_scalar_bl> {};
struct vsip_vview_f_s : qvsip::vector_view_record<vsip_block_f> {};
struct vsip_vview_i_s : qvsip::vector_view_record<vsip_block_i> {};
struct vsip_vview_bl_s : qvsip::vector_view_record<vsip_block_bl> {};
struct vsip_cvview_f_s : qvsip::vector_view_record<vsip_cblock_f> {};
struct vsip_mview_f_s : qvsip::matrix_view_record<vsip_block_f> {};
struct vsip_cmview_f_s : qvsip::matrix_view_record<vsip_cblock_f> {};

namespace qvsip {

// A real view resolved to raw memory: element i is start[i * stride].
struct real_vector {
    vsip_scalar_f* start;
    std::ptrdiff_t stride; // in scalars
    vsip_length length;
};

// A complex view resolved to raw memory: element i is (re[i * stride], im[i * stride]).
struct complex_vector {
    vsip_scalar_f* re;
    vsip_scalar_f* im;
    std::ptrdiff_t stride;         // in scalars
    std::ptrdiff_t element_stride; // interleaved_stride: re and im alternate in one array
    vsip_length length;
};

// Integer and boolean views: element i is start[i * stride].
template <class Scalar> struct integer_vector {
    Scalar* start;
    std::ptrdiff_t stride;
    vsip_length length;
};

// Matrices: element (r, c) is start[r * col_stride + c * row_stride].
struct real_matrix {
    vsip_scalar_f* start;
    std::ptrdiff_t row_stride, col_stride; // in scalars
    vsip_length row_length, col_length;
};

struct complex_matrix {
    vsip_scalar_f* re;
    vsip_scalar_f* im;
    std::ptrdiff_t row_stride, col_stride; // in scalars
    std::ptrdiff_t element_stride;
    vsip_length row_length, col_length;
};

// Interleaved complex storage: re and im alternate in one array.
template <class Complex> bool interleaved(const Complex& v) {
    return v.element_stride == interleaved_stride;
}

// Interleaved with consecutive elements adjacent: one contiguous array of (re, im) pairs.
inline bool dense_interleaved(const complex_vector& v) {
    return interleaved(v) && v.stride == interleaved_stride;
}

inline std::ptrdiff_t scaled(vsip_offset offset, vsip_stride element_stride) {
    return static_cast<std::ptrdiff_t>(offset) * element_stride;
}

inline real_vector resolve(const vsip_vview_f& view) {
    const vsip_block_f& block = *view.block;
    return {block.data + scaled(view.offset, block.element_stride),
            view.stride * block.element_stride, view.length};
}

inline complex_vector resolve(const vsip_cvview_f& view) {
    const vsip_cblock_f& block = *view.block;
    const std::ptrdiff_t first = scaled(view.offset, block.element_stride);
    return {block.real->data + first, block.imag->data + first, view.stride * block.element_stride,
            block.element_stride, view.length};
}

template <class View> auto resolve_integer(const View& view) {
    using Scalar = typename View::block_type::scalar_type;
    return integer_vector<Scalar>{view.block->data + view.offset, view.stride, view.length};
}
inline integer_vector<vsip_scalar_i> resolve(const vsip_vview_i& view) {
    return resolve_integer(view);
}
inline integer_vector<vsip_scalar_bl> resolve(const vsip_vview_bl& view) {
    return resolve_integer(view);
}

inline real_matrix resolve(const vsip_mview_f& view) {
    const vsip_block_f& block = *view.block;
    return {block.data + scaled(view.offset, block.element_stride),
            view.row_stride * block.element_stride, view.col_stride * block.element_stride,
            view.row_length, view.col_length};
}

inline complex_matrix resolve(const vsip_cmview_f& view) {
    const vsip_cblock_f& block = *view.block;
    const std::ptrdiff_t first = scaled(view.offset, block.element_stride);
    return {block.real->data + first,
            block.imag->data + first,
            view.row_stride * block.element_stride,
            view.col_stride * block.element_stride,
            block.element_stride,
            view.row_length,
            view.col_length};
}

} // namespace qvsip
