// Largest and smallest value and smallest magnitude of a real vector, with the lowest index at
// which it occurs. NaN elements never compare better, so they never win.
#include "vsip/reductions/chunked.hpp"
#include "vsip/reductions/reductions.hpp"

#include <cmath>

namespace qvsip::reductions {
namespace {

struct best_element {
    float value = 0.0f;
    vsip_index index = 0;
    bool found = false;
};

struct greater_value {
    static float key(float x) { return x; }
    static bool better(float x, float than) { return x > than; }
};
struct smaller_value {
    static float key(float x) { return x; }
    static bool better(float x, float than) { return x < than; }
};
struct smaller_magnitude {
    static float key(float x) { return std::fabs(x); }
    static bool better(float x, float than) { return x < than; }
};

// Strictly better replaces, so the earliest occurrence within a chunk stays; across chunks an
// equal value keeps the lower index.
template <class Order> best_element merge(best_element total, best_element partial) {
    if (!partial.found) return total;
    if (!total.found || Order::better(partial.value, total.value) ||
        (partial.value == total.value && partial.index < total.index))
        return partial;
    return total;
}

template <class Order>
best_element scan(const real_vector& a, std::uint64_t first, std::uint64_t last) {
    best_element best;
    for (std::uint64_t i = first; i < last; ++i) {
        const float x = Order::key(a.start[static_cast<std::ptrdiff_t>(i) * a.stride]);
        if (std::isnan(x)) continue;
        if (!best.found || Order::better(x, best.value)) best = {x, i, true};
    }
    return best;
}

// NaN for a null or empty view and when every element is NaN; *index, when index is not null,
// is written only with a result.
template <class Order> vsip_scalar_f extremum(const vsip_vview_f* view, vsip_index* index) {
    if (view == nullptr || view->block == nullptr || view->block->data == nullptr ||
        view->length == 0)
        return quiet_nan;
    const real_vector a = resolve(*view);
    const best_element best = reduce_in_chunks<best_element>(
        current_setting().threads, a.length,
        [&](std::uint64_t first, std::uint64_t last) { return scan<Order>(a, first, last); },
        merge<Order>);
    if (!best.found) return quiet_nan;
    if (index != nullptr) *index = best.index;
    return best.value;
}

} // namespace
} // namespace qvsip::reductions

using namespace qvsip::reductions;

vsip_scalar_f vsip_vmaxval_f(const vsip_vview_f* a, vsip_index* index) {
    return extremum<greater_value>(a, index);
}

vsip_scalar_f vsip_vminval_f(const vsip_vview_f* a, vsip_index* index) {
    return extremum<smaller_value>(a, index);
}

vsip_scalar_f vsip_vminmgval_f(const vsip_vview_f* a, vsip_index* index) {
    return extremum<smaller_magnitude>(a, index);
}
