// Whether every element a view reaches lies inside its block: the check of every bind, derived
// view and attribute put.
#pragma once

#include "qvsip.h"

#include <initializer_list>

namespace qvsip {

// One dimension of a view: count elements, stride block elements apart.
struct view_extent {
    vsip_length count;
    vsip_stride stride;
};

// True when every element lies in [0, block_length). An empty view reaches nothing, but its
// offset must still not pass the end, so that its start address is inside or just past the
// array.
bool fits_block(vsip_length block_length, vsip_offset offset,
                std::initializer_list<view_extent> extents);

} // namespace qvsip
