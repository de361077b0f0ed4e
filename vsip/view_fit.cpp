// The block-fit check of view attributes, in 64-bit arithmetic with overflow checks.
#include "vsip/view_fit.hpp"

#include <cstdint>
#include <limits>

namespace qvsip {
namespace {

// Lowest and highest block element a view reaches.
struct reach {
    std::int64_t low, high;
};

// Widens r by the span of one non-empty extent; false when the span overflows.
bool widen(reach& r, view_extent extent) {
    const vsip_length steps = extent.count - 1;
    if (extent.stride == 0) return true;
    std::int64_t span = 0;
    if (steps > static_cast<vsip_length>(std::numeric_limits<std::int64_t>::max()) ||
        __builtin_mul_overflow(static_cast<std::int64_t>(steps), extent.stride, &span))
        return false;
    std::int64_t& end = span < 0 ? r.low : r.high;
    return !__builtin_add_overflow(end, span, &end);
}

} // namespace

bool fits_block(vsip_length block_length, vsip_offset offset,
                std::initializer_list<view_extent> extents) {
    if (offset > block_length) return false;
    for (const view_extent& extent : extents)
        if (extent.count == 0) return true;
    // offset <= block length, which is below PTRDIFF_MAX
    reach r{static_cast<std::int64_t>(offset), static_cast<std::int64_t>(offset)};
    for (const view_extent& extent : extents)
        if (!widen(r, extent)) return false;
    return r.low >= 0 && static_cast<vsip_length>(r.high) < block_length;
}

} // namespace qvsip
