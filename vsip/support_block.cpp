// Binding, admission and destruction of real, integer, boolean and complex blocks.
#include "vsip/support.hpp"

#include "vsip/record.hpp"

namespace qvsip {
namespace {

constexpr int admit_succeeded = 0;
constexpr int not_admissible = 1;

// Fields every freshly bound block shares.
template <class Block> void mark_bound(Block& block, vsip_length length, vsip_memory_hint hint) {
    block.kind = bound_to_user;
    block.admitted = 0;
    block.length = length;
    block.reserved = 0;
    block.tag = live_tag;
    block.hint = static_cast<std::int32_t>(hint);
}

template <class Block, class Scalar>
Block* bind_plain(Scalar* data, vsip_length length, vsip_memory_hint hint) {
    if (data == nullptr || length > max_block_length<Scalar>()) return nullptr;
    Block* block = new_record<Block>();
    if (block == nullptr) return nullptr;
    mark_bound(*block, length, hint);
    block->data = data;
    return block;
}

vsip_block_f* bind_real(vsip_scalar_f* data, vsip_length length, vsip_memory_hint hint) {
    vsip_block_f* block = bind_plain<vsip_block_f>(data, length, hint);
    if (block != nullptr) block->element_stride = contiguous_stride;
    return block;
}

void make_component(vsip_block_f& part, vsip_cblock_f& owner, vsip_stride element_stride) {
    part.parent = &owner;
    part.kind = complex_component;
    part.element_stride = element_stride;
}

// Two real blocks over separate arrays; false (with nothing left allocated) on failure.
bool bind_split_parts(vsip_cblock_f& block, vsip_scalar_f* re, vsip_scalar_f* im,
                      vsip_memory_hint hint) {
    vsip_block_f* real = bind_real(re, block.length, hint);
    vsip_block_f* imag = bind_real(im, block.length, hint);
    if (real == nullptr || imag == nullptr) {
        release_record(real);
        release_record(imag);
        return false;
    }
    make_component(*real, block, split_stride);
    make_component(*imag, block, split_stride);
    block.real = real;
    block.imag = imag;
    return true;
}

// Both parts over one array of (real, imaginary) pairs: the imaginary part is the real part
// shifted by one scalar.
bool bind_interleaved_parts(vsip_cblock_f& block, vsip_scalar_f* pairs, vsip_memory_hint hint) {
    vsip_block_f* real = bind_real(pairs, block.length, hint);
    if (real == nullptr) return false;
    vsip_block_f* imag = new_record<vsip_block_f>();
    if (imag == nullptr) {
        release_record(real);
        return false;
    }
    make_component(*real, block, interleaved_stride);
    *imag = *real;
    imag->data = pairs + 1;
    block.real = real;
    block.imag = imag;
    return true;
}

vsip_cblock_f* bind_complex(vsip_scalar_f* first, vsip_scalar_f* second, vsip_length length,
                            vsip_memory_hint hint) {
    const vsip_stride element_stride = second == nullptr ? interleaved_stride : split_stride;
    if (first == nullptr || length > max_block_length<vsip_scalar_f>(element_stride))
        return nullptr;
    vsip_cblock_f* block = new_record<vsip_cblock_f>();
    if (block == nullptr) return nullptr;
    mark_bound(*block, length, hint);
    block->element_stride = element_stride;
    const bool bound = second == nullptr ? bind_interleaved_parts(*block, first, hint)
                                         : bind_split_parts(*block, first, second, hint);
    if (bound) return block;
    release_record(block);
    return nullptr;
}

// Only a block bound to user data may be admitted; a component goes with its complex block.
template <class Block> int admit(Block* block) {
    if (block == nullptr) return admit_succeeded;
    if (block->kind != bound_to_user) return not_admissible;
    block->admitted = 1;
    return admit_succeeded;
}

template <class Block> int admit_with_data(Block* block) {
    if (block != nullptr && block->data == nullptr) return not_admissible;
    return admit(block);
}

template <class Block> void destroy_block(Block* block) {
    if (block == nullptr || block->kind == complex_component) return;
    retire_record(block);
}

// A complex block takes its two components with it.
void destroy_block(vsip_cblock_f* block) {
    if (block == nullptr) return;
    block->real->tag = released_tag;
    block->imag->tag = released_tag;
    block->tag = released_tag;
    release_record(block->real);
    release_record(block->imag);
    release_record(block);
}

} // namespace
} // namespace qvsip

using namespace qvsip;

vsip_block_f* vsip_blockbind_f(vsip_scalar_f* data, vsip_length N, vsip_memory_hint hint) {
    return bind_real(data, N, hint);
}
vsip_block_i* vsip_blockbind_i(vsip_scalar_i* data, vsip_length N, vsip_memory_hint hint) {
    return bind_plain<vsip_block_i>(data, N, hint);
}
vsip_block_bl* vsip_blockbind_bl(vsip_scalar_bl* data, vsip_length N, vsip_memory_hint hint) {
    return bind_plain<vsip_block_bl>(data, N, hint);
}
vsip_cblock_f* vsip_cblockbind_f(vsip_scalar_f* data1, vsip_scalar_f* data2, vsip_length N,
                                 vsip_memory_hint hint) {
    return bind_complex(data1, data2, N, hint);
}

int vsip_blockadmit_f(vsip_block_f* block, vsip_scalar_bl) {
    return admit_with_data(block);
}
int vsip_blockadmit_i(vsip_block_i* block, vsip_scalar_bl) {
    return admit_with_data(block);
}
int vsip_blockadmit_bl(vsip_block_bl* block, vsip_scalar_bl) {
    return admit_with_data(block);
}
int vsip_cblockadmit_f(vsip_cblock_f* block, vsip_scalar_bl) {
    return admit(block);
}

void vsip_blockdestroy_f(vsip_block_f* block) {
    destroy_block(block);
}
void vsip_blockdestroy_i(vsip_block_i* block) {
    destroy_block(block);
}
void vsip_blockdestroy_bl(vsip_block_bl* block) {
    destroy_block(block);
}
void vsip_cblockdestroy_f(vsip_cblock_f* block) {
    destroy_block(block);
}
