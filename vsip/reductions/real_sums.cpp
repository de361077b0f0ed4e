// Dot product and sum of squares of real vectors, accumulated in double: four running sums per
// chunk, so that the products of consecutive elements do not wait on one another.
#include "vsip/reductions/chunked.hpp"
#include "vsip/reductions/reductions.hpp"

#include <algorithm>

namespace qvsip::reductions {
namespace {

struct sum {
    double value = 0.0;
};

sum merge_sums(sum total, sum partial) {
    return {total.value + partial.value};
}

// Sum of a[i] b[i] over [first, last) in four interleaved sums, added pairwise.
sum products(const real_vector& a, const real_vector& b, std::uint64_t first, std::uint64_t last) {
    double s[4] = {0.0, 0.0, 0.0, 0.0};
    auto term = [&](std::uint64_t i) {
        const auto k = static_cast<std::ptrdiff_t>(i);
        return double(a.start[k * a.stride]) * double(b.start[k * b.stride]);
    };
    std::uint64_t i = first;
    for (; i + 4 <= last; i += 4)
        for (std::uint64_t j = 0; j < 4; ++j)
            s[j] += term(i + j);
    for (; i < last; ++i)
        s[0] += term(i);
    return {(s[0] + s[1]) + (s[2] + s[3])};
}

bool usable(const vsip_vview_f* v) {
    return v != nullptr && v->block != nullptr && v->block->data != nullptr;
}

// NaN for a null view; 0 for no elements.
float dot_of(const vsip_vview_f* x, const vsip_vview_f* y) {
    if (!usable(x) || !usable(y)) return quiet_nan;
    const real_vector a = resolve(*x), b = resolve(*y);
    const std::uint64_t n = std::min(a.length, b.length);
    if (n == 0) return 0.0f;
    const sum total = reduce_in_chunks<sum>(
        current_setting().threads, n,
        [&](std::uint64_t first, std::uint64_t last) { return products(a, b, first, last); },
        merge_sums);
    return static_cast<float>(total.value);
}

} // namespace
} // namespace qvsip::reductions

vsip_scalar_f vsip_vdot_f(const vsip_vview_f* a, const vsip_vview_f* b) {
    return qvsip::reductions::dot_of(a, b);
}

vsip_scalar_f vsip_vsumsqval_f(const vsip_vview_f* a) {
    return qvsip::reductions::dot_of(a, a);
}
