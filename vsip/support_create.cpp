// Blocks whose storage the library allocates, and the views the creates make over them. The
// storage follows the block record in the same allocation, so the existing destroys free both.
#include "vsip/support.hpp"

#include "vsip/record.hpp"

#include <new>

namespace qvsip {
namespace {

// Storage starts on the first record-aligned byte after the block record.
template <class Block> constexpr std::size_t storage_start() {
    return (sizeof(Block) + record_alignment - 1) / record_alignment * record_alignment;
}

// A zeroed block record followed by room for scalars scalars, or null.
template <class Block, class Scalar> Block* new_block_with_storage(vsip_length scalars) {
    void* bytes = allocate_record_bytes(storage_start<Block>() + scalars * sizeof(Scalar));
    return bytes == nullptr ? nullptr : new (bytes) Block{};
}

template <class Scalar, class Block> Scalar* storage_of(Block* block) {
    return reinterpret_cast<Scalar*>(reinterpret_cast<unsigned char*>(block) +
                                     storage_start<Block>());
}

// Created blocks take the user kind, so that admitting them succeeds; they start admitted.
template <class Block> void mark_created(Block& block, vsip_length length, vsip_memory_hint hint) {
    block.kind = bound_to_user;
    block.admitted = 1;
    block.length = length;
    block.reserved = library_storage;
    block.tag = live_tag;
    block.hint = static_cast<std::int32_t>(hint);
}

template <class Block, class Scalar = typename Block::scalar_type>
Block* create_plain(vsip_length length, vsip_memory_hint hint) {
    if (length > max_block_length<Scalar>()) return nullptr;
    Block* block = new_block_with_storage<Block, Scalar>(length);
    if (block == nullptr) return nullptr;
    mark_created(*block, length, hint);
    block->data = storage_of<Scalar>(block);
    return block;
}

vsip_block_f* create_real(vsip_length length, vsip_memory_hint hint) {
    vsip_block_f* block = create_plain<vsip_block_f, vsip_scalar_f>(length, hint);
    if (block != nullptr) block->element_stride = contiguous_stride;
    return block;
}

// A component over the owner's interleaved storage, first scalar at data.
vsip_block_f* new_component(vsip_cblock_f& owner, vsip_scalar_f* data) {
    vsip_block_f* part = new_record<vsip_block_f>();
    if (part == nullptr) return nullptr;
    part->parent = &owner;
    part->data = data;
    part->kind = complex_component;
    part->element_stride = interleaved_stride;
    part->length = owner.length;
    part->tag = live_tag;
    part->hint = owner.hint;
    return part;
}

// Created complex blocks keep their values interleaved.
vsip_cblock_f* create_complex(vsip_length length, vsip_memory_hint hint) {
    if (length > max_block_length<vsip_scalar_f>(interleaved_stride)) return nullptr;
    vsip_cblock_f* block =
        new_block_with_storage<vsip_cblock_f, vsip_scalar_f>(length * interleaved_stride);
    if (block == nullptr) return nullptr;
    mark_created(*block, length, hint);
    block->element_stride = interleaved_stride;
    vsip_scalar_f* pairs = storage_of<vsip_scalar_f>(block);
    block->real = new_component(*block, pairs);
    block->imag = new_component(*block, pairs + 1);
    if (block->real != nullptr && block->imag != nullptr) return block;
    release_record(block->real);
    release_record(block->imag);
    release_record(block);
    return nullptr;
}

// The block the create made goes when the view cannot be made.
template <class View, class Block, class Bind>
View* view_over(Block* block, Bind bind, void (*destroy)(Block*)) {
    if (block == nullptr) return nullptr;
    View* view = bind(block);
    if (view == nullptr) destroy(block);
    return view;
}

// Row-major: consecutive elements of a row are adjacent; column-major (any other major):
// consecutive elements of a column are.
struct matrix_layout {
    vsip_stride col_stride, row_stride;
};
matrix_layout layout(vsip_length rows, vsip_length columns, vsip_major major) {
    if (major == VSIP_ROW) return {static_cast<vsip_stride>(columns), contiguous_stride};
    return {contiguous_stride, static_cast<vsip_stride>(rows)};
}

bool element_count(vsip_length rows, vsip_length columns, vsip_length& count) {
    return !__builtin_mul_overflow(rows, columns, &count);
}

} // namespace
} // namespace qvsip

using namespace qvsip;

vsip_block_f* vsip_blockcreate_f(vsip_length N, vsip_memory_hint hint) {
    return create_real(N, hint);
}
vsip_block_i* vsip_blockcreate_i(vsip_length N, vsip_memory_hint hint) {
    return create_plain<vsip_block_i>(N, hint);
}
vsip_block_bl* vsip_blockcreate_bl(vsip_length N, vsip_memory_hint hint) {
    return create_plain<vsip_block_bl>(N, hint);
}
vsip_cblock_f* vsip_cblockcreate_f(vsip_length N, vsip_memory_hint hint) {
    return create_complex(N, hint);
}

vsip_vview_f* vsip_vcreate_f(vsip_length N, vsip_memory_hint hint) {
    return view_over<vsip_vview_f>(
        vsip_blockcreate_f(N, hint), [N](vsip_block_f* b) { return vsip_vbind_f(b, 0, 1, N); },
        vsip_blockdestroy_f);
}
vsip_vview_i* vsip_vcreate_i(vsip_length N, vsip_memory_hint hint) {
    return view_over<vsip_vview_i>(
        vsip_blockcreate_i(N, hint), [N](vsip_block_i* b) { return vsip_vbind_i(b, 0, 1, N); },
        vsip_blockdestroy_i);
}
vsip_vview_bl* vsip_vcreate_bl(vsip_length N, vsip_memory_hint hint) {
    return view_over<vsip_vview_bl>(
        vsip_blockcreate_bl(N, hint), [N](vsip_block_bl* b) { return vsip_vbind_bl(b, 0, 1, N); },
        vsip_blockdestroy_bl);
}
vsip_cvview_f* vsip_cvcreate_f(vsip_length N, vsip_memory_hint hint) {
    return view_over<vsip_cvview_f>(
        vsip_cblockcreate_f(N, hint), [N](vsip_cblock_f* b) { return vsip_cvbind_f(b, 0, 1, N); },
        vsip_cblockdestroy_f);
}

vsip_mview_f* vsip_mcreate_f(vsip_length M, vsip_length N, vsip_major major,
                             vsip_memory_hint hint) {
    vsip_length count = 0;
    if (!element_count(M, N, count)) return nullptr;
    const matrix_layout s = layout(M, N, major);
    return view_over<vsip_mview_f>(
        vsip_blockcreate_f(count, hint),
        [=](vsip_block_f* b) { return vsip_mbind_f(b, 0, s.col_stride, M, s.row_stride, N); },
        vsip_blockdestroy_f);
}
vsip_cmview_f* vsip_cmcreate_f(vsip_length M, vsip_length N, vsip_major major,
                               vsip_memory_hint hint) {
    vsip_length count = 0;
    if (!element_count(M, N, count)) return nullptr;
    const matrix_layout s = layout(M, N, major);
    return view_over<vsip_cmview_f>(
        vsip_cblockcreate_f(count, hint),
        [=](vsip_cblock_f* b) { return vsip_cmbind_f(b, 0, s.col_stride, M, s.row_stride, N); },
        vsip_cblockdestroy_f);
}
