// Release, rebind and find of blocks bound to user arrays. A block the library created, a
// component of a complex block and a null block have no user array: release and find hand out
// null, and rebind refuses them, as it refuses an admitted block and a null array.
#include "vsip/support.hpp"

namespace qvsip {
namespace {

template <class Block> bool has_user_array(const Block* block) {
    return block != nullptr && block->kind == bound_to_user && block->reserved != library_storage;
}

template <class Block> bool rebindable(const Block* block) {
    return has_user_array(block) && block->admitted == 0;
}

template <class Block> auto release(Block* block) -> decltype(block->data) {
    if (!has_user_array(block)) return nullptr;
    block->admitted = 0;
    return block->data;
}

vsip_scalar_f* rebind(vsip_block_f* block, vsip_scalar_f* data) {
    if (!rebindable(block) || data == nullptr) return nullptr;
    vsip_scalar_f* previous = block->data;
    block->data = data;
    return previous;
}

// The user arrays of a complex block: the pairs and null when interleaved, else both parts.
struct complex_arrays {
    vsip_scalar_f* first;
    vsip_scalar_f* second;
};

complex_arrays arrays_of(const vsip_cblock_f* block) {
    if (!has_user_array(block)) return {nullptr, nullptr};
    if (block->element_stride == interleaved_stride) return {block->real->data, nullptr};
    return {block->real->data, block->imag->data};
}

void hand_out(complex_arrays arrays, vsip_scalar_f** first, vsip_scalar_f** second) {
    if (first != nullptr) *first = arrays.first;
    if (second != nullptr) *second = arrays.second;
}

void set_storage(vsip_block_f& part, vsip_scalar_f* data, vsip_stride element_stride) {
    part.data = data;
    part.element_stride = element_stride;
}

// New arrays in either storage (second null: interleaved); the old ones are handed back.
complex_arrays rebind(vsip_cblock_f* block, complex_arrays arrays) {
    const vsip_stride element_stride = arrays.second == nullptr ? interleaved_stride : split_stride;
    if (!rebindable(block) || arrays.first == nullptr ||
        block->length > max_block_length<vsip_scalar_f>(element_stride))
        return {nullptr, nullptr};
    const complex_arrays previous = arrays_of(block);
    const bool split = element_stride == split_stride;
    block->element_stride = element_stride;
    set_storage(*block->real, arrays.first, element_stride);
    set_storage(*block->imag, split ? arrays.second : arrays.first + 1, element_stride);
    return previous;
}

} // namespace
} // namespace qvsip

using namespace qvsip;

vsip_scalar_f* vsip_blockrelease_f(vsip_block_f* block, vsip_scalar_bl) {
    return release(block);
}
vsip_scalar_i* vsip_blockrelease_i(vsip_block_i* block, vsip_scalar_bl) {
    return release(block);
}
vsip_scalar_bl* vsip_blockrelease_bl(vsip_block_bl* block, vsip_scalar_bl) {
    return release(block);
}
void vsip_cblockrelease_f(vsip_cblock_f* block, vsip_scalar_bl, vsip_scalar_f** data1,
                          vsip_scalar_f** data2) {
    hand_out(arrays_of(block), data1, data2);
    if (has_user_array(block)) block->admitted = 0;
}

vsip_scalar_f* vsip_blockrebind_f(vsip_block_f* block, vsip_scalar_f* data) {
    return rebind(block, data);
}
void vsip_cblockrebind_f(vsip_cblock_f* block, vsip_scalar_f* data1, vsip_scalar_f* data2,
                         vsip_scalar_f** old_data1, vsip_scalar_f** old_data2) {
    hand_out(rebind(block, {data1, data2}), old_data1, old_data2);
}

vsip_scalar_f* vsip_blockfind_f(const vsip_block_f* block) {
    return has_user_array(block) ? block->data : nullptr;
}
void vsip_cblockfind_f(const vsip_cblock_f* block, vsip_scalar_f** data1, vsip_scalar_f** data2) {
    hand_out(arrays_of(block), data1, data2);
}
