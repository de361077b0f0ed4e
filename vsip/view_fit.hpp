// Whether view attributes keep every element a view reaches inside its block: the check the
// attribute puts apply before they change a view.
#pragma once

#include "qvsip.h"

#include <initializer_list>

namespace qvsip {

// One dimension of a view: count elements, stride block elements apart.
struct view_extent {
    vsip_length count;
    vsip_stride stride;
};

// True when every element lies in [0, block_length); an empty view fits when its offset does
// not pass the end of the block.
bool fits_block(vsip_length block_length, vsip_offset offset,
                std::initializer_list<view_extent> extents);

} // namespace qvsip
